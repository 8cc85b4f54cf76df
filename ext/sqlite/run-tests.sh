#!/bin/sh
# Drives the sqlite3 shell over tests.sql with the built extension and
# compares what it prints (results and errors) with expected.out.
set -eu
cd "$(dirname "$0")"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
sqlite3 -batch :memory: <tests.sql >"$out" 2>&1 || true
if diff -u expected.out "$out"; then
  echo "sqlite: $(grep -c '' expected.out) lines as expected"
else
  echo "sqlite: output differs from expected.out" >&2
  exit 1
fi
