# ZemloBattery: `make` builds, `make run` runs it on an emulated Pocket PC
# screen, `make test` runs every test. Each installs what is missing first.
# The 64-bit program in $(BUILD), the 32-bit (i686) one in $(BUILD32), the
# device's (Windows CE on ARM, `make device`) in $(BUILD)/device, with the
# package a device installs (`make cab`).
BUILD ?= build
BUILD32 ?= $(BUILD)/i686
TOOLCHAIN := cmake/mingw-w64-x86_64.cmake
TOOLCHAIN32 := cmake/mingw-w64-i686.cmake

.PHONY: all deps configure configure64 configure32 build device cab run test test-locked test-debian13 bench soak clean

all: build

deps:
	@scripts/install-deps.sh

configure: configure64 configure32

configure64: deps
	@cmake -S . -B "$(BUILD)" -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release >/dev/null

configure32: deps
	@cmake -S . -B "$(BUILD32)" -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN32) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build "$(BUILD)" -j2
	@cmake --build "$(BUILD32)" -j2

# The program for Windows Mobile 5/6 (ARM), from the same sources.
device:
	@scripts/install-deps.sh device
	@scripts/device.sh "$(BUILD)/device"

# The package a Windows Mobile device installs: the program, its setup DLL
# and shortcuts in the Start menu and StartUp (docs/installing.md).
# `make device` makes it too.
cab: device

# Only the 64-bit program: no tests, no 32-bit build. DEVICE=1: the device
# program itself, on the runner (runner/).
run: configure64
	@if [ -n "$(DEVICE)" ]; then $(MAKE) -s device; fi
	@cmake --build "$(BUILD)" -j2 --target ZemloBattery zbscreen zbdrive $(if $(DEVICE),runner)
	@ZB_BUILD_DIR="$(abspath $(BUILD))" DEVICE=$(DEVICE) scripts/run.sh

# scripts/test.sh builds both, making the Wine prefixes meanwhile. One at a
# time in a clone: the lock is taken before anything is written.
test:
	@exec scripts/one-at-a-time.sh "$(BUILD)" "make test" $(MAKE) --no-print-directory test-locked

test-locked: configure
	@exec env ZB_BUILD_DIR="$(abspath $(BUILD))" scripts/test.sh "$(BUILD)" "$(BUILD32)"

# make test and a headless make run of a fresh clone of HEAD in a Debian 13
# root (Wine 10, GCC 14), kept outside the clone; needs root.
test-debian13:
	@scripts/test-debian13.sh

bench: configure64
	@if [ "$(BENCH_ONLY)" = device ]; then $(MAKE) -s device; fi
	@cmake --build "$(BUILD)" -j2 --target ZemloBattery zbdrive bench minimal floor holdings \
		$(if $(filter device,$(BENCH_ONLY)),runner)
	@ZB_BUILD_DIR="$(abspath $(BUILD))" scripts/bench.sh

soak: configure64
	@cmake --build "$(BUILD)" -j2 --target ZemloBattery e2e_tests
	@ZB_BUILD_DIR="$(abspath $(BUILD))" scripts/soak.sh

clean:
	rm -rf "$(BUILD)"
