// The fifty euro conversion formats, derived from VF_EURO_CURRENCIES.
//
//   EURFR<code>  value in the currency -> value / rate, shown by EUROX
//                (EURO for IEP and GBP): "   E1.000,00"
//   EURTO<code>  value in euros -> value * rate, shown as plain F
//
// One division or one multiplication by the table rate; no other rounding
// than F's, no triangulation between national currencies.  A missing
// value is shown by the printer as F shows it.  The printer runs on a
// private copy of the caller's block; the caller's block gets only outlen
// and outenc back.  outlen is the printer's: w whenever the field was laid
// out, never more bytes than were written when it was refused.
//
// The rates and the euro character are constant data (euro_rates.h): the
// formats need no set-up and may run on any number of threads at once.
#include "core/call.h"
#include "core/missing.h"
#include "numeric/euro_rates.h"
#include "numeric/field_call.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

// Runs printer on a copy of c whose value is x.
int32_t print_converted(fmtcall *c, fmtfn printer, double x) {
  fmtcall inner = *c;
  inner.value = &x;
  inner.valuelen = static_cast<int32_t>(sizeof x);
  const int32_t status = printer(&inner);
  c->outlen = inner.outlen;
  c->outenc = inner.outenc;
  return status;
}

int32_t euro_from(fmtcall *c, int32_t currency, fmtfn printer) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  if (c->value == nullptr) return printer(c);
  const double v = call_value(c);
  if (is_missing(v)) return printer(c);
  return print_converted(c, printer, v / kEuroState.rates[currency]);
}

// The amount in the currency, laid out by the fixed renderer straight
// into the caller's buffer.
int32_t euro_to(fmtcall *c, int32_t currency) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  if (c->value == nullptr) return zfmn(c);
  const double v = call_value(c);
  if (is_missing(v)) return render_fixed(c, c->w, c->d);
  Shown shown;
  const int32_t status =
      render_f(static_cast<char *>(c->out), out_capacity(c), c->w, c->d,
               v * kEuroState.rates[currency], shown);
  c->outlen = shown.len;
  return status;
}

} // namespace
} // namespace valfmt

extern "C" {

#define VF_EURO_FORMATS(stem, number, printer)                                 \
  VF_API int32_t zfm##stem(fmtcall *call) {                                    \
    return valfmt::euro_from(call, number, printer);                           \
  }                                                                            \
  VF_API int32_t zfm##stem##_to(fmtcall *call) {                               \
    return valfmt::euro_to(call, number);                                      \
  }
VF_EURO_CURRENCIES(VF_EURO_FORMATS)
#undef VF_EURO_FORMATS

VF_API const euro_reentstr *estrent(void) {
  return &valfmt::kEuroState;
}

VF_API const euro_reentstr *getrent(void) {
  return &valfmt::kEuroState;
}

} // extern "C"
