# make run   builds qmx.exe and starts it under Wine, as on Windows 10 with a simulated audio
#            system; make run MODE=windows7 (Wine's own audio) or MODE=xp (the legacy mixer)
# make test  builds everything and runs the unit and end-to-end tests
.PHONY: run test bench soak deps native windows clean

MODE ?= windows10

run: windows
	tools/run.sh $(MODE)

test: native windows
	tools/test-all.sh

# qmx.exe against its floor (a program doing only the prescribed work) under Wine.
bench: windows
	tools/benchmark.sh

# The release soak: open/close cycles, a pointer storm, odd settings, the tray's end (up to an
# hour; make test runs a short version).
soak: windows
	tests/soak/soak.sh

deps:
	tools/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows

clean:
	rm -rf build
