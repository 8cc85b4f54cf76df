#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every target for FUZZ_SECONDS
# (default 60) from its committed seeds in fuzz/corpus/<target>/, all
# targets at once.  A crash, a sanitizer report, a leak or an input that
# runs over 10 s fails; the input is kept in build-fuzz/crashes/.
# Units found on the way go to build-fuzz/corpus/<target>/, never into the
# committed seeds.  Each target gets the dictionary fuzz/dict/<name>.dict
# (<name> without "_fuzz") when there is one, else fuzz/dict/values.dict.
# FUZZ_TARGETS (space separated) limits the run to some targets and
# FUZZ_JOBS to how many run at once (default: all).
# shellcheck source=tools/ci/common.sh
source "$(dirname "$0")/common.sh"
seconds=${FUZZ_SECONDS:-60}
CXX=clang++ CC=clang cmake -S . -B build-fuzz -DVALFMT_FUZZ=ON \
  -DVALFMT_TESTS=OFF -DVALFMT_BENCH=OFF -DVALFMT_WERROR="$werror"

mkdir -p build-fuzz/crashes build-fuzz/logs
targets=()
for src in fuzz/*_fuzz.cpp; do
  t=$(basename "$src" .cpp)
  if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" $t "* ]]; then
    continue
  fi
  if [ ! -d "fuzz/corpus/$t" ]; then
    echo "fuzz: $t has no seed corpus in fuzz/corpus/$t/" >&2
    exit 1
  fi
  targets+=("$t")
done

# Only the fuzz targets: the plain library, tool and shared object are not
# needed here.
cmake --build build-fuzz -j"$parallel" --target "${targets[@]}"

jobs_max=${FUZZ_JOBS:-${#targets[@]}}
declare -A pid
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs_max" ]; do wait -n || true; done
  mkdir -p "build-fuzz/corpus/$t"
  dict="fuzz/dict/${t%_fuzz}.dict"
  [ -f "$dict" ] || dict=fuzz/dict/values.dict
  # -close_fd_mask=1: the catalogue reader reports unknown column types on
  # stdout, which would drown the log.
  "./build-fuzz/$t" -max_total_time="$seconds" -timeout=10 \
    -close_fd_mask=1 -print_final_stats=1 -dict="$dict" \
    -artifact_prefix="build-fuzz/crashes/$t-" \
    "build-fuzz/corpus/$t" "fuzz/corpus/$t" \
    >"build-fuzz/logs/$t.log" 2>&1 &
  pid[$t]=$!
done

failed=0
for t in "${targets[@]}"; do
  if wait "${pid[$t]}"; then
    runs=$(grep -m1 '^stat::number_of_executed_units' "build-fuzz/logs/$t.log" |
      awk '{print $2}')
    cov=$(grep -E '^#[0-9]+' "build-fuzz/logs/$t.log" | tail -1 |
      grep -oE 'cov: [0-9]+' || true)
    echo "fuzz: $t ok, ${runs:-?} inputs in ${seconds}s, ${cov:-cov: ?}"
  else
    failed=1
    echo "fuzz: $t FAILED; end of build-fuzz/logs/$t.log:"
    tail -n 60 "build-fuzz/logs/$t.log"
  fi
done
exit "$failed"
