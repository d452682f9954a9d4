# The README's commands. `make test` builds every preset and runs every test.
PRESETS := linux linux-asan windows-x64 windows-x86 fuzz

.PHONY: all bootstrap build test check soak run bench fuzz package screenshots clean

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
	ctest --preset fuzz
	ctest --test-dir build/windows-x86 -L exe-check --output-on-failure
	scripts/test-windows build/windows-x64 -LE soak

# The everyday loop: the Linux build's core, Qt and D-Bus tests.
check: bootstrap
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux
	ctest --test-dir build/linux --output-on-failure -LE "e2e|package|soak"

# The real programs left running for minutes: memory and GUI objects must stay flat.
soak: bootstrap
	@for preset in linux windows-x64; do \
	    cmake --preset $$preset >/dev/null && cmake --build --preset $$preset || exit 1; \
	done
	ctest --test-dir build/linux -L soak --output-on-failure
	scripts/test-windows build/windows-x64 -L soak

# The display is checked first: without one there is nothing to start, so nothing is built.
run:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "make run: no display (DISPLAY and WAYLAND_DISPLAY are unset); start Tolvane from a desktop session" >&2; \
	    exit 1; \
	fi
	@scripts/bootstrap
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux --target tolvane
	build/linux/src/platform/qt/tolvane

# Speed of the core's per-tick and start-up work, then the whole programs beside a minimal
# Qt program, and the Windows executables' sizes (`make bench BENCH_ARGS=--quick` for short).
bench: bootstrap
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux --target tolvane_core_bench tolvane tolvane_baseline
	build/linux/bench/tolvane_core_bench
	@for preset in windows-x86 windows-x64; do \
	    cmake --preset $$preset >/dev/null && cmake --build --preset $$preset --target Tolvane || exit 1; \
	done
	bench/whole_program.py $(BENCH_ARGS)

# Each fuzz target for a minute (`make test` gives them a few seconds each).
fuzz: bootstrap
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	TOLVANE_FUZZ_SECONDS=60 ctest --preset fuzz

# The .deb and one .zip per Windows architecture, gathered in build/packages.
package: bootstrap
	@mkdir -p build/packages
	@for preset in linux windows-x64 windows-x86; do \
	    cmake --preset $$preset >/dev/null && cmake --build --preset $$preset || exit 1; \
	    cpack --config build/$$preset/CPackConfig.cmake -B build/packages || exit 1; \
	done
	@rm -rf build/packages/_CPack_Packages
	@ls -l build/packages

# Both windows, heading and live uptime shown, rendered under Xvfb (the Windows one
# through wine64) into build/screenshots.
screenshots: bootstrap
	@scripts/screenshots

clean:
	rm -rf build
