#!/usr/bin/env bash
# GCC build of everything (library, tool, tests, benchmarks) with the
# project's warning set, as errors unless VALFMT_WERROR=OFF; then the whole
# ctest suite: unit suites, export check, C-header check, valgrind leak
# loop, the tool's examples.
# shellcheck source=tools/ci/common.sh
source "$(dirname "$0")/common.sh"
configure_gcc_build
cmake --build build -j"$parallel"
ctest --test-dir build --output-on-failure -j"$parallel"
