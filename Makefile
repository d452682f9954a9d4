# The README's commands. `make test` builds all four presets and runs every test.
PRESETS := linux linux-asan windows-x64 windows-x86

.PHONY: all bootstrap build test test-linux test-asan test-windows run screenshots clean

all: build

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@for preset in $(PRESETS); do \
	    cmake --preset $$preset >/dev/null && cmake --build --preset $$preset || exit 1; \
	done

test: build
	ctest --preset linux
	ctest --preset linux-asan
	ctest --test-dir build/windows-x86 -L exe-check --output-on-failure
	scripts/test-windows build/windows-x64

clean:
	rm -rf build
