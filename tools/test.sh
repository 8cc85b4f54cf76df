#!/bin/sh
# Builds valfmt and runs every test: unit suites, the export and C-header
# checks, the valgrind leak loop and the tool's examples.
set -eu
cd "$(dirname "$0")/.."
./tools/setup-debian.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
