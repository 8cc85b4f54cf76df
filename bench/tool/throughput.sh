#!/bin/sh
# Throughput of `valfmt stream F12.2` on five million lines, written to a
# file, beside the two everyday peers measured in the same run on the same
# input: GNU numfmt --format=%.2f and awk's printf "%12.2f".
#   bench/tool/throughput.sh [VALFMT_BINARY] [LINES]
# Prints the seconds of each (best of three) and valfmt's speed relative to
# each peer.  Goals: at least 2x numfmt, at least 1x awk.
set -eu
valfmt=${1:-build/valfmt}
lines=${2:-5000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Amounts with two decimals and varying sign and magnitude.
awk -v n="$lines" 'BEGIN { srand(7); for (i = 0; i < n; i++)
  printf "%.4f\n", (rand() - 0.3) * 10 ^ int(rand() * 8) }' > "$work/in.txt"

best() { # best wall seconds of three runs of "$@" > $work/out
  b=""
  for _ in 1 2 3; do
    s=$(date +%s.%N)
    "$@" < "$work/in.txt" > "$work/out"
    e=$(date +%s.%N)
    t=$(awk -v s="$s" -v e="$e" 'BEGIN { print e - s }')
    if [ -z "$b" ] || awk -v t="$t" -v b="$b" 'BEGIN { exit !(t < b) }'; then
      b=$t
    fi
  done
  echo "$b"
}

tv=$(best "$valfmt" stream --no-progress F12.2)
tn=$(best numfmt --format=%.2f)
ta=$(best awk '{printf "%12.2f\n", $1}')
printf 'lines          %d\n' "$lines"
printf 'valfmt F12.2   %.2f s\n' "$tv"
printf 'numfmt %%.2f    %.2f s   valfmt is %.2fx (goal >= 2)\n' "$tn" "$(awk -v a="$tn" -v b="$tv" 'BEGIN { print a / b }')"
printf 'awk %%12.2f     %.2f s   valfmt is %.2fx (goal >= 1)\n' "$ta" "$(awk -v a="$ta" -v b="$tv" 'BEGIN { print a / b }')"
