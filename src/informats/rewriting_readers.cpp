// The readers that change their text before the standard reader sees it:
// @BZ (blanks are zeros), @NUMX (a comma is the decimal point) and
// @SIZEKMG (a K, M or G suffix scales by powers of 1024).
#include "registry/functions.h"
#include "informats/informats.h"
#include "informats/reader_support.h"

namespace valfmt {
namespace {

// @BZ: from the first non-blank (or the start of an all-blank field), at
// most 32 characters with every blank read as '0'.
int32_t read_blanks_as_zeros(const fmtcall *call) {
  const int32_t n = field_length(call->w, call->valuelen, call->value);
  const char *text = static_cast<const char *>(call->value);
  if (n <= 0) return read_number(text, n, call->d, call->out);
  int32_t start = 0;
  while (start < n && text[start] == ' ') ++start;
  if (start == n) start = 0;
  int32_t k = n - start;
  if (k > kCleanBuf) k = kCleanBuf;
  char buf[kCleanBuf];
  for (int32_t i = 0; i < k; ++i)
    buf[i] = text[start + i] == ' ' ? '0' : text[start + i];
  return read_number(buf, k, call->d, call->out);
}

// @NUMX: a field with more than blanks and points is read with its commas
// turned into points (at most 32 characters); others as they stand.
int32_t read_comma_point(const fmtcall *call) {
  const int32_t n = field_length(call->w, call->valuelen, call->value);
  const char *text = static_cast<const char *>(call->value);
  bool content = false;
  for (int32_t i = 0; i < n && !content; ++i)
    content = text[i] != ' ' && text[i] != '.';
  if (!content) return read_number(text, n, call->d, call->out);
  char buf[kCleanBuf];
  const int32_t k = n < kCleanBuf ? n : kCleanBuf;
  for (int32_t i = 0; i < k; ++i) buf[i] = text[i] == ',' ? '.' : text[i];
  return read_number(buf, k, call->d, call->out);
}

// The factor a size suffix stands for (1 for any other character).
double size_factor(char suffix) {
  switch (suffix) {
  case 'K':
  case 'k':
    return 1024.0;
  case 'M':
  case 'm':
    return 1024.0 * 1024.0;
  case 'G':
  case 'g':
    return 1024.0 * 1024.0 * 1024.0;
  default:
    return 1.0;
  }
}

// @SIZEKMG: the text up to its last digit is the number; the character
// after that digit is the suffix.  An empty field reads as 0.
int32_t read_size(const fmtcall *call) {
  void *out = call->out;
  if (call->w < 1 || call->valuelen < 1 || call->value == nullptr) {
    store(out, 0.0);
    return VF_OK;
  }
  const char *text = static_cast<const char *>(call->value);
  int32_t n = call->w < call->valuelen ? call->w : call->valuelen;
  while (n > 0 && text[n - 1] == ' ') --n;
  int32_t last = n;
  while (last > 0 && !is_digit(static_cast<unsigned char>(text[last - 1])))
    --last;
  // A field without any digit is read as it stands, so that missing-value
  // notations keep their meaning and anything else is invalid data.
  if (last == 0) return read_number(text, n, call->d, out);

  const int32_t st = read_number(text, last, call->d, out);
  if (st != VF_OK || last == n) return st;
  const double x = load(out);
  if (is_missing(x) || x == 0.0) return st;
  // A scaled value beyond the double range is out of range like any other.
  return store_in_range(out, x * size_factor(text[last]));
}

} // namespace
} // namespace valfmt

extern "C" {

// Rewriting readers: name, reader.
#define VF_REWRITING_READERS(X)                                                \
  X(zifmbz, read_blanks_as_zeros)                                              \
  X(zifmnmx, read_comma_point)                                                 \
  X(zifmkmg, read_size)

VF_REWRITING_READERS(VF_DEFINE_NUMERIC_INFORMAT)
#undef VF_REWRITING_READERS

// The descriptor row's name for the @SIZEKMG reader.
VF_API int32_t sizkmgi(fmtcall *call) {
  return zifmkmg(call);
}

} // extern "C"
