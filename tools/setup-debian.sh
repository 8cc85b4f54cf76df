#!/bin/sh
# Installs what a fresh Debian machine lacks to build and test valfmt:
# compiler, CMake, GoogleTest, Google Benchmark, valgrind, and the clang
# tools (compiler and fuzzer runtime for the fuzz targets, clang-format,
# clang-tidy).  Packages already present are left alone.
#
#   ./tools/setup-debian.sh          install the missing packages (apt-get,
#                                    through sudo when not root)
#   ./tools/setup-debian.sh --check  only report what is missing; exit 1 if
#                                    anything is
set -eu
packages="g++ cmake make libgtest-dev libbenchmark-dev valgrind
clang libclang-rt-dev clang-format clang-tidy"
packages="$packages postgresql-15 postgresql-server-dev-15 sqlite3 libsqlite3-dev"  # database host extensions
packages="$packages pybind11-dev python3-pybind11 python3-dev python3-numpy python3-pandas python3-pytest python3-dask python3-distributed"  # Python package and its tests
packages="$packages pkgconf"  # the installed-package test builds with pkg-config
packages="$packages tzdata"  # named zones of the ISO 8601 local-offset tests

have() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
need=""
for pkg in $packages; do
  have "$pkg" || need="$need $pkg"
done

if [ -z "$need" ]; then
  echo "setup-debian.sh: every package valfmt needs is installed"
  exit 0
fi
if [ "${1:-}" = "--check" ]; then
  echo "setup-debian.sh: missing Debian packages:$need" >&2
  echo "setup-debian.sh: run ./tools/setup-debian.sh to install them" >&2
  exit 1
fi

echo "setup-debian.sh: installing these Debian packages with apt-get:$need"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || {
    echo "setup-debian.sh: not root and no sudo; install them by hand" >&2
    exit 1
  }
  SUDO="sudo"
fi
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $need
