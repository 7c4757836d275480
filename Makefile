# make run   builds qmx.exe and starts it under Wine, as on Windows 10 with a simulated audio
#            system; make run MODE=windows7 (Wine's own audio) or MODE=xp (the legacy mixer)
# make test  builds everything and runs the unit and end-to-end tests
.PHONY: run test bench soak deps native windows clean

MODE ?= windows10

run: windows
	tools/run.sh $(MODE)

test: native windows
	tools/test-all.sh

# qmx.exe against its floor (a program doing only the prescribed work) under Wine, the x64 program
# on 64-bit Windows and the x86 one on 32-bit Windows.
bench: windows
	tools/benchmark.sh
	BENCH_BUILD=build/windows/x86 tools/benchmark.sh

# The release soak: open/close cycles, a pointer storm, odd settings, the tray's end (up to an
# hour; make test runs a short version).
soak: windows
	tests/soak/soak.sh

deps:
	tools/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

# A signed release: make QMX_SIGN_PKCS12=FILE QMX_SIGN_PASSWORD_FILE=FILE [QMX_SIGN_TIMESTAMP_URL=URL]
# (or the same in the environment); without them the build signs nothing (see the README).
absolute = $(if $(1),$(if $(filter /%,$(1)),$(1),$(CURDIR)/$(1)))
SIGNING = -DQMX_SIGN_PKCS12="$(call absolute,$(QMX_SIGN_PKCS12))" \
	-DQMX_SIGN_PASSWORD_FILE="$(call absolute,$(QMX_SIGN_PASSWORD_FILE))" \
	-DQMX_SIGN_TIMESTAMP_URL="$(QMX_SIGN_TIMESTAMP_URL)"

# qmx.exe for 64-bit Windows (build/windows), the one for 32-bit Windows (build/windows/x86), the
# installer and the portable zip with both, and the test programs.
windows: deps
	cmake --preset windows $(SIGNING) >/dev/null
	cmake --build --preset windows

clean:
	rm -rf build
