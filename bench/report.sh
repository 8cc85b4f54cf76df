#!/usr/bin/env bash
# Builds the benchmarks (Release, build-bench/), runs every family's
# benchmark beside its peer in the same process run and writes
# docs/performance.md: format, valfmt ns/value, peer, peer ns/value, ratio
# (peer time / valfmt time, higher is better) and goal, with the machine
# and date.  A row below its goal takes its reason from
# bench/performance_notes.txt ("<format>|<peer>|<reason>" lines); a row
# below its goal without one is marked and makes the script exit 1.
#
# The benchmarks keep their own names; the table below pairs them.  Each
# line: bench binary | valfmt benchmark | format shown | peer benchmark |
# peer shown | goal (minimum ratio, "-" for none).  A pair whose binary or
# benchmarks do not exist (a family not built yet) is left out and listed.
#
# Environment: BENCH_MIN_TIME seconds per benchmark (default 0.5); JOBS;
# BENCH_ONLY (space separated binaries) runs only those again and keeps the
# other results of the last run in build-bench/results/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
min_time=${BENCH_MIN_TIME:-0.5}

read -r -d '' PAIRS <<'EOF' || true
fixed_bench|BM_F12_2_valfmt|F12.2|BM_F12_2_to_chars|std::to_chars fixed 2 + padding|1.6
fixed_bench|BM_F12_2_valfmt|F12.2|BM_F12_2_snprintf|snprintf("%12.2f")|-
fixed_bench|BM_BEST12_valfmt|BEST12.|BM_BEST12_snprintf|snprintf("%12.10g")|-
fixed_bench|BM_E12_valfmt|E12.|BM_E12_snprintf|snprintf("%12.5E")|-
informat_bench|BM_F_xffmt|@F32.|BM_from_chars|std::from_chars|1.2
informat_bench|BM_F_wzifmn|@F32. (direct)|BM_strtod|strtod|-
punctuated_bench|BM_COMMA12_2_valfmt|COMMA12.2|BM_COMMA12_2_snprintf_grouping|snprintf("%'12.2f") grouping|4
punctuated_bench|BM_COMMA12_2_valfmt|COMMA12.2|BM_COMMA12_2_to_chars|std::to_chars + commas|1
punctuated_bench|BM_DOLLAR12_2_valfmt|DOLLAR12.2|BM_COMMA12_2_snprintf_grouping|snprintf("%'12.2f") grouping|4
punctuated_bench|BM_DOLLAR12_2_valfmt|DOLLAR12.2|BM_DOLLAR12_2_to_chars|std::to_chars + commas + $|1
words_bench|BM_Words40|WORDS40.|BM_PeerRecursiveWords40|recursive speller|1
binary_bench|BM_PD8_2|PD8.2|BM_PeerBcdPack8_2|hand BCD packer|1
binary_bench|BM_S370FPD8_2|S370FPD8.2|BM_PeerBcdPack8_2|hand BCD packer|1
binary_bench|BM_InS370FPD8_2|@S370FPD8.2|BM_PeerBcdUnpack8_2|hand BCD unpacker|1
binary_bench|BM_IB8|IB8.|BM_PeerSwappedIntOut|byte-swapped memcpy|0.5
binary_bench|BM_InIB8|@IB8.|BM_PeerSwappedIntIn|byte-swapped memcpy|0.5
floating_bench|BM_IEEE8_write|IEEE8.|BM_peer_bswap_write|byte swap|-
floating_bench|BM_IEEE8_read|@IEEE8.|BM_peer_bswap_read|byte swap|-
floating_bench|BM_RB8_read|@RB8.|BM_peer_memcpy_read|memcpy|-
floating_bench|BM_S370FRB8_write|S370FRB8.|BM_peer_frexp_hfp_write|frexp to HFP|-
floating_bench|BM_S370FRB8_read|@S370FRB8.|BM_peer_ldexp_hfp_read|ldexp from HFP|-
floating_bench|BM_HEX16_write|HEX16.|BM_peer_snprintf_hex|snprintf("%016llX")|-
floating_bench|BM_HEX16_read|@HEX16.|BM_peer_strtoull_hex|strtoull(16)|-
date_bench|BM_Date9|DATE9.|BM_PeerGmtimeStrftime|gmtime_r + strftime|6
iso_bench|BM_E8601DT19|E8601DT19.|BM_PeerDatetime|gmtime_r + strftime("%Y-%m-%dT%H:%M:%S")|3
iso_bench|BM_E8601DA10|E8601DA10.|BM_PeerDate|gmtime_r + strftime("%F")|3
time_bench|BM_Time8|TIME8.|BM_PeerTime8|gmtime_r + strftime|-
time_bench|BM_Datetime19|DATETIME19.|BM_PeerDatetime19|gmtime_r + strftime|-
word_bench|BM_Worddate18|WORDDATE18.|BM_PeerWorddateStrftime|strftime|-
word_bench|BM_Weekdate29|WEEKDATE29.|BM_PeerWeekdateStrftime|strftime|-
date_informat_bench|BM_DATE9_zifmdat|@DATE9.|BM_DATE9_strptime_timegm|strptime + timegm|5
date_informat_bench|BM_YYMMDD10_zifmymd|@YYMMDD10.|BM_YYMMDD10_strptime_timegm|strptime + timegm|5
date_informat_bench|BM_DATETIME19_zifmdtm|@DATETIME19.|BM_DATETIME19_strptime_timegm|strptime + timegm|5
nls_bench|BM_NLNUM12_2|NLNUM12.2 (de_DE)|BM_glibc_snprintf_grouped|snprintf("%'.2f") under de_DE.UTF-8|2
nls_bench|BM_NLMNY15_2|NLMNY15.2 (de_DE)|BM_glibc_strfmon|strfmon under de_DE.UTF-8|2
nls_bench|BM_NLDATE20|NLDATE20. (de_DE)|BM_glibc_strftime|strftime under de_DE.UTF-8|2
userfmt_bench|BM_NumericFormat100kRanges|user format, 100 000 ranges|BM_Peer_SortedArray100kRanges|binary search, 100 000 doubles|1
userfmt_bench|BM_CharacterFormat10kRanges|$user format, 10 000 ranges|BM_Peer_SortedStrings10kRanges|binary search, 10 000 strings|-
userfmt_bench|BM_Resolve10MB_Last_InMemory|resolve, 10 MB catalogue|BM_Peer_ScanElements10MB|element scan, 10 MB|-
EOF

echo "report: building the benchmarks in build-bench/ (Release)"
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVALFMT_BENCH=ON \
  -DVALFMT_TESTS=OFF >/dev/null
binaries=$(cut -d'|' -f1 <<<"$PAIRS" | sort -u)
targets=()
for b in $binaries; do
  [ -f "bench/$b.cpp" ] && targets+=("$b")
done
cmake --build build-bench -j"$jobs" --target "${targets[@]}" >/dev/null

mkdir -p build-bench/results
for b in "${targets[@]}"; do
  if [ -n "${BENCH_ONLY:-}" ] && [[ " $BENCH_ONLY " != *" $b "* ]]; then
    continue
  fi
  # Only the benchmarks the table names, so each pair shares one run.
  filter=$(awk -F'|' -v b="$b" '$1 == b { print $2; print $4 }' <<<"$PAIRS" |
    sort -u | paste -sd'|')
  echo "report: running $b"
  "./build-bench/$b" --benchmark_filter="^($filter)\$" \
    --benchmark_min_time="$min_time" --benchmark_format=json \
    >"build-bench/results/$b.json"
done

cpu=$(awk -F': *' '/^model name/ { print $2; exit }' /proc/cpuinfo)
cores=$(nproc)
load=$(cut -d' ' -f1-3 /proc/loadavg)
compiler=$(c++ --version | head -1)
PAIRS="$PAIRS" CPU="$cpu" CORES="$cores" COMPILER="$compiler" LOAD="$load" \
  python3 - <<'PY'
import json, os, sys, datetime

pairs = [l.split('|') for l in os.environ['PAIRS'].splitlines() if l.strip()]
notes = {}
if os.path.exists('bench/performance_notes.txt'):
    for line in open('bench/performance_notes.txt', encoding='utf-8'):
        if line.strip() and not line.startswith('#'):
            fmt, peer, reason = line.rstrip('\n').split('|', 2)
            notes[(fmt, peer)] = reason


def load(binary):
    path = f'build-bench/results/{binary}.json'
    if not os.path.exists(path):
        return {}
    out = {}
    for b in json.load(open(path))['benchmarks']:
        # ns per value: from items/s when the benchmark counts values,
        # else the CPU time of one iteration.
        if b.get('items_per_second'):
            ns = 1e9 / b['items_per_second']
        else:
            scale = {'ns': 1, 'us': 1e3, 'ms': 1e6, 's': 1e9}[b['time_unit']]
            ns = b['cpu_time'] * scale
        out[b['name']] = ns
    return out


results = {}
rows, missing, unexplained = [], [], []
for binary, ours, fmt, peer, peer_text, goal in pairs:
    res = results.setdefault(binary, load(binary))
    if ours not in res or peer not in res:
        missing.append(f'{fmt} / {peer_text} ({binary})')
        continue
    ratio = res[peer] / res[ours]
    below = goal != '-' and ratio < float(goal)
    note = ''
    if below:
        note = notes.get((fmt, peer_text), '')
        if not note:
            unexplained.append(fmt)
            note = 'BELOW GOAL: no reason recorded'
    rows.append((fmt, res[ours], peer_text, res[peer], ratio,
                 '≥ ' + goal if goal != '-' else '—', note))


def num(ns):
    return f'{ns:.1f}' if ns < 1e5 else f'{ns:,.0f}'


lines = [
    '# Performance',
    '',
    'Generated by `bench/report.sh`: each valfmt benchmark runs beside its '
    'peer in the same process run (Google Benchmark, Release build, CPU '
    'time).  ns/value is nanoseconds per value (per call for resolution); '
    'ratio is peer time / valfmt time, higher is better; goal is the least '
    'ratio asked for.',
    '',
    f'- Machine: {os.environ["CPU"]}, {os.environ["CORES"]} cores (shared)',
    f'- Compiler: {os.environ["COMPILER"]}',
    f'- Load average when the table was written: {os.environ["LOAD"]} (the '
    'machine is shared; a row can move by a third between runs, and '
    '`BENCH_ONLY=<binary>` measures one family again)',
    f'- Date: {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC',
    '',
    '| format | valfmt ns/value | peer | peer ns/value | ratio | goal | note |',
    '|---|---:|---|---:|---:|---|---|',
]
for fmt, ours, peer_text, peer, ratio, goal, note in rows:
    lines.append(f'| `{fmt}` | {num(ours)} | {peer_text} | {num(peer)} | '
                 f'{ratio:.2f} | {goal} | {note} |')
if missing:
    lines += ['', 'Not measured (benchmark not built): ' + '; '.join(missing) + '.']
lines.append('')
open('docs/performance.md', 'w', encoding='utf-8').write('\n'.join(lines))
print('\n'.join(lines))
if unexplained:
    print('report: below goal without a reason: ' + ', '.join(unexplained),
          file=sys.stderr)
    sys.exit(1)
PY
