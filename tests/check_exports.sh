#!/bin/sh
# The shared library exports plain C symbols only: no C++ internals, no
# helpers of the valfmt namespace, nothing from the standard library.
lib="$1"
syms=$(nm -D --defined-only "$lib" | awk '{print $3}')
bad=$(printf '%s\n' "$syms" | grep -E '^_Z|valfmt|^std' | head -n 20)
if [ -n "$bad" ]; then
  echo "unexpected exported symbols:"; printf '%s\n' "$bad"; exit 1
fi
for s in xfname3 xfname xfname2 xffmt xfdel xfmalloc xffree setfptr xfload \
         getep get_fmt_cntl_anchor xfinit xfinit2 zstrip get_fmt_poss_table \
         zmiss ZMISSV zfmmiss fmtposs names_and_entries LATIN1ToUNICODE \
         UNICODEToUTF8 UTF8ToUNICODE UPCASE LOWCASE EncnameToID \
         EncodingMethod NLSNUMCHAR getUCS2ResultFromNarrowCharBufForInDB \
         jazwfbin jazwfdte jazwfmsc jazwfnls jazwftme jazwfuwf jazwibin \
         jazwidte jazwimsc jazwiuwi zfmcrash zfmvernum zfmintrns; do
  printf '%s\n' "$syms" | grep -qx "$s" || { echo "missing export: $s"; exit 1; }
done
# Every descriptor function that is linked in is exported too.
echo "exports ok: $(printf '%s\n' "$syms" | wc -l) symbols"
