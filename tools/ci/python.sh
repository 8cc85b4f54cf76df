#!/usr/bin/env bash
# The Python package: configures build/ with -DVALFMT_PYTHON=ON (the build
# step's folder, so the library's objects are reused), builds the extension
# module and runs the pytest suites with Debian's /usr/bin/python3, the
# interpreter the Debian numpy, pandas and pybind11 packages are built for.
# The suites include an import from the build tree and from an install.
# shellcheck source=tools/ci/common.sh
source "$(dirname "$0")/common.sh"
python=/usr/bin/python3
CXX=${CXX:-g++} CC=${CC:-gcc} cmake -S . -B build \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALFMT_WERROR="$werror" \
  -DVALFMT_PYTHON=ON -DPython3_EXECUTABLE="$python"
cmake --build build -j"$parallel" --target _valfmt
PYTHONPATH="$PWD/build/python" VALFMT_BUILD_DIR="$PWD/build" \
  "$python" -m pytest -q -p no:cacheprovider python/tests
