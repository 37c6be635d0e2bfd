# The front door. Every target first makes sure the packages it needs are
# installed (tools/ensure-deps), so a fresh Debian/Ubuntu machine needs nothing else.

WINDOWS_BUILD := build/windows-i686
NATIVE_BUILD := build/native
EXE := $(WINDOWS_BUILD)/window/Taliven.exe
JOBS ?= $(shell nproc)

.PHONY: all release dist windows-tests test test-native test-windows test-windows-64bit build-64bit run screenshots bench artwork format tidy deps clean

all: release

deps:
	@tools/ensure-deps

release: deps
	@cmake --preset windows-i686 >/dev/null
	@cmake --build --preset windows-i686 -j $(JOBS)
	@echo "Built $(abspath $(EXE))"

# The release zip and its checksum, in build/dist.
dist: release
	@cmake --build --preset windows-i686 --target dist

test: test-native test-windows

test-native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)
	@ctest --preset native

# The folder of Windows test programs the Windows workflow uploads and runs
# on Windows: build/windows-i686/windows-tests, with the release zip.
windows-tests: release
	@cmake --build --preset windows-i686 -j $(JOBS) --target windows_tests

# The Windows tests, from a copy of that folder, as the workflow runs them
# (tools/run-windows-tests). Where Linux runs no 32-bit program (its
# ia32_emulation switched off), the 32-bit folder's file checks run, and the
# 64-bit build of the same sources runs the programs.
test-windows: windows-tests
	@if tools/wine-run --runs-32-bit; then \
		tools/with-display tools/run-windows-tests $(WINDOWS_BUILD); \
	else \
		echo "== This machine runs no 32-bit program: the 32-bit folder's file checks only"; \
		ctest --test-dir $(WINDOWS_BUILD)/windows-tests --no-tests=error --output-on-failure -L files && \
		$(MAKE) --no-print-directory test-windows-64bit; \
	fi

test-windows-64bit: build-64bit
	@cmake --build --preset windows-x86_64 -j $(JOBS) --target windows_tests
	@tools/with-display tools/run-windows-tests build/windows-x86_64

build-64bit: deps
	@cmake --preset windows-x86_64 >/dev/null
	@cmake --build --preset windows-x86_64 -j $(JOBS)

# The build Wine runs here: the 32-bit one, or where Linux runs no 32-bit
# program, the 64-bit one, built first.
RUNNABLE_BUILD = if tools/wine-run --runs-32-bit; then echo $(WINDOWS_BUILD); \
	else $(MAKE) --no-print-directory build-64bit >&2 && echo build/windows-x86_64; fi

run: release
	@exe=$$($(RUNNABLE_BUILD))/window/Taliven.exe && tools/with-display tools/run-taliven $$exe

# The README's pictures: the window at 96 and at 144 dpi, with Wine's own fonts.
screenshots: release
	@exe=$$($(RUNNABLE_BUILD))/window/Taliven.exe && \
	tools/with-display sh -c "tools/run-taliven $$exe && tools/run-taliven --dpi 144 $$exe"
	@cp build/taliven-window.png docs/taliven-window.png
	@cp build/taliven-window-144dpi.png docs/taliven-window-144dpi.png

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j $(JOBS) --target readout_bench
	@build/bench/bench/readout_bench
	@$(MAKE) --no-print-directory release
	@bench=$$($(RUNNABLE_BUILD))/bench/launch_bench.exe && tools/with-display tools/wine-run $$bench 41

# Redraws the shipped icon and emblem from resources/eye.svg and eye-icon.svg.
artwork: deps
	@tools/draw-artwork
	@echo "Redrew resources/emblem.bmp and resources/taliven.ico"

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

tidy: test-native
	@clang-tidy -p $(NATIVE_BUILD) --quiet $$(git ls-files 'readout/*.cpp') \
		window/form_definition.cpp window/slider_steps.cpp window/grey_image.cpp window/quantities.cpp

clean:
	@rm -rf build
