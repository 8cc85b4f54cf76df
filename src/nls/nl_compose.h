// Locale number text: digits in fixed or general (scientific) form, the
// integer part grouped, and the sign and symbol placed by one of the
// twenty sign/symbol layouts.
#pragma once

#include <cstdint>
#include <string_view>

namespace valfmt {

// Longest composed text; anything longer counts as too wide.
inline constexpr int32_t kComposeMax = 256;

// Number conventions in the shape of the POSIX monetary keywords.
struct NumberConventions {
  std::string_view symbol;
  std::string_view decimal_point;
  std::string_view thousands_sep;
  std::string_view positive_sign;
  std::string_view negative_sign;
  int32_t grouping = 0;
  int32_t p_cs_precedes = 0, p_sep_by_space = 0, p_sign_posn = 1;
  int32_t n_cs_precedes = 0, n_sep_by_space = 0, n_sign_posn = 1;
};

// The twenty layouts, indexed (precedes + 2 * separated) * 5 + position:
// 'V' digits, '$' symbol, '-' sign string, '(' ')' only when negative.
inline constexpr const char *kCurrencyFormatPatterns[20] = {
    "(V$)",  "-V$",  "V$-",  "V-$",  "V$-",  // separated 0, precedes 0
    "($V)",  "-$V",  "$V-",  "-$V",  "$-V",  // separated 0, precedes 1
    "(V $)", "-V $", "V $-", "V- $", "V $-", // separated 1, precedes 0
    "($ V)", "-$ V", "$ V-", "-$ V", "$ -V", // separated 1, precedes 1
};

// The layout a value takes: the positive triple for zero and above, the
// negative triple below zero; out-of-range flags are read as 0/1 and an
// unknown sign position as 1 (sign before everything).
const char *currency_layout(const NumberConventions &c, bool negative);

// The text of v with d decimals, as "%.*f" writes it in the POSIX locale
// (a '-' for every negative value, negative zero included).  Returns the
// length, 0 when it does not fit `room`.
int32_t fixed_text(double v, int32_t d, char *out, int32_t room);

// The text of v in general form with d significant digits, left-aligned
// and blank-padded to `width`, as "%-*.*G" writes it.  Returns the length,
// 0 when it does not fit `room`.
int32_t general_text(double v, int32_t d, int32_t width, char *out,
                     int32_t room);

// The digits of a text above: the leading '-' dropped.
std::string_view unsigned_digits(const char *text, int32_t n);

struct ComposeRequest {
  std::string_view digits; // from unsigned_digits: may end in blanks
  bool negative = false;
  bool group = true;  // group the integer part when it can be
  bool symbol = true; // place the symbol
};

// Composes the layout into out (kComposeMax bytes): blanks trimmed at
// both ends, one blank added after a positive value when negative values
// take parentheses.  Returns the length, or -1 when it would exceed
// kComposeMax.  `grouped` tells whether separators were inserted.
int32_t compose_number(const NumberConventions &c, const ComposeRequest &r,
                       char *out, bool &grouped);

} // namespace valfmt
