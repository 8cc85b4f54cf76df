// $QUOTE: a character value between double quotes, each double quote in
// it written twice, trailing blanks dropped, blank-padded to w.
//
//   $QUOTE8. of  ab"c      "ab""c" "
//   $QUOTE5. of  ab"c      "ab"      the doubled quote does not fit
//
// The text always ends with a closing quote: when the columns run out, the
// last column takes it, and a doubled quote that would be cut in half is
// left out whole, so the result reads back as a prefix of the value.
//
// Narrow input gives narrow text.  UCS-2 input (inenc 25) gives UCS-2
// text: w units, outlen 2w bytes, outenc 25.
//
// The field takes min(w, room) columns, room being what the buffer holds
// (outsize bytes, or outsize / 2 units).  Fewer than two columns hold no
// quoted text: they are blanked and the status is VF_ERR_NO_ROOM.  A field
// cut to the buffer is still closed by a quote and reported with
// VF_ERR_OUTSIZE, so a short buffer is never taken for success.
#include "core/call.h"
#include "core/text.h"
#include "numeric/text_fields.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr uint16_t kQuote = '"';
constexpr uint16_t kBlank = ' ';

struct NarrowIn {
  const char *p;
  uint16_t at(int32_t i) const { return static_cast<unsigned char>(p[i]); }
};

struct NarrowOut {
  char *p;
  void set(int32_t i, uint16_t u) const { p[i] = static_cast<char>(u); }
};

// Writes the quoted text of len input units into n >= 2 columns.
template <class In, class Out>
void quote_into(Out out, int32_t n, In in, int32_t len) {
  out.set(0, kQuote);
  int32_t col = 1;
  // The last column is kept for the closing quote.
  for (int32_t i = 0; i < len; ++i) {
    const uint16_t u = in.at(i);
    const int32_t need = u == kQuote ? 2 : 1;
    if (col + need > n - 1) break;
    out.set(col++, u);
    if (u == kQuote) out.set(col++, kQuote);
  }
  out.set(col++, kQuote);
  while (col < n) out.set(col++, kBlank);
}

template <class Out> void blanks(Out out, int32_t n) {
  for (int32_t i = 0; i < n; ++i) out.set(i, kBlank);
}

int32_t quote(fmtcall *c) {
  const bool wide = c->inenc == VF_ENC_UCS2;
  const int32_t cap = out_capacity(c);
  const int32_t room = wide ? cap / 2 : cap;
  const int32_t w = c->w < 0 ? 0 : c->w;
  const int32_t n = w < room ? w : room;
  const int32_t len = c->value != nullptr && c->valuelen > 0 ? c->valuelen : 0;
  c->outlen = wide ? 2 * n : n;
  c->outenc = wide ? VF_ENC_UCS2 : VF_ENC_NARROW;
  const int32_t cut = w > room ? VF_ERR_OUTSIZE : VF_OK;
  if (wide) {
    const Ucs2Field out{c->out};
    if (n < 2) {
      blanks(out, n);
      return cut != VF_OK ? cut : VF_ERR_NO_ROOM;
    }
    const Ucs2Text in{c->value};
    quote_into(out, n, in, trimmed_length(in, len));
  } else {
    const NarrowOut out{static_cast<char *>(c->out)};
    if (n < 2) {
      blanks(out, n);
      return cut != VF_OK ? cut : VF_ERR_NO_ROOM;
    }
    const char *in = static_cast<const char *>(c->value);
    quote_into(out, n, NarrowIn{in}, trimmed_length(in, len));
  }
  return cut;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmcq(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  return valfmt::quote(call);
}

} // extern "C"
