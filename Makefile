# Thin front door; the builds are CMake, the Wine runs are scripts/.
BUILD ?= build
JOBS ?= $(shell nproc)
export BUILD

# The Wine flavour: 32 where this machine starts 32-bit programs, 64 where it cannot
# (scripts/wine-flavour.sh). PI_WINE_FLAVOUR=64 forces the 64-bit one anywhere. Asked
# only once Wine is installed: the targets that need it run a second make after deps.
FLAVOUR = $(shell PI_WINE_FLAVOUR=$(PI_WINE_FLAVOUR) bash scripts/wine-flavour.sh)
export PI_WINE_FLAVOUR

# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60

.PHONY: all deps build host host-asan win32 win32-tests win64 win64-tests wine-builds \
  wine-builds-32 wine-builds-64 test test-64 host-test wine-test demo screenshots bench format clean \
  fuzz fuzz-build fuzz-smoke release release-exe verify

all: build

deps:
	@bash scripts/deps.sh

host:
	cmake -S . -B $(BUILD)/host -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	ninja -C $(BUILD)/host -j $(JOBS)

host-asan:
	cmake -S . -B $(BUILD)/host-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPI_SANITIZE=ON >/dev/null
	ninja -C $(BUILD)/host-asan -j $(JOBS)

# The distribution check on a folder: make verify DIR=path [VERIFY_ARGS="--json --codepage=936"].
verify: host
	$(if $(DIR),,$(error make verify needs DIR=<distribution folder>))
	$(BUILD)/host/pi-verify "$(DIR)" $(VERIFY_ARGS)

# libFuzzer targets (fuzz/), clang with ASan and UBSan.
fuzz-build:
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DPI_FUZZ=ON >/dev/null
	ninja -C $(BUILD)/fuzz -j $(JOBS)

# Each target over its seeds and a fixed set of fuzzed inputs: a crash once found stays found.
fuzz-smoke: fuzz-build
	bash scripts/fuzz.sh smoke

fuzz: deps
	@$(MAKE) --no-print-directory fuzz-build
	bash scripts/fuzz.sh $(FUZZ_SECONDS)

WIN32_CONFIGURE = cmake -S . -B $(BUILD)/win32 -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null

win32:
	$(WIN32_CONFIGURE)
	ninja -C $(BUILD)/win32 -j $(JOBS)

# The release: the shipped exe and inst2k.dll from the win32 tree, inst2k64.dll and
# the 64-bit helper from the win64 tree, packed (and signed when SIGN_CERT and
# SIGN_KEY, or SIGN_PFX, are set) into $(BUILD)/release/PrinterInstaller-<version>.zip
# by scripts/release.sh.
# BRAND=folder: the exe with that brand folder's icon and names, built in a tree of
# its own ($(BUILD)/win32-brand), packed with its brand.ini and pictures; the
# libraries and the helper are the plain trees' own.
release release-exe: export SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct)
BRAND_CONFIGURE = cmake -S . -B $(BUILD)/win32-brand -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DPI_BRAND_DIR="$(abspath $(BRAND))" >/dev/null
WIN64_CONFIGURE = cmake -S . -B $(BUILD)/win64 -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
release-exe:
	$(WIN32_CONFIGURE)
	ninja -C $(BUILD)/win32 -j $(JOBS) inst2k $(if $(BRAND),,PrinterInstaller)
	$(if $(BRAND),$(BRAND_CONFIGURE))
	$(if $(BRAND),ninja -C $(BUILD)/win32-brand -j $(JOBS) PrinterInstaller)
	$(WIN64_CONFIGURE)
	ninja -C $(BUILD)/win64 -j $(JOBS) inst2k tool_helper64

release: deps
	@$(MAKE) --no-print-directory release-exe
	BRAND="$(BRAND)" bash scripts/release.sh

# The same sources with the posix-thread MinGW runtime, for the GoogleTest
# programs that run under Wine.
win32-tests:
	cmake -S . -B $(BUILD)/win32-tests -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DPI_WINE_TESTS=ON \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686-posix.cmake >/dev/null
	ninja -C $(BUILD)/win32-tests -j $(JOBS)

win64:
	$(WIN64_CONFIGURE)
	ninja -C $(BUILD)/win64 -j $(JOBS)

# The 64-bit flavour's tree: the installer, the GoogleTest programs and every companion
# program built x86_64, for tests only (nothing in it is shipped).
win64-tests:
	cmake -S . -B $(BUILD)/win64-tests -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DPI_WINE_TESTS=ON \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64-posix.cmake >/dev/null
	ninja -C $(BUILD)/win64-tests -j $(JOBS)

# What the Wine stage of each flavour needs. The shipped programs (win32, win64) are
# built in both: their imports and layout are checked on every machine.
wine-builds-32: win32 win32-tests win64
wine-builds-64: win32 win64 win64-tests
wine-builds:
	@$(MAKE) --no-print-directory wine-builds-$(FLAVOUR)

build: deps host host-asan
	@$(MAKE) --no-print-directory wine-builds

host-test: host host-asan fuzz-smoke
	ctest --test-dir $(BUILD)/host --output-on-failure -j $(JOBS)
	ctest --test-dir $(BUILD)/host-asan --output-on-failure -j $(JOBS)

wine-test: wine-builds
	xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/wine-tests.sh

test: deps
	@$(MAKE) --no-print-directory host-test wine-test

# Both flavours are kept working from a machine that runs 32-bit programs.
test-64:
	@$(MAKE) --no-print-directory test PI_WINE_FLAVOUR=64

demo: deps
	@$(MAKE) --no-print-directory wine-builds-$(FLAVOUR)
	bash scripts/demo.sh

screenshots: deps
	@$(MAKE) --no-print-directory wine-builds-$(FLAVOUR)
	xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/screenshots.sh

# The flavour's tree (win32, or win64-tests in flavour 64); Wine windows need Xvfb.
bench: deps
	@$(MAKE) --no-print-directory win32 $(if $(filter 64,$(FLAVOUR)),win64-tests)
	xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/bench.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
