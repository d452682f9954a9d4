# The README's commands. `make test` builds every preset and runs every test.
PRESETS := linux linux-asan windows-x64 windows-x86 fuzz

# The five builds compile much the same sources: ccache (installed by the bootstrap) lets
# them, and later clones, share the work. Paths are taken relative to the clone.
ifneq ($(shell command -v ccache 2>/dev/null),)
export CMAKE_C_COMPILER_LAUNCHER ?= ccache
export CMAKE_CXX_COMPILER_LAUNCHER ?= ccache
export CCACHE_BASEDIR ?= $(CURDIR)
endif

.PHONY: all bootstrap build test check soak run deb release package bench fuzz format screenshots clean

all: build

# Everything the tests need; `make run`, `make deb` and `make release` ask for less.
bootstrap:
	@scripts/bootstrap test

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
	@$(MAKE) --no-print-directory release RELEASE_DIR=build/release-test
	tests/packaging/release_test.sh build/release-test

# The everyday loop: the Linux build's core, Qt and D-Bus tests, on formatted code; of the
# desktops' table only the restart rows, to stay within a minute (`make test` runs them all).
check: bootstrap
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux
	TOLVANE_LABELS=restart ctest --test-dir build/linux --output-on-failure -LE "e2e|package|soak"

format: bootstrap
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# The real programs left running for minutes: memory and GUI objects must stay flat.
soak: bootstrap
	@for preset in linux windows-x64; do \
	    cmake --preset $$preset >/dev/null && cmake --build --preset $$preset || exit 1; \
	done
	ctest --test-dir build/linux -L soak --output-on-failure
	scripts/test-windows build/windows-x64 -L soak

# The display is checked first: without one there is nothing to start, so nothing is built.
# The program alone, without its tests, so only the Linux build's packages are needed.
run:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "make run: no display (DISPLAY and WAYLAND_DISPLAY are unset); start Tolvane from a desktop session" >&2; \
	    exit 1; \
	fi
	@scripts/bootstrap run
	@cmake --preset app-linux >/dev/null
	@cmake --build --preset app-linux --target tolvane
	build/app-linux/src/platform/qt/tolvane

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

# The release files, built without the tests: the .deb alone in build/deb (`make deb`), or
# the .deb and one .zip per Windows architecture with their SHA256SUMS in build/release.
RELEASE_DIR := build/release
deb:
	@scripts/bootstrap deb
	@scripts/release build/deb app-linux

release:
	@scripts/bootstrap release
	@scripts/release $(RELEASE_DIR) app-linux app-windows-x64 app-windows-x86

package: release

# Both windows, heading and live uptime shown, rendered under Xvfb (the Windows one
# through wine64) into build/screenshots.
screenshots: bootstrap
	@scripts/screenshots

clean:
	rm -rf build
