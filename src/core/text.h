// Byte-field helpers shared by the character formats and informats.  All
// work on caller buffers with explicit lengths and never write past them.
#pragma once

#include <cstdint>
#include <cstring>

namespace valfmt {

// Copies min(n, w) bytes of src into dst and blank-pads dst to w bytes;
// src and dst may overlap.  Nothing happens without a buffer or for w <= 0;
// a null src or negative n copies nothing.
inline void copy_padded(char *dst, int32_t w, const char *src, int32_t n) {
  if (dst == nullptr || w <= 0) return;
  if (src == nullptr || n < 0) n = 0;
  const int32_t k = n < w ? n : w;
  if (k > 0) std::memmove(dst, src, static_cast<std::size_t>(k));
  if (w > k) std::memset(dst + k, ' ', static_cast<std::size_t>(w - k));
}

// Length of a text without its trailing blanks (0 for an all-blank text).
inline int32_t trimmed_length(const char *text, int32_t len) {
  if (text == nullptr || len <= 0) return 0;
  while (len > 0 && text[len - 1] == ' ') --len;
  return len;
}

// Upper-cases len bytes in place by the POSIX rules: a..z only.
inline void upcase_ascii(char *text, int32_t len) {
  if (text == nullptr) return;
  for (int32_t i = 0; i < len; ++i)
    if (text[i] >= 'a' && text[i] <= 'z')
      text[i] = static_cast<char>(text[i] - 32);
}

} // namespace valfmt
