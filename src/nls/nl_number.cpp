// NLNUM, NLNUMI, NLMNY, NLMNYI, NLPCT and NLPCTI: numbers, money and
// percentages laid out by the locale conventions record of one pattern
// field (zkfnum), right-aligned in w 16-bit columns.
//
// Fitting: the digits are written with d decimals, or in general form
// (left-aligned, blank-padded to w - k) when that text, sign included, is
// longer than w.  A text wider than w columns is retried without
// grouping, then with fewer decimals (a value below one switches to the
// general form first), then in general form with a width reduction k that
// grows until the text fits or w - k drops below 2; then asterisks.
// When the locale record cannot be read the plain format (COMMA, DOLLAR,
// PERCENT) runs instead and its text is converted.
//
// A d above the formats' 31 decimals (unchecked calls) is read as 31, so
// that the digits always fit the work area.
//
// A missing value is the narrow missing display (d kept when 0 <= d < w);
// the percentages place it one column in, with w reduced by 3, as the
// plain PERCENT format does, the first column blank.  A NaN that is not a
// missing value and the infinities show as asterisks.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "nls/expand.h"
#include "nls/nl_compose.h"
#include "nls/nl_fast.h"
#include "nls/nl_output.h"
#include "nls/nl_number.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr int32_t kMaxAttempts = 200;
// The decimals of the six layout formats; a larger d (possible when the
// caller does not ask for the check) is read as this many.
constexpr int32_t kMaxDecimals = row_limits("NLNUM").maxd;
static_assert(kMaxDecimals == row_limits("NLNUMI").maxd &&
              kMaxDecimals == row_limits("NLMNY").maxd &&
              kMaxDecimals == row_limits("NLMNYI").maxd &&
              kMaxDecimals == row_limits("NLPCT").maxd &&
              kMaxDecimals == row_limits("NLPCTI").maxd);
constexpr int32_t kDigitsRoom = 512;

// Decimal digits of a field (an empty or unreadable field is 0); with
// `last`, the value of its last digit only.
int32_t field_value(std::string_view s, bool last) {
  int32_t v = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') continue;
    v = last ? c - '0' : std::min(v * 10 + (c - '0'), 1 << 20);
  }
  return v;
}

// Where the conventions of one pattern field come from: the symbol, the
// three separator fields and the six flags (-1 for "the percent set").
struct ConventionSource {
  int32_t field;
  int32_t symbol;        // field, 0 none, -1 "%"
  bool fixed_separators; // ".", ",", 3 instead of fields 115 to 117
  bool monetary;
};

constexpr ConventionSource kSources[] = {
    {113, 99, false, true}, {114, 98, false, true},  {126, 0, false, false},
    {127, 0, true, false},  {128, -1, false, false}, {129, -1, true, false}};

} // namespace

bool locale_conventions(int32_t locid, int32_t field, NumberConventions &c) {
  const ConventionSource *src = nullptr;
  for (const ConventionSource &s : kSources)
    if (s.field == field) src = &s;
  std::string_view pattern;
  if (src == nullptr || !read_locale_field(locid, field, pattern)) return false;
  auto text = [locid](int32_t f) {
    const std::string_view t = locale_field(locid, f);
    return t.size() <= VF_LOC_TEXT ? t : std::string_view{};
  };
  auto number = [&](int32_t f) { return field_value(text(f), false); };
  c = NumberConventions{};
  c.symbol = src->symbol > 0   ? text(src->symbol)
             : src->symbol < 0 ? std::string_view("%")
                               : std::string_view{};
  const int32_t base = src->monetary ? 100 : 115;
  if (src->fixed_separators) {
    c.decimal_point = ".";
    c.thousands_sep = ",";
    c.grouping = 3;
  } else {
    c.decimal_point = text(base);
    c.thousands_sep = text(base + 1);
    c.grouping = field_value(text(base + 2), true);
  }
  c.positive_sign = text(src->monetary ? 103 : 118);
  c.negative_sign = text(src->monetary ? 104 : 119);
  if (src->symbol < 0) {
    c.p_cs_precedes = 0, c.p_sep_by_space = 0, c.p_sign_posn = 1;
    c.n_cs_precedes = 0, c.n_sep_by_space = 0, c.n_sign_posn = 1;
    return true;
  }
  const int32_t flags = src->monetary ? 107 : 120;
  c.p_cs_precedes = number(flags);
  c.p_sep_by_space = number(flags + 1);
  c.n_cs_precedes = number(flags + 2);
  c.n_sep_by_space = number(flags + 3);
  c.p_sign_posn = number(flags + 4);
  c.n_sign_posn = number(flags + 5);
  return true;
}

namespace {

bool is_percent_field(int32_t field) {
  return field == 128 || field == 129;
}

int32_t missing_number(fmtcall *call, int32_t w, int32_t field) {
  const int32_t d = call->d >= 0 && call->d < w ? call->d : 99;
  // Without width there is no field to place the percent layout in.
  if (!is_percent_field(field) || w < 1) return write_missing(call, w, d);
  const int32_t cap = out_capacity(call);
  if (cap < 1) return write_missing(call, w, d);
  fmtcall inner = *call;
  inner.out = static_cast<char *>(call->out) + 1;
  inner.outsize = cap - 1;
  write_missing(&inner, w - 3, d);
  static_cast<char *>(call->out)[0] = ' ';
  call->outlen = inner.outlen + 1;
  call->outenc = VF_ENC_NARROW;
  return VF_OK;
}

} // namespace

int32_t fit_number(fmtcall *call, const NumberConventions &c, double v,
                   int32_t w, int32_t d) {
  // No room at all (w of 0 or below): the empty asterisk field, before
  // any arithmetic on w.
  if (!std::isfinite(v) || w < 1) return write_wide_stars(call, w);
  if (c.decimal_point.empty()) d = 0;
  const bool negative = v < 0;
  bool group = true;
  int32_t k = 0;
  for (int32_t attempt = 0; attempt < kMaxAttempts; ++attempt) {
    char printed[kDigitsRoom];
    int32_t n = fixed_text(v, d, printed, kDigitsRoom);
    // 0: the fixed form does not fit the digit area at all.
    if (n == 0 || n > w || k > 0)
      n = general_text(v, d, w - k, printed, kDigitsRoom);
    const std::string_view digits = unsigned_digits(printed, n);
    const bool small =
        digits.size() >= 2 && digits[0] == '0' && digits[1] == '.';
    char text[kComposeMax];
    bool grouped = false;
    const ComposeRequest r{digits, negative, group, true};
    const int32_t len = compose_number(c, r, text, grouped);
    if (len >= 0) {
      const Delivery got = deliver_right(call, text, len, w);
      if (got == Delivery::Done) return VF_OK;
      if (got == Delivery::NoRoom) return write_wide_stars(call, w);
    }
    if (grouped) {
      group = false;
    } else if (d > 0) {
      if (small && k == 0)
        k = 1;
      else
        --d;
    } else if (k == 0) {
      k = (len < 0 ? kComposeMax : escaped_length(text, len)) - w;
      if (k < 1 || k >= w) return write_wide_stars(call, w);
    } else if (w - k < 2) {
      return write_wide_stars(call, w);
    } else {
      ++k;
    }
  }
  return write_wide_stars(call, w);
}

int32_t zkfnum(fmtcall *call, int32_t w, const char * /*pattern*/,
               int32_t field) {
  const double v = call_value(call);
  if (is_missing(v)) return missing_number(call, w, field);
  const NumberLayout *layout = number_layout(call->localeid, field);
  if (layout == nullptr || !layout->readable) return -1;
  const double x = is_percent_field(field) && v != 0 ? v * 100 : v;
  const int32_t d = std::clamp(call->d, 0, kMaxDecimals);
  if (write_number_direct(call, *layout, x, w, d)) return VF_OK;
  call->outlen = 0;
  return fit_number(call, layout->conv, x, w, d);
}

int32_t format_nl_number(fmtcall *call, RowLimits limits, int32_t field,
                         fmtfn base) {
  const int32_t checked = check_width_decimals(call, limits);
  if (checked != VF_OK) return checked;
  if (call->value == nullptr) return write_wide_stars(call, call->w);
  if (zkfnum(call, call->w, nullptr, field) == VF_OK) return VF_OK;
  const int32_t cap = out_capacity(call);
  const int32_t status = run_base_format(call, base, call->w, call->d, cap);
  if (status == VF_OK || status == VF_WARN) {
    char text[kComposeMax];
    const int32_t n =
        call->outlen > 0 && call->outlen <= cap && call->outlen <= kComposeMax
            ? call->outlen
            : 0;
    std::memcpy(text, call->out, static_cast<std::size_t>(n));
    if (n > 0 && deliver_right(call, text, n, call->w) == Delivery::Done)
      return VF_OK;
  }
  return write_wide_stars(call, call->w);
}

} // namespace valfmt

extern "C" {

#define VF_NL_NUMBER_FORMATS(X)                                                \
  X(nlnum, "NLNUM", 126, zfmcma)                                               \
  X(nlnumi, "NLNUMI", 127, zfmcma)                                             \
  X(nlmny, "NLMNY", 113, zfmdlr)                                               \
  X(nlmnyi, "NLMNYI", 114, zfmdlr)                                             \
  X(nlpct, "NLPCT", 128, zfmpct)                                               \
  X(nlpcti, "NLPCTI", 129, zfmpct)

#define VF_NL_NUMBER_FN(fn, name, field, base)                                 \
  VF_API int32_t fn(fmtcall *call) {                                           \
    if (call == nullptr) return VF_ERR_BAD_CALL;                               \
    constexpr valfmt::RowLimits kLimits = valfmt::row_limits(name);            \
    return valfmt::format_nl_number(call, kLimits, field, base);               \
  }
VF_NL_NUMBER_FORMATS(VF_NL_NUMBER_FN)
#undef VF_NL_NUMBER_FN
#undef VF_NL_NUMBER_FORMATS

} // extern "C"
