#!/bin/sh
# Installs what a fresh Debian machine lacks to build and test valfmt:
# compiler, CMake, GoogleTest, Google Benchmark, valgrind and clang (for the
# fuzz targets).  Packages already present are left alone.
set -eu
need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in g++ cmake make libgtest-dev libbenchmark-dev valgrind; do
  have "$pkg" || need="$need $pkg"
done
if [ -n "$need" ]; then
  echo "installing:$need"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $need
fi
