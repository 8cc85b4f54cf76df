#!/usr/bin/env bash
# The unit suites once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer (GCC, Debug); any report fails the run.
# shellcheck source=tools/ci/common.sh
source "$(dirname "$0")/common.sh"
san="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
san="$san -fno-omit-frame-pointer"
CXX=${CXX:-g++} CC=${CC:-gcc} cmake -S . -B build-asan \
  -DCMAKE_BUILD_TYPE=Debug -DVALFMT_BENCH=OFF -DVALFMT_WERROR="$werror" \
  -DCMAKE_CXX_FLAGS="$san" -DCMAKE_C_FLAGS="$san" \
  -DCMAKE_EXE_LINKER_FLAGS="$san" -DCMAKE_SHARED_LINKER_FLAGS="$san"
cmake --build build-asan -j"$parallel" --target valfmt_tests
./build-asan/valfmt_tests --gtest_brief=1
