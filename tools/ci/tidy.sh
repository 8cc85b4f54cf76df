#!/usr/bin/env bash
# clang-tidy over the library sources (src/) with the checks of .clang-tidy,
# reading the compile database of the GCC build.  Any finding fails.
# shellcheck source=tools/ci/common.sh
source "$(dirname "$0")/common.sh"
[ -f build/compile_commands.json ] || configure_gcc_build >/dev/null

# The database holds GCC's command lines; clang needs:
#  - more constant-evaluation steps for the compile-time tables (the CMake
#    clang build passes the same);
#  - silence about warning options only GCC knows;
#  - no -Werror: compiler warnings are the build step's business, here only
#    the checks count.
extra=(-fconstexpr-steps=200000000 -Wno-unknown-warning-option -Wno-error)

mapfile -t sources < <(tracked_files '\.cpp$' src)
# Plain text, without the per-file command lines and the counts of
# diagnostics suppressed in system headers.
plain() {
  sed -e 's/\x1b\[[0-9;]*m//g' -e '/^clang-tidy[-0-9]* /d' \
    -e '/^[0-9]* warnings\( and [0-9]* errors\)\? generated\.$/d'
}
if command -v run-clang-tidy >/dev/null 2>&1; then
  run-clang-tidy -p build -j "$parallel" -quiet \
    "${extra[@]/#/-extra-arg=}" "${sources[@]/#/$PWD/}" 2>&1 | plain
else
  printf '%s\n' "${sources[@]}" |
    xargs -P "$parallel" -n 4 clang-tidy -p build --quiet \
      "${extra[@]/#/--extra-arg=}" 2>&1 | plain
fi
echo "clang-tidy: ${#sources[@]} library sources clean"
