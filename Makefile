# make run   builds qmx.exe and starts it under Wine
# make test  builds everything and runs the unit and end-to-end tests
.PHONY: run test bench deps native windows clean

run: windows
	tools/run.sh

test: native windows
	tools/test-all.sh

# CPU time of the idle program under Wine beside a program with the same timers.
bench: windows
	tools/benchmark.sh

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
