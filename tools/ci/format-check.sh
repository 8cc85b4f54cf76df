#!/usr/bin/env bash
# Checks that every C and C++ file of the sources, the public header, tests,
# tools, benchmarks and fuzzers is formatted as .clang-format says.  Lists
# the files that are not; `clang-format -i FILE...` fixes them.
# shellcheck source=tools/ci/common.sh
source "$(dirname "$0")/common.sh"
mapfile -t files < <(tracked_files '\.(c|cc|cpp|h|hpp)$' \
  src include tests tools bench fuzz)
unformatted=()
for f in "${files[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
echo "clang-format: ${#files[@]} files checked, ${#unformatted[@]} not formatted"
if [ "${#unformatted[@]}" -gt 0 ]; then
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
