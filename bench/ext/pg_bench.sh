#!/usr/bin/env bash
# vf_put against to_char over a 1-million-row table in one PostgreSQL
# session (serial plan), on a throwaway cluster.  Needs the extension
# installed (make -C ext/postgres install).  Prints the best of five runs
# of each query in ns per row, the bare scan included for reference.
#
# Environment: ROWS (default 1000000), PG_CONFIG, PGUSER_OS (the system user
# that runs the cluster when this runs as root; default postgres).
set -euo pipefail
rows=${ROWS:-1000000}
bindir=$("${PG_CONFIG:-pg_config}" --bindir)
tmp=$(mktemp -d /tmp/valfmt-bench.XXXXXX)
chmod 755 "$tmp"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  os_user=${PGUSER_OS:-postgres}
  chown "$os_user" "$tmp"
  as_user=(runuser -u "$os_user" --)
fi
stop() {
  "${as_user[@]}" "$bindir/pg_ctl" -D "$tmp/data" -m immediate stop \
    >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap stop EXIT
"${as_user[@]}" "$bindir/initdb" -D "$tmp/data" -U postgres -A trust -E UTF8 \
  --locale=C --no-sync >/dev/null
port=$((20000 + RANDOM % 20000))
"${as_user[@]}" "$bindir/pg_ctl" -D "$tmp/data" -l "$tmp/log" -w \
  -o "-c listen_addresses=127.0.0.1 -p $port -k $tmp -c fsync=off" \
  start >/dev/null

queries=(
  "count(d)|scan alone"
  "count(vf_put(d, 'DATE9.'))|vf_put(d, 'DATE9.')"
  "count(to_char(d, 'DDMONYYYY'))|to_char(d, 'DDMONYYYY')"
  "count(vf_put(x, 'F12.2'))|vf_put(x, 'F12.2')"
  "count(to_char(x, 'FM999999990.00'))|to_char(x, 'FM999999990.00')"
  "count(vf_put(x, 'COMMA12.2'))|vf_put(x, 'COMMA12.2')"
  "count(to_char(x, 'FM999,999,990.00'))|to_char(x, 'FM999,999,990.00')"
  "count(x::text)|x::text"
)
{
  echo "CREATE EXTENSION valfmt;"
  echo "SET max_parallel_workers_per_gather = 0;"
  echo "CREATE TABLE t AS SELECT date '1990-01-01' + (i % 20000) AS d,"
  echo "  ((i::int8 * 7919 % 1000000) / 100.0 + 0.005)::float8 AS x"
  echo "  FROM generate_series(1, $rows) AS i;"
  echo "VACUUM ANALYZE t;"
  echo "\\timing on"
  for q in "${queries[@]}"; do
    for _ in 1 2 3 4 5; do echo "SELECT \$n\$${q#*|}\$n\$, ${q%%|*} FROM t;"; done
  done
} | "${as_user[@]}" "$bindir/psql" -X -q -At -h 127.0.0.1 -p "$port" \
  -U postgres -d postgres 2>&1 |
  awk -v rows="$rows" -F'|' '
    /^Time:/ { ms = $0; sub(/^Time: /, "", ms); sub(/ ms.*/, "", ms)
               if (!(name in best) || ms + 0 < best[name]) best[name] = ms + 0
               if (!(name in seen)) { seen[name] = 1; order[++n] = name }
               next }
    NF == 2 { name = $1 }
    END { for (i = 1; i <= n; i++)
            printf "%-34s %8.0f ns/row\n", order[i], best[order[i]] * 1e6 / rows }'
