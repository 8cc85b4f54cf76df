// Binary integers in both byte orders: the routines other families may
// build on, and the transport integer reader, which stands in no
// descriptor table.
#pragma once

#include <cstdint>

#include "valfmt.h"

namespace valfmt {

// Writes the n low-order bytes (n <= 8) of v most significant first.  When
// v does not fit n bytes as a signed integer, the field holds the nearest
// value that does and the status is VF_WARN_RANGE; else VF_OK.
int32_t wzctint(int64_t v, unsigned char *out, int32_t n);

// The signed big-endian integer of n bytes (n <= 8; fewer than 1 byte
// reads as 0), sign-extended from the first byte.
int64_t wzrtint(const unsigned char *p, int32_t n);

} // namespace valfmt

extern "C" {
// The reverse of XPORTINT: wzrtint of min(w, valuelen) bytes, divided by
// 10^d.  Same entry checks and statuses as @S370FIB.
VF_API int32_t xprtiin(fmtcall *call);
}
