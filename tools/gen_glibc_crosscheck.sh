#!/usr/bin/env bash
# Regenerates tests/nls/formats/data/glibc_texts.tsv: numbers, money and
# month/weekday names as the C library writes them under the UTF-8 locales
# the locale-format tests compare with.  Locales that are not compiled on
# this machine are compiled with localedef into a temporary directory and
# used through LOCPATH.  Needs the `locales` package (locale sources) and a
# C compiler; runs only when the data is regenerated.
set -euo pipefail
cd "$(dirname "$0")/.."
locales="en_US de_DE fr_FR ja_JP ar_SA zh_CN hi_IN pt_BR"
out=tests/nls/formats/data/glibc_texts.tsv
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O1 -o "$work/glibc_texts" tools/nls_crosscheck/glibc_texts.c -lm
mkdir -p "$work/loc"
{
  echo "# locale<TAB>kind<TAB>argument<TAB>text, from tools/gen_glibc_crosscheck.sh"
  for l in $locales; do
    if ! LC_ALL=$l.UTF-8 "$work/glibc_texts" "$l.UTF-8" >/dev/null 2>&1; then
      localedef -c -i "$l" -f UTF-8 "$work/loc/$l.UTF-8" >/dev/null 2>&1 || true
      export LOCPATH=$work/loc
    fi
    "$work/glibc_texts" "$l.UTF-8" | sed "s/^/$l\t/"
  done
} >"$out"
echo "wrote $out ($(wc -l <"$out") lines)"
