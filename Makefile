# The README's commands. `make test` is what CI runs: normal build and tests, the same under
# AddressSanitizer + UndefinedBehaviorSanitizer, then a short bounded run of every fuzz target.
MORVIT_WERROR ?= OFF
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 20
CMAKE_FLAGS = -G Ninja -DMORVIT_WERROR=$(MORVIT_WERROR) -DMORVIT_REQUIRE_BROWSER_TESTS=ON \
              -DMORVIT_REQUIRE_PYTHON=ON

.PHONY: all setup build test test-normal test-asan fuzz-smoke format-check bench demo clean \
        windows test-windows package

all: build

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B build $(CMAKE_FLAGS) >/dev/null
	cmake --build build -j $(JOBS)

test-normal: build
	cd build && ctest --output-on-failure -j $(JOBS)

test-asan: setup
	cmake -S . -B build-asan $(CMAKE_FLAGS) -DMORVIT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Each target starts from a copy of its kept corpus (fuzz/corpus/<target>/) in a scratch
# directory: the run never writes into the repository, crash inputs go to build-fuzz/.
fuzz-smoke: setup
	@if ls fuzz/*.cpp >/dev/null 2>&1; then \
	  CC=clang CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_FLAGS) -DMORVIT_BUILD_FUZZ=ON >/dev/null && \
	  cmake --build build-fuzz -j $(JOBS) && \
	  for src in fuzz/*.cpp; do \
	    name=$$(basename $$src .cpp); \
	    corpus=$$(mktemp -d); \
	    if [ -d fuzz/corpus/$$name ]; then cp fuzz/corpus/$$name/* $$corpus/ 2>/dev/null; fi; \
	    echo "fuzz smoke: $$name ($(FUZZ_SECONDS) s, $$(ls $$corpus | wc -l) corpus inputs)"; \
	    build-fuzz/fuzz/$$name $$corpus -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	      -timeout=10 -print_final_stats=0 -artifact_prefix=build-fuzz/$$name- \
	      2>build-fuzz/$$name.log || \
	      { tail -n 40 build-fuzz/$$name.log; rm -rf $$corpus; exit 1; }; \
	    rm -rf $$corpus; \
	  done; \
	fi

format-check:
	@files=$$(git ls-files '*.h' '*.cpp' '*.c' 2>/dev/null); \
	if [ -n "$$files" ] && command -v clang-format >/dev/null; then \
	  clang-format --dry-run --Werror $$files || { echo "format-check: run clang-format -i on the files above"; exit 1; }; \
	fi

# Windows: the mingw-w64 cross-builds, 32-bit into build-win32/, 64-bit into build-win64/ (the
# DLL, its import libraries, morvit.exe, the examples and the test programs), and their tests
# under wine beside the Linux build.
WIN_FLAGS = $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-toolchain.cmake \
            -DCMAKE_BUILD_TYPE=Release -DMORVIT_LINUX_LIBRARY=$(CURDIR)/build/libMorvit32.so

windows: setup
	cmake -S . -B build-win32 $(WIN_FLAGS) -DMORVIT_WIN_ARCH=i686 >/dev/null
	cmake --build build-win32 -j $(JOBS)
	cmake -S . -B build-win64 $(WIN_FLAGS) -DMORVIT_WIN_ARCH=x86_64 >/dev/null
	cmake --build build-win64 -j $(JOBS)

test-windows: build windows
	bash scripts/windows-tests.sh build build-win64 build-win32

test: format-check test-normal test-asan fuzz-smoke test-windows

bench: setup
	cmake -S . -B build-bench $(CMAKE_FLAGS) -DMORVIT_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/*; do [ -x "$$b" ] && [ -f "$$b" ] && "$$b"; done; true

# The release packages: Debian packages from the Linux build into build/packages/, and the
# Windows archives morvit-VERSION-win32.zip and -win64.zip into build-win32/packages/ and
# build-win64/packages/.
package: build windows
	cd build && cpack -G DEB -B packages
	cd build-win32 && cpack -G ZIP -B packages
	cd build-win64 && cpack -G ZIP -B packages

demo: build
	@bash scripts/demo.sh build

clean:
	rm -rf build build-asan build-fuzz build-bench build-win32 build-win64 build-wine
