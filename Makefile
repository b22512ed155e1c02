# Front door of the build: `make demo` and `make test` do all set-up on a fresh machine.
# Results land in $(BUILD): native/ (tools, unit tests), win32/ (SETUP.EXE, the product's
# 32-bit build), wintest-i686/ or wintest-x86_64/ (the Windows tests, with the same sources
# built as 64-bit on machines that cannot run 32-bit code), demo/ (the demo's disks,
# screenshots and report).

BUILD ?= build
JOBS ?= 2
ROOT := $(abspath .)
B := $(abspath $(BUILD))
TEST_ARCH := $(shell . scripts/wine-loader.sh 2>/dev/null; echo $$PV_TEST_ARCH)
WIN_TEST_DIR := $(B)/wintest-$(TEST_ARCH)
CMAKE_GEN := -G Ninja

.PHONY: all deps native win32 wintest test test-fuzz test-native test-wine demo fuzz bench format clean

all: native win32

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B $(B)/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DPV_PRODUCT_EXE=$(B)/win32/SETUP.exe >/dev/null
	@cmake --build $(B)/native -j $(JOBS)

win32: deps
	@cmake -S . -B $(B)/win32 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake \
	  -DPV_NATIVE_BUILD=$(B)/native >/dev/null
	@cmake --build $(B)/win32 -j $(JOBS)

wintest: native
	@cmake -S . -B $(WIN_TEST_DIR) $(CMAKE_GEN) \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-$(TEST_ARCH).cmake -DPV_THREAD_MODEL=posix \
	  -DPV_NATIVE_BUILD=$(B)/native >/dev/null
	@cmake --build $(WIN_TEST_DIR) -j $(JOBS)

test-native: native win32
	ctest --test-dir $(B)/native --output-on-failure -j $(JOBS)

test-wine: wintest
	@echo "Windows tests: $(TEST_ARCH) build under Wine ($(WIN_TEST_DIR))"
	bash scripts/winebench.sh $(B) ctest --test-dir $(WIN_TEST_DIR) --output-on-failure

# A short fuzz run first; the Windows tests last, so that CI reads ctest's closing line.
test-fuzz: deps
	FUZZ_BUILD=$(B)/fuzz bash scripts/fuzz.sh 10

test: test-fuzz test-native test-wine

demo: native win32 wintest
	bash scripts/demo.sh $(B)

fuzz: deps
	FUZZ_BUILD=$(B)/fuzz bash scripts/fuzz.sh $(or $(FUZZ_SECONDS),60)

bench: native
	bash scripts/bench.sh $(B)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(B)
