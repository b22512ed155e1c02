# Front door of the build: `make demo` and `make test` do all set-up on a fresh machine.
# Results land in $(BUILD): native/ (tools, unit tests), win32/ (SETUP.EXE, the product's
# 32-bit build), win64/ (the same sources as 64-bit, for test machines without 32-bit
# support), demo/ (the demo's disks, screenshots and report).

BUILD ?= build
JOBS ?= 2
ROOT := $(abspath .)
B := $(abspath $(BUILD))
TEST_ARCH := $(shell . scripts/wine-loader.sh 2>/dev/null; echo $$PV_TEST_ARCH)
WIN_TEST_DIR := $(if $(filter i686,$(TEST_ARCH)),$(B)/win32,$(B)/win64)
CMAKE_GEN := -G Ninja

.PHONY: all deps native win32 win64 wintest test test-native test-wine demo fuzz bench format clean

all: native win32

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B $(B)/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(B)/native -j $(JOBS)

win32: deps
	@cmake -S . -B $(B)/win32 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake \
	  -DPV_NATIVE_BUILD=$(B)/native >/dev/null
	@cmake --build $(B)/win32 -j $(JOBS)

win64: deps
	@cmake -S . -B $(B)/win64 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-x86_64.cmake \
	  -DPV_NATIVE_BUILD=$(B)/native >/dev/null
	@cmake --build $(B)/win64 -j $(JOBS)

wintest: native win32
	@if [ "$(TEST_ARCH)" != i686 ]; then $(MAKE) --no-print-directory win64; fi

test-native: native
	ctest --test-dir $(B)/native --output-on-failure -j $(JOBS)

test-wine: wintest
	@echo "Windows tests: $(TEST_ARCH) build under Wine ($(WIN_TEST_DIR))"
	bash scripts/winebench.sh $(B) ctest --test-dir $(WIN_TEST_DIR) --output-on-failure

test: test-native test-wine

demo: native wintest
	bash scripts/demo.sh $(B)

fuzz: deps
	bash scripts/fuzz.sh $(or $(SECONDS),60)

bench: native
	bash scripts/bench.sh $(B)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(B)
