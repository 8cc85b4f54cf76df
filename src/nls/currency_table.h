// The monetary records of the currency formats: the POSIX LC_MONETARY
// keywords of one currency each, sorted by international code.  Texts
// carry <Uxxxx> escapes for characters outside ASCII.
#pragma once

#include <cstdint>
#include <string_view>

#include "valfmt.h"

namespace valfmt {

struct LconvMonetary {
  const char *int_curr_symbol;
  const char *currency_symbol;
  const char *mon_decimal_point;
  const char *mon_thousands_sep;
  const char *mon_grouping;
  const char *positive_sign;
  const char *negative_sign;
  int8_t int_frac_digits;
  int8_t frac_digits;
  int8_t p_cs_precedes;
  int8_t p_sep_by_space;
  int8_t n_cs_precedes;
  int8_t n_sep_by_space;
  int8_t p_sign_posn;
  int8_t n_sign_posn;
};

inline constexpr int32_t kCurrencyRecords = 82;
extern const LconvMonetary lconv_monetary[kCurrencyRecords];

// The record of an international code, or null.
const LconvMonetary *find_currency(std::string_view code);

// The bodies of the NLMNIxxx (international code as symbol) and NLMNLxxx
// (local sign) formats for one currency record.
int32_t nlmnyint(fmtcall *call, const LconvMonetary &rec);
int32_t nlmnyloc(fmtcall *call, const LconvMonetary &rec);

} // namespace valfmt
