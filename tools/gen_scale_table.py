#!/usr/bin/env python3
"""Writes src/binary/scale_table.cpp: for i = 0..308 the largest magnitude
that can be multiplied by 10^i without overflow, as the double quotient of
the largest finite double and the double nearest 10^i (both roundings are
Python's correctly rounded float operations)."""
import sys

largest = sys.float_info.max
rows = [float.hex(largest / float(10**i)) for i in range(309)]
lines = [
    "// Largest magnitude that can be multiplied by 10^i without overflow:",
    "// entry i is the double quotient DBL_MAX / 10^i (10^i the double nearest",
    "// the power).  Written by tools/gen_scale_table.py; see vvzscal.",
    '#include "binary/scale.h"',
    "",
    "namespace valfmt {",
    "",
    "constinit const double kMaxScalable[kMaxScalableCount] = {",
]
for i in range(0, len(rows), 3):
    lines.append("    " + " ".join(r + "," for r in rows[i:i + 3]))
lines += ["};", "", "} // namespace valfmt", ""]
out = sys.argv[1] if len(sys.argv) > 1 else "src/binary/scale_table.cpp"
with open(out, "w") as f:
    f.write("\n".join(lines))
