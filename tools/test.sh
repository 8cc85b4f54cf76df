#!/usr/bin/env bash
# Builds valfmt and runs every check, each step even when an earlier one
# failed, then prints the time and result of each step:
#   build and tests   GCC build of everything with warnings as errors, and
#                     the ctest suite (unit suites, export and C-header
#                     checks, valgrind leak loop, the tool's examples)
#   format            clang-format check of the C and C++ files
#   tidy              clang-tidy over the library sources
#   sanitizers        the unit suites under AddressSanitizer and
#                     UndefinedBehaviorSanitizer
#   threads           the concurrency suite under ThreadSanitizer
#   fuzz              the libFuzzer targets, 60 s each from fuzz/corpus/
#   hosts             the PostgreSQL and SQLite extensions (ext/) built,
#                     installed and tested on a throwaway cluster
#   python            the Python package built and its pytest suites
# The exit status is non-zero when any step failed.
#
# It installs nothing: ./tools/setup-debian.sh installs what is missing.
# Environment: VALFMT_WERROR=OFF builds without -Werror; FUZZ_SECONDS sets
# the time of each fuzz run; JOBS the parallel jobs.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
./tools/setup-debian.sh --check || exit 1

# Processor seconds used so far by the finished child processes (user and
# system), to tell a step's own work from time spent waiting for a busy
# machine.
child_cpu() {
  awk -v tck="$(getconf CLK_TCK)" '{ printf "%d", ($16 + $17) / tck }' \
    "/proc/$$/stat"
}

names=()
seconds=()
cpu=()
results=()
step() {
  local name=$1
  shift
  echo
  echo "==> $name"
  local start=$SECONDS cpu_start
  cpu_start=$(child_cpu)
  if "$@"; then results+=(ok); else results+=(FAILED); fi
  names+=("$name")
  seconds+=($((SECONDS - start)))
  cpu+=($(($(child_cpu) - cpu_start)))
}

step "build and tests" ./tools/ci/build-test.sh
step "format" ./tools/ci/format-check.sh
step "tidy" ./tools/ci/tidy.sh
step "sanitizers" ./tools/ci/sanitize.sh
step "threads" ./tools/ci/tsan.sh
step "fuzz" ./tools/ci/fuzz.sh
step "hosts" ./tools/ci/ext.sh
step "python" ./tools/ci/python.sh

echo
printf '%-16s %8s %8s  %s\n' step seconds cpu result
passed=0
failed=0
for i in "${!names[@]}"; do
  printf '%-16s %8d %8d  %s\n' "${names[$i]}" "${seconds[$i]}" "${cpu[$i]}" \
    "${results[$i]}"
  if [ "${results[$i]}" = ok ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
done
printf '%-16s %8d %8d\n' total "$SECONDS" "$(child_cpu)"
echo "steps: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
