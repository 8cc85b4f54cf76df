// Runtime string routines shared by the format families.  All work on
// caller buffers with explicit lengths and never write past them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace valfmt {

// Copy min(n, w) bytes of src into dst and blank-pad dst to w bytes;
// src and dst may overlap.
void vzmp(char *dst, int32_t w, const char *src, int32_t n);

// Length of text without trailing blanks (0 for an all-blank text).
int32_t wzstrip(const char *text, int32_t len);

// Upper-case len bytes in place (POSIX locale rules: a..z only).
void wzstrup(char *text, int32_t len);

} // namespace valfmt
