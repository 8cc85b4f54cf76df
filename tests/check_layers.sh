#!/bin/sh
# The layers point one way: core <- families <- userfmt <- registry/access.
# Fails with the offending lines when a source includes a layer above it.
src="${1:-$(dirname "$0")/../src}"
status=0
check() { # folder, allowed-include regex
  bad=$(grep -rnE '^#include "' "$src/$1" 2>/dev/null |
        grep -vE "#include \"($2)\"")
  if [ -n "$bad" ]; then
    echo "$1 includes a layer above it:"; echo "$bad"; status=1
  fi
}
families='numeric|datetime|informats|binary|nls'
shared='valfmt\.h|core/[a-z_0-9]+\.h|registry/(functions|limits)\.h'
check core 'valfmt\.h|core/[a-z_0-9]+\.h'
for f in numeric datetime informats binary nls; do
  check "$f" "$shared|($families)/[a-z_0-9/]+\.h"
done
check userfmt "$shared|($families|userfmt)/[a-z_0-9]+\.h"
check registry "valfmt\.h|core/[a-z_0-9]+\.h|registry/[A-Za-z_0-9/]+\.(h|def)|($families|userfmt)/[a-z_0-9]+\.h"
[ $status -eq 0 ] && echo "layers ok"
exit $status
