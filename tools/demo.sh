#!/bin/sh
# Builds valfmt and runs the command-line tool on its built-in examples.
# Installs nothing: ./tools/setup-debian.sh installs what is missing.
set -eu
cd "$(dirname "$0")/.."
./tools/setup-debian.sh --check
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target valfmt_tool
./build/valfmt examples --catalog examples/cntlout.xml
