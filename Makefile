# make example : build a Release morvi and run it on the sample data in example/
#                (needs g++ and CMake only)
# make test    : build and run every test, in a Release build and in a Debug
#                build with -fsanitize=address,undefined (needs GoogleTest too);
#                JOBS=n keeps it to n processes at once
# make bench   : time three full-day runs (bench/RESULTS.md)
JOBS ?= $(shell nproc 2>/dev/null || echo 4)
# A fatal error ends the program through exit(1) from deep inside a step, by
# design, so heap blocks still held then are not leaks worth reporting.
export ASAN_OPTIONS := detect_leaks=0
export UBSAN_OPTIONS := print_stacktrace=1:halt_on_error=1

.PHONY: all example test test-release test-asan bench clean

all:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DMORVI_TESTS=AUTO
	cmake --build build -j $(JOBS) --target morvi

example: all
	bash example/run.sh build/morvi

test: test-release test-asan

test-release:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DMORVI_TESTS=ON -DMORVI_JOBS=$(JOBS)
	cmake --build build -j $(JOBS)
	cd build && ctest --output-on-failure -j $(JOBS)

test-asan:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORVI_SANITIZE=ON -DMORVI_TESTS=ON -DMORVI_JOBS=$(JOBS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)
	@grep -h "robustness sweep:" build-asan/Testing/Temporary/LastTest.log || true

bench:
	bash bench/run.sh

clean:
	rm -rf build build-asan example/out
