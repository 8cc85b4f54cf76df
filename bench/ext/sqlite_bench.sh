#!/usr/bin/env bash
# vf_put(x, 'F12.2') against printf('%.2f', x) over a 1-million-row table in
# the sqlite3 shell, with the extension built in ext/sqlite.  Prints the
# best of five runs of each query in ns per row, the bare scan included.
# Environment: ROWS (default 1000000).
set -euo pipefail
cd "$(dirname "$0")/../.."
rows=${ROWS:-1000000}
make -s -C ext/sqlite all
db=$(mktemp /tmp/valfmt-bench.XXXXXX.db)
trap 'rm -f "$db"' EXIT
queries=(
  "count(x)|scan alone"
  "count(vf_put(x, 'F12.2'))|vf_put(x, 'F12.2')"
  "count(printf('%.2f', x))|printf('%.2f', x)"
  "count(vf_put(x, 'COMMA12.2'))|vf_put(x, 'COMMA12.2')"
  "count(vf_put(d, 'DATE9.'))|vf_put(d, 'DATE9.')"
  "count(date(d * 86400 - 315619200, 'unixepoch'))|date(d, unixepoch)"
)
{
  echo ".load ./ext/sqlite/valfmt_sqlite"
  echo "CREATE TABLE t AS WITH RECURSIVE g(i) AS (SELECT 1 UNION ALL"
  echo "  SELECT i + 1 FROM g WHERE i < $rows)"
  echo "  SELECT (i * 7919 % 1000000) / 100.0 + 0.005 AS x,"
  echo "         10957 + i % 20000 AS d FROM g;"
  echo ".timer on"
  for q in "${queries[@]}"; do
    label=${q#*|}
    label=${label//\'/\'\'}
    for _ in 1 2 3 4 5; do echo "SELECT '$label', ${q%%|*} FROM t;"; done
  done
} | sqlite3 -batch "$db" 2>&1 |
  awk -v rows="$rows" -F'|' '
    /^Run Time:/ { s = $0; sub(/^Run Time: real /, "", s); sub(/ .*/, "", s)
                   if (!(name in best) || s + 0 < best[name]) best[name] = s + 0
                   if (!(name in seen)) { seen[name] = 1; order[++n] = name }
                   next }
    NF == 2 { name = $1 }
    END { for (i = 1; i <= n; i++)
            printf "%-34s %8.0f ns/row\n", order[i], best[order[i]] * 1e9 / rows }'
