#!/usr/bin/env bash
# Database hosts: builds the PostgreSQL extension against build/libvalfmt.so
# (building the library there when the build step has not), installs it,
# starts a throwaway cluster in a temporary folder on a loopback port as an
# unprivileged user, runs the pg_regress tests of ext/postgres and stops
# the cluster whatever happens; then builds the SQLite extension and drives
# the sqlite3 shell tests of ext/sqlite.
#
# Installing writes to the server's folders (pg_config --pkglibdir and
# --sharedir): run it as root, as CI does, or as a user with sudo.
#
# Environment: PG_CONFIG picks the server (default pg_config); PGUSER_OS the
# system user that runs the cluster when this runs as root (default
# postgres).
# shellcheck source=tools/ci/common.sh
source "$(dirname "$0")/common.sh"
root=$PWD

if [ ! -f build/CMakeCache.txt ]; then configure_gcc_build >/dev/null; fi
cmake --build build -j"$parallel" --target valfmt >/dev/null

# --- PostgreSQL -------------------------------------------------------
pg_config=${PG_CONFIG:-pg_config}
bindir=$("$pg_config" --bindir)
pgxs_dir=$(dirname "$(dirname "$("$pg_config" --pgxs)")")
make -s -C ext/postgres clean >/dev/null
make -s -C ext/postgres all
# the extension goes into the server's own folders: as root (CI), as a
# user who may write there, or through sudo; anything else stops here with
# that said, before a cluster is started
pkglibdir=$("$pg_config" --pkglibdir)
sharedir=$("$pg_config" --sharedir)/extension
if [ "$(id -u)" -eq 0 ] || { [ -w "$pkglibdir" ] && [ -w "$sharedir" ]; }; then
  make -s -C ext/postgres install >/dev/null
elif command -v sudo >/dev/null 2>&1; then
  sudo make -s -C ext/postgres install >/dev/null
else
  echo "ext.sh: installing into $pkglibdir and $sharedir needs root or sudo" >&2
  exit 1
fi

tmp=$(mktemp -d /tmp/valfmt-ext.XXXXXX)
chmod 755 "$tmp"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  os_user=${PGUSER_OS:-postgres}
  id "$os_user" >/dev/null 2>&1 || useradd --system --no-create-home "$os_user"
  chown "$os_user" "$tmp"
  as_user=(runuser -u "$os_user" --)
fi
data=$tmp/data
stop_cluster() {
  if [ -f "$data/postmaster.pid" ]; then
    "${as_user[@]}" "$bindir/pg_ctl" -D "$data" -m immediate stop >/dev/null 2>&1
  fi
  rm -rf "$tmp"
}
trap stop_cluster EXIT

"${as_user[@]}" "$bindir/initdb" -D "$data" -U postgres -A trust -E UTF8 \
  --locale=C --no-sync >"$tmp/initdb.log" 2>&1 || {
  cat "$tmp/initdb.log"
  exit 1
}
port=$((20000 + RANDOM % 20000))
"${as_user[@]}" "$bindir/pg_ctl" -D "$data" -l "$tmp/server.log" -w \
  -o "-c listen_addresses=127.0.0.1 -p $port -k $tmp -c fsync=off" \
  start >/dev/null || {
  cat "$tmp/server.log"
  exit 1
}

regress=$tmp/regress
mkdir -p "$regress"
cp -r ext/postgres/sql ext/postgres/expected "$regress/"
cp examples/cntlout.xml "$regress/"
[ ${#as_user[@]} -eq 0 ] || chown -R "$os_user" "$regress"
tests=$(sed -n 's/^REGRESS = //p' ext/postgres/Makefile)
# the locale formats' outputs join once the library has the locale database
# and the locale number formats (the locale setting is tested always)
syms=$(nm -D --defined-only build/libvalfmt.so)
if grep -qw LocnameToID <<<"$syms" && grep -qw nlnum <<<"$syms"; then
  tests="$tests locale_nl"
fi
# shellcheck disable=SC2086
if ! (cd "$regress" && "${as_user[@]}" env \
  VALFMT_TEST_CATALOG="$regress/cntlout.xml" \
  "$pgxs_dir/test/regress/pg_regress" --inputdir="$regress" \
  --outputdir="$regress" --bindir="$bindir" --host=127.0.0.1 --port="$port" \
  --user=postgres --dbname=valfmt_regress $tests); then
  cat "$regress/regression.diffs" 2>/dev/null
  exit 1
fi

# --- SQLite -----------------------------------------------------------
cd "$root"
make -s -C ext/sqlite clean >/dev/null
make -s -C ext/sqlite all
./ext/sqlite/run-tests.sh
