// The NLMNIxxx and NLMNLxxx currency formats: the locale's monetary
// conventions (decimal point, separator, grouping, signs, placement) with
// the symbol of a fixed currency, its international code (nlmnyint) or its
// local sign (nlmnyloc; the code stands in when the requested output
// encoding cannot hold the sign).
//
// Fitting, in order: as laid out (digits with d decimals, or in general
// form padded to w when that text, sign included, is longer than w);
// without grouping; without the symbol; in general form with d
// significant digits, with and then without the symbol (a general text,
// sign included, wider than w gives asterisks at once); the bare number
// with d decimals and its sign; then asterisks.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "core/units.h"
#include "nls/currency_table.h"
#include "nls/nl_compose.h"
#include "nls/nl_output.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kCurrencyLimits = row_limits("NLMNIUSD");
constexpr int32_t kDigitsRoom = 512;

int32_t field_number(int32_t locid, int32_t field) {
  std::string_view s;
  if (!read_locale_field(locid, field, s)) return 0;
  int32_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    v = v * 10 + (c - '0');
    if (v > 1000) break;
  }
  return v;
}

std::string_view field_text(int32_t locid, int32_t field) {
  std::string_view s;
  return read_locale_field(locid, field, s) ? s : std::string_view{};
}

NumberConventions monetary_conventions(int32_t locid) {
  NumberConventions c;
  c.decimal_point = field_text(locid, 100);
  c.thousands_sep = field_text(locid, 101);
  const std::string_view g = field_text(locid, 102);
  c.grouping = !g.empty() && g[0] >= '0' && g[0] <= '9' ? g[0] - '0' : 0;
  c.positive_sign = field_text(locid, 103);
  c.negative_sign = field_text(locid, 104);
  c.p_cs_precedes = field_number(locid, 107);
  c.p_sep_by_space = field_number(locid, 108);
  c.n_cs_precedes = field_number(locid, 109);
  c.n_sep_by_space = field_number(locid, 110);
  c.p_sign_posn = field_number(locid, 111);
  c.n_sign_posn = field_number(locid, 112);
  return c;
}

// True when every character of the (escaped) symbol survives conversion
// to the requested encoding: the Unicode encodings hold all of them, a
// narrow result only those of the Windows-1252 table.
bool symbol_fits_encoding(std::string_view s, uint32_t reqenc) {
  if (reqenc == VF_ENC_UTF8 || reqenc == VF_ENC_UCS2 ||
      reqenc == VF_ENC_UCS2BE || reqenc == 26 || reqenc == 27)
    return s.find('?') == std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '?') return false;
    const bool escape = s.size() - i >= 7 && s[i] == '<' &&
                        (s[i + 1] == 'u' || s[i + 1] == 'U') && s[i + 6] == '>';
    if (!escape) continue;
    unsigned u = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
      const char h = s[k];
      const unsigned digit =
          h >= '0' && h <= '9'   ? static_cast<unsigned>(h - '0')
          : h >= 'a' && h <= 'f' ? static_cast<unsigned>(h - 'a' + 10)
          : h >= 'A' && h <= 'F' ? static_cast<unsigned>(h - 'A' + 10)
                                 : 0u;
      u = u * 16 + digit;
    }
    bool found = false;
    for (uint16_t unit : kCp1252ToUcs2) found = found || unit == u;
    if (!found) return false;
    i += 6;
  }
  return true;
}

// One composed attempt delivered right-aligned; NoRoom ends the search.
Delivery attempt(fmtcall *call, const NumberConventions &c, std::string_view d,
                 bool negative, bool group, bool symbol) {
  char text[kComposeMax];
  bool grouped = false;
  const ComposeRequest r{d, negative, group, symbol};
  const int32_t len = compose_number(c, r, text, grouped);
  if (len < 0) return Delivery::TooWide;
  return deliver_right(call, text, len, call->w);
}

int32_t fit_currency(fmtcall *call, const NumberConventions &c, double v) {
  const int32_t w = call->w;
  if (!std::isfinite(v)) return write_wide_stars(call, w);
  int32_t d = std::clamp(call->d, 0, kCurrencyLimits.maxd);
  if (c.decimal_point.empty()) d = 0;
  const bool neg = v < 0;
  char printed[kDigitsRoom];
  int32_t n = fixed_text(v, d, printed, kDigitsRoom);
  // 0: the fixed form does not fit the digit area at all.
  if (n == 0 || n > w) n = general_text(v, d, w, printed, kDigitsRoom);
  const std::string_view fixed = unsigned_digits(printed, n);
  const bool tries[3][2] = {{true, true}, {false, true}, {false, false}};
  for (const auto &t : tries) {
    const Delivery got = attempt(call, c, fixed, neg, t[0], t[1]);
    if (got == Delivery::Done) return VF_OK;
    if (got == Delivery::NoRoom) return write_wide_stars(call, w);
  }
  char general[kDigitsRoom];
  const int32_t g = general_text(v, d, 0, general, kDigitsRoom);
  if (g > w) return write_wide_stars(call, w);
  const std::string_view gen = unsigned_digits(general, g);
  for (const bool symbol : {true, false}) {
    const Delivery got = attempt(call, c, gen, neg, false, symbol);
    if (got == Delivery::Done) return VF_OK;
    if (got == Delivery::NoRoom) return write_wide_stars(call, w);
  }
  char bare[kDigitsRoom];
  const int32_t b = fixed_text(v, d, bare, kDigitsRoom);
  if (b > 0 && b <= kComposeMax &&
      deliver_right(call, bare, b, w) == Delivery::Done)
    return VF_OK;
  return write_wide_stars(call, w);
}

int32_t format_currency(fmtcall *call, const char *code, bool local) {
  const int32_t checked = check_width_decimals(call, kCurrencyLimits);
  if (checked != VF_OK) return checked;
  if (call->value == nullptr) return write_wide_stars(call, call->w);
  const double v = call_value(call);
  if (is_missing(v)) return write_missing(call, call->w, 0);
  const LconvMonetary *rec = find_currency(code);
  if (rec == nullptr) return write_wide_stars(call, call->w);
  NumberConventions c = monetary_conventions(call->localeid);
  c.symbol = rec->int_curr_symbol;
  if (local && symbol_fits_encoding(rec->currency_symbol, call->reqenc))
    c.symbol = rec->currency_symbol;
  return fit_currency(call, c, v);
}

} // namespace

const LconvMonetary *find_currency(std::string_view code) {
  const auto *end = lconv_monetary + kCurrencyRecords;
  const auto *it =
      std::lower_bound(lconv_monetary, end, code,
                       [](const LconvMonetary &r, std::string_view k) {
                         return std::string_view(r.int_curr_symbol) < k;
                       });
  return it != end && code == it->int_curr_symbol ? it : nullptr;
}

int32_t nlmnyint(fmtcall *call, const LconvMonetary &rec) {
  return format_currency(call, rec.int_curr_symbol, false);
}

int32_t nlmnyloc(fmtcall *call, const LconvMonetary &rec) {
  return format_currency(call, rec.int_curr_symbol, true);
}

} // namespace valfmt

extern "C" {

// clang-format off
#define VF_CURRENCIES(X) \
  X(aed, "AED") \
  X(aud, "AUD") \
  X(bgn, "BGN") \
  X(brl, "BRL") \
  X(cad, "CAD") \
  X(chf, "CHF") \
  X(cny, "CNY") \
  X(czk, "CZK") \
  X(dkk, "DKK") \
  X(eek, "EEK") \
  X(egp, "EGP") \
  X(eur, "EUR") \
  X(gbp, "GBP") \
  X(hkd, "HKD") \
  X(hrk, "HRK") \
  X(huf, "HUF") \
  X(idr, "IDR") \
  X(ils, "ILS") \
  X(inr, "INR") \
  X(jpy, "JPY") \
  X(krw, "KRW") \
  X(ltl, "LTL") \
  X(lvl, "LVL") \
  X(mop, "MOP") \
  X(mxn, "MXN") \
  X(myr, "MYR") \
  X(nok, "NOK") \
  X(nzd, "NZD") \
  X(pln, "PLN") \
  X(rol, "ROL") \
  X(rub, "RUB") \
  X(rur, "RUR") \
  X(sek, "SEK") \
  X(sgd, "SGD") \
  X(skk, "SKK") \
  X(thb, "THB") \
  X(try, "TRY") \
  X(twd, "TWD") \
  X(usd, "USD") \
  X(zar, "ZAR")
// clang-format on

#define VF_CURRENCY_FNS(code, text)                                            \
  VF_API int32_t nlmni##code(fmtcall *call) {                                  \
    if (call == nullptr) return VF_ERR_BAD_CALL;                               \
    return valfmt::format_currency(call, text, false);                         \
  }                                                                            \
  VF_API int32_t nlmnl##code(fmtcall *call) {                                  \
    if (call == nullptr) return VF_ERR_BAD_CALL;                               \
    return valfmt::format_currency(call, text, true);                          \
  }
VF_CURRENCIES(VF_CURRENCY_FNS)
#undef VF_CURRENCY_FNS
#undef VF_CURRENCIES

} // extern "C"
