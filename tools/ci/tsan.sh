#!/usr/bin/env bash
# The concurrency suite (tests/concurrency/) built with clang and
# ThreadSanitizer in build-tsan/ and run: one handle per format family used
# from eight threads at once.  Any race report or differing result fails.
# shellcheck source=tools/ci/common.sh
source "$(dirname "$0")/common.sh"
san="-fsanitize=thread -fno-omit-frame-pointer"
CXX=clang++ CC=clang cmake -S . -B build-tsan \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALFMT_BENCH=OFF \
  -DVALFMT_WERROR="$werror" \
  -DCMAKE_CXX_FLAGS="$san" -DCMAKE_C_FLAGS="$san" \
  -DCMAKE_EXE_LINKER_FLAGS="$san" -DCMAKE_SHARED_LINKER_FLAGS="$san"
cmake --build build-tsan -j"$parallel" --target valfmt_threads_test
TSAN_OPTIONS="halt_on_error=1 abort_on_error=0 exitcode=66" \
  ./build-tsan/valfmt_threads_test --gtest_brief=1
