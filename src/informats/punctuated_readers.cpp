// The readers of punctuated amounts: @COMMA, @DOLLAR and @NEGPAREN (the
// comma family), @COMMAX and @DOLLARX (points group, commas separate the
// decimals), @PERCENT and @YEN.  Each copies at most 32 bytes of its text
// into a stack buffer, deletes the punctuation, notes a leading '-' or '('
// as the sign, and hands the rest to the standard reader.
#include "registry/functions.h"
#include "informats/informats.h"
#include "informats/reader_support.h"

namespace valfmt {
namespace {

// Removes from buf[0..n) every byte for which drop() is true; returns the
// new length.
template <class Pred> int32_t drop_bytes(char *buf, int32_t n, Pred drop) {
  int32_t k = 0;
  for (int32_t i = 0; i < n; ++i)
    if (!drop(static_cast<unsigned char>(buf[i]))) buf[k++] = buf[i];
  return k;
}

// Copies min(w, valuelen, 32) bytes of the caller's text into buf.
int32_t copy_clean_input(const fmtcall *call, char *buf) {
  int32_t n = field_length(call->w, call->valuelen, call->value);
  if (n > kCleanBuf) n = kCleanBuf;
  if (n <= 0) return 0;
  std::memcpy(buf, call->value, static_cast<std::size_t>(n));
  return n;
}

inline void negate_unless_missing(void *out) {
  const double x = load(out);
  if (!is_missing(x)) store(out, -x);
}

// Reads the text left after the sign; when that fails, once more without
// any '-' and '(' (a trailing minus is deleted, not applied).
int32_t read_unsigned_rest(char *p, int32_t n, int32_t d, void *out) {
  const int32_t st = read_number(p, n, d, out);
  if (st == VF_OK) return st;
  const int32_t k =
      drop_bytes(p, n, [](unsigned char c) { return c == '-' || c == '('; });
  if (k == 0) return st;
  return read_number(p, k, d, out);
}

// The comma family on text that is already in a work buffer (at most 32
// bytes; modified in place).
int32_t read_comma(char *buf, int32_t n, int32_t d, void *out) {
  store_missing(out);
  n = drop_bytes(buf, n, [](unsigned char c) {
    return c == ',' || c == '$' || c == '%' || c == ')' || c == ' ';
  });
  if (n == 0) return VF_OK;

  char *p = buf;
  bool negative = false;
  if (*p == '(' || *p == '-') {
    negative = true;
    ++p;
    --n;
  }
  if (std::memchr(p, '(', static_cast<std::size_t>(n)) != nullptr)
    return VF_ERR_PAREN_TWICE;
  while (n > 0 && *p == '-') {
    ++p;
    --n;
  }
  if (n == 0) return VF_ERR_SIGN;

  const int32_t st = read_unsigned_rest(p, n, d, out);
  if (st == VF_OK && negative) negate_unless_missing(out);
  return st;
}

int32_t read_comma_field(const fmtcall *call) {
  char buf[kCleanBuf];
  const int32_t n = copy_clean_input(call, buf);
  return read_comma(buf, n, call->d, call->out);
}

// The comma-decimal family: points group, commas separate the decimals.
int32_t read_commax(const fmtcall *call) {
  store_missing(call->out);
  char buf[kCleanBuf];
  int32_t n = copy_clean_input(call, buf);
  n = drop_bytes(buf, n, [](unsigned char c) {
    return c == '.' || c == '$' || c == '%' || c == ')' || c == ' ';
  });
  if (n == 0) return VF_OK;
  for (int32_t i = 0; i < n; ++i)
    if (buf[i] == ',') buf[i] = '.';
  return read_comma(buf, n, call->d, call->out);
}

// The comma family, divided by 100 when the field holds a '%'.
int32_t read_percent(const fmtcall *call) {
  const int32_t n = field_length(call->w, call->valuelen, call->value);
  const bool percent =
      n > 0 && std::memchr(call->value, '%', static_cast<std::size_t>(n));
  const int32_t st = read_comma_field(call);
  if (st != VF_OK || !percent) return st;
  const double x = load(call->out);
  if (is_missing(x) || x == 0.0) return st;
  return store_in_range(call->out, x / 100.0);
}

// @YEN: a '(' only first and only once; the yen sign is a backslash (0x5C).
int32_t read_yen(const fmtcall *call) {
  void *out = call->out;
  store_missing(out);
  char buf[kCleanBuf];
  int32_t n = copy_clean_input(call, buf);
  n = drop_bytes(buf, n, [](unsigned char c) {
    return c == ',' || c == '$' || c == '%' || c == ')' || c == ' ' ||
           c == '\\';
  });
  if (n == 0) return VF_OK;
  const void *later =
      n > 1 ? std::memchr(buf + 1, '(', static_cast<std::size_t>(n - 1))
            : nullptr;
  if (later != nullptr)
    return buf[0] == '(' ? VF_ERR_PAREN_TWICE : VF_ERR_PAREN_POSITION;
  const bool negative = buf[0] == '(' || buf[0] == '-';
  n = drop_bytes(buf, n, [](unsigned char c) { return c == '-' || c == '('; });
  if (n == 0) return VF_ERR_NOTHING_TO_READ;
  const int32_t st = read_number(buf, n, call->d, out);
  if (st == VF_OK && negative) negate_unless_missing(out);
  return st;
}

} // namespace
} // namespace valfmt

extern "C" {

// Punctuated readers: name, reader.
#define VF_PUNCTUATED_READERS(X)                                               \
  X(zifmcma, read_comma_field)                                                 \
  X(zifmcmx, read_commax)                                                      \
  X(zifmpct, read_percent)                                                     \
  X(zifmyen, read_yen)

VF_PUNCTUATED_READERS(VF_DEFINE_NUMERIC_INFORMAT)
#undef VF_PUNCTUATED_READERS

} // extern "C"
