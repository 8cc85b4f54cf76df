#!/bin/sh
# The shared library exports plain C symbols only: no C++ internals, no
# helpers of the valfmt namespace, nothing from the standard library.
# (That every header name and every built row function is exported is
# checked by the SharedLibrary suite, which loads the library with dlopen.)
lib="$1"
syms=$(nm -D --defined-only "$lib" | awk '{print $3}')
bad=$(printf '%s\n' "$syms" | grep -E '^_Z|valfmt|^std' | head -n 20)
if [ -n "$bad" ]; then
  echo "unexpected exported symbols:"; printf '%s\n' "$bad"; exit 1
fi
echo "exports ok: $(printf '%s\n' "$syms" | wc -l) symbols"
