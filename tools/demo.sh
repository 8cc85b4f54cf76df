#!/bin/sh
# Builds valfmt and runs the command-line tool on its built-in examples.
set -eu
cd "$(dirname "$0")/.."
./tools/setup-debian.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target valfmt_tool
./build/valfmt examples --catalog examples/cntlout.xml
