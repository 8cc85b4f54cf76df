# shellcheck shell=bash disable=SC2034
# Shared by the check scripts in tools/ci/ (sourced, not run).
#
# Environment:
#   JOBS           parallel jobs (default: the number of cores)
#   VALFMT_WERROR  ON (default) builds with warnings as errors; OFF without
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
parallel=${JOBS:-$(nproc)}
werror=${VALFMT_WERROR:-ON}

# Configures the GCC build in build/.  The compiler is chosen only when the
# folder is first configured; its compile database also feeds clang-tidy.
configure_gcc_build() {
  CXX=${CXX:-g++} CC=${CC:-gcc} cmake -S . -B build \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALFMT_WERROR="$werror"
}

# The tracked files under the given folders whose names match an extended
# regular expression (a plain find when this is not a git checkout).
tracked_files() {
  local pattern=$1
  shift
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -- "$@" | grep -E "$pattern" || true
  else
    find "$@" -type f | grep -E "$pattern" | sort || true
  fi
}
