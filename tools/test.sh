#!/bin/sh
# Builds valfmt and runs every test: unit suites, the export and C-header
# checks, the valgrind leak loop and the tool's examples; then the unit
# suites once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
./tools/setup-debian.sh
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

san="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVALFMT_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$san" -DCMAKE_C_FLAGS="$san" \
  -DCMAKE_EXE_LINKER_FLAGS="$san" -DCMAKE_SHARED_LINKER_FLAGS="$san"
cmake --build build-asan -j"$jobs" --target valfmt_tests
./build-asan/valfmt_tests --gtest_brief=1
