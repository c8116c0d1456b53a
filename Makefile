# Thin entry points over the CMake presets. See README.md.
.PHONY: all dist native windows test run bench fuzz format clean

all: dist

deps:
	@scripts/install-deps.sh

windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows

native:
	cmake --preset native >/dev/null
	cmake --build --preset native

# dist/Orvanel.scr and dist/Orvanel.dll, ready to copy to a Windows machine.
dist: windows
	mkdir -p dist
	cp build/windows/dist/* dist/

test:
	@scripts/test.sh

run:
	@scripts/run.sh

bench:
	@scripts/bench.sh

fuzz:
	@scripts/fuzz.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build dist out
