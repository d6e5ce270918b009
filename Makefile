# Thin front door; the builds are CMake, the Wine runs are scripts/.
BUILD ?= build
JOBS ?= $(shell nproc)
export BUILD

.PHONY: all deps build host host-asan win32 win32-tests win64 test host-test wine-test demo screenshots bench format clean

all: build

deps:
	@bash scripts/deps.sh

host:
	cmake -S . -B $(BUILD)/host -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	ninja -C $(BUILD)/host -j $(JOBS)

host-asan:
	cmake -S . -B $(BUILD)/host-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPI_SANITIZE=ON >/dev/null
	ninja -C $(BUILD)/host-asan -j $(JOBS)

win32:
	cmake -S . -B $(BUILD)/win32 -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	ninja -C $(BUILD)/win32 -j $(JOBS)

# The same sources with the posix-thread MinGW runtime, for the GoogleTest
# programs that run under Wine.
win32-tests:
	cmake -S . -B $(BUILD)/win32-tests -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DPI_WINE_TESTS=ON \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686-posix.cmake >/dev/null
	ninja -C $(BUILD)/win32-tests -j $(JOBS)

win64:
	cmake -S . -B $(BUILD)/win64 -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
	ninja -C $(BUILD)/win64 -j $(JOBS)

build: deps host host-asan win32 win32-tests win64

host-test: host host-asan
	ctest --test-dir $(BUILD)/host --output-on-failure -j $(JOBS)
	ctest --test-dir $(BUILD)/host-asan --output-on-failure -j $(JOBS)

wine-test: win32 win32-tests win64
	xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/wine-tests.sh

test: deps host-test wine-test

demo: deps win32 win64
	bash scripts/demo.sh

screenshots: deps win32 win64
	xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/screenshots.sh

bench: deps win32
	bash scripts/bench.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
