#!/bin/sh
# Installs the build tree into a temporary prefix and builds the README's C
# example against the installed package both ways: a CMake project using
# find_package(valfmt), and a plain compiler call using pkg-config.  Each
# program must print the three dates the example renders.
#   install_test.sh SOURCE_DIR BUILD_DIR
set -eu
src=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null

# SONAME links, header, tool, package files.
libdir=$(dirname "$(find "$prefix" -name 'libvalfmt.so.0' | head -n 1)")
for f in "$libdir/libvalfmt.so" "$libdir/libvalfmt.so.0" \
         "$prefix/include/valfmt.h" "$prefix/bin/valfmt" \
         "$libdir/pkgconfig/valfmt.pc" "$libdir/cmake/valfmt/valfmtConfig.cmake"; do
  [ -e "$f" ] || { echo "install_test: missing $f" >&2; exit 1; }
done
[ "$(readlink "$libdir/libvalfmt.so")" = libvalfmt.so.0 ] || {
  echo "install_test: libvalfmt.so does not point at the SONAME" >&2; exit 1; }

# The example exactly as the README shows it.
sed -n '/^```c$/,/^```$/p' "$src/README.md" | sed '1d;$d' > "$work/example.c"
[ -s "$work/example.c" ] || { echo "install_test: no C example in README" >&2; exit 1; }
# Days 0, 366 and 23000 after 1 January 1960.
expected=$(printf '01JAN1960\n01JAN1961\n21DEC2022')

# CMake: find_package(valfmt) and valfmt::valfmt.
mkdir "$work/cm"
cat > "$work/cm/CMakeLists.txt" <<'CM'
cmake_minimum_required(VERSION 3.16)
project(example C)
find_package(valfmt REQUIRED)
add_executable(example ../example.c)
target_link_libraries(example PRIVATE valfmt::valfmt)
CM
cmake -S "$work/cm" -B "$work/cm/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cm/build" >/dev/null
got=$("$work/cm/build/example")
[ "$got" = "$expected" ] || { echo "install_test: CMake example printed: $got" >&2; exit 1; }

# pkg-config.
PKG_CONFIG_PATH=$libdir/pkgconfig
export PKG_CONFIG_PATH
# shellcheck disable=SC2046
cc -o "$work/example_pc" "$work/example.c" $(pkg-config --cflags --libs valfmt)
got=$(LD_LIBRARY_PATH=$libdir "$work/example_pc")
[ "$got" = "$expected" ] || { echo "install_test: pkg-config example printed: $got" >&2; exit 1; }

# The installed tool runs.
[ "$("$prefix/bin/valfmt" put DATE9. 0)" = 01JAN1960 ] || {
  echo "install_test: installed tool fails" >&2; exit 1; }
echo "install_test: ok"
