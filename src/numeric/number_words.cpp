// WORDS: a number in English words, left-aligned in its field.
//
//   1234567.89  "one million two hundred thirty-four thousand five hundred
//                sixty-seven and eighty-nine hundredths"
//   -5          "minus five"        0.25  "zero and twenty-five hundredths"
//   0           "zero"              2e9   "large_number"
//   missing     "missing"
//
// Whole numbers are spelled by groups of three digits (millions, thousands,
// units) without "and"; a fraction is spelled as hundredths, a fraction
// below one hundredth adds nothing and one above 0.9999 rounds the number
// up.  From 1e9 on the text is "large_number".
//
// The text is built once on the stack (it is at most a few dozen words
// whatever w is) and then placed in the field, so w up to 32767 costs only
// the blank padding.  A text longer than w keeps its first w - 1
// characters and ends in '*'.  That holds also when the cut falls exactly
// on a blank between two words: "one million one" in 11 columns is
// "one millio*", never "one million", which would read as another number.
// A fraction that rounds 999999999.9999x up to 1e9 gives "large_number",
// like every other value from 1e9 on.  The missing value's "missing" is
// cut to the field without a mark (it names no number), as is the padding.
#include "numeric/number_words.h"

#include <array>
#include <cmath>

#include "core/call.h"
#include "core/missing.h"
#include "core/text.h"
#include "numeric/field_call.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kWords = row_limits("WORDS");

constexpr std::string_view kUnits[20] = {
    "",        "one",     "two",       "three",    "four",
    "five",    "six",     "seven",     "eight",    "nine",
    "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
    "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
constexpr std::string_view kTens[10] = {"",       "",      "twenty", "thirty",
                                        "forty",  "fifty", "sixty",  "seventy",
                                        "eighty", "ninety"};

// "one" .. "ninety-nine": the words of 1..99 with the tens and units
// joined by '-'.  Entry 0 is empty.
struct Spelled {
  char text[16] = {};
  std::size_t len = 0;
  constexpr std::string_view view() const { return {text, len}; }
};

constexpr std::array<Spelled, 100> make_below_hundred() {
  std::array<Spelled, 100> table{};
  for (int r = 1; r < 100; ++r) {
    Spelled &s = table[static_cast<std::size_t>(r)];
    const auto put = [&s](std::string_view part) {
      for (char ch : part) s.text[s.len++] = ch;
    };
    if (r < 20) {
      put(kUnits[r]);
    } else {
      put(kTens[r / 10]);
      if (r % 10 != 0) {
        put("-");
        put(kUnits[r % 10]);
      }
    }
  }
  return table;
}
constexpr std::array<Spelled, 100> kBelowHundred = make_below_hundred();

// A bound on the longest text: "minus", three groups of the longest
// hundreds and tens, "million", "thousand", then "and", the longest tens
// and "hundredths", each word with its blank.  WORDF's "and cc/100" takes
// the place of the shorter hundredths tail.
constexpr std::size_t longest_text() {
  std::size_t unit = 0;
  std::size_t below = 0;
  for (std::string_view u : kUnits) unit = u.size() > unit ? u.size() : unit;
  for (const Spelled &s : kBelowHundred) below = s.len > below ? s.len : below;
  const std::size_t group = (unit + 1) + 8 + (below + 1);
  return 6 + 3 * group + 8 + 9 + 4 + (below + 1) + 11;
}
static_assert(longest_text() <= kWordTextCapacity,
              "the word text has room for every number");

// Words of one group, 1 <= g <= 999.
void add_group(WordText &t, uint32_t g) {
  if (g >= 100) {
    t.add(kUnits[g / 100]);
    t.add("hundred");
  }
  const uint32_t r = g % 100;
  if (r != 0) t.add(kBelowHundred[r].view());
}

} // namespace

bool spell_number(WordText &t, double x) {
  if (x == 0) {
    t.add("zero");
    return false;
  }
  if (!(x < kLargeNumber)) {
    t.add("large_number");
    return true;
  }
  auto n = static_cast<uint32_t>(x);
  double f = x - n;
  if (f > 0.9999) {
    ++n;
    f = 0;
    if (n >= static_cast<uint32_t>(kLargeNumber)) {
      t.add("large_number");
      return true;
    }
  }
  if (const uint32_t millions = n / 1000000; millions != 0) {
    add_group(t, millions);
    t.add("million");
  }
  if (const uint32_t thousands = n / 1000 % 1000; thousands != 0) {
    add_group(t, thousands);
    t.add("thousand");
  }
  if (const uint32_t units = n % 1000; units != 0) add_group(t, units);
  if (f != 0) {
    const double cents = f * 100.0 + 0.0001;
    if (x < 1) t.add("zero");
    if (cents >= 1) {
      t.add("and");
      t.add(kBelowHundred[static_cast<uint32_t>(cents)].view());
      t.add("hundredths");
    }
  }
  return false;
}

bool answered_before_spelling(fmtcall *call, RowLimits limits,
                              int32_t *status) {
  *status = refuse_call(call, limits);
  if (*status != VF_OK) return true;
  const double v = call_value(call);
  if (is_stray_nan(v)) {
    *status = refuse_stray_nan(call, call->w);
    return true;
  }
  if (!is_missing(v)) return false;
  copy_padded(static_cast<char *>(call->out), call->w, "missing", 7);
  *status = finish_narrow(call, call->w);
  return true;
}

int32_t finish_words(fmtcall *call, const WordText &t) {
  put_marked(static_cast<char *>(call->out), call->w, t.buf, t.length());
  return finish_narrow(call, call->w);
}

} // namespace valfmt

extern "C" VF_API int32_t zfmwrds(fmtcall *call) {
  using namespace valfmt;
  if (call == nullptr) return VF_ERR_BAD_CALL;
  int32_t status = VF_OK;
  if (answered_before_spelling(call, kWords, &status)) return status;
  const double v = call_value(call);
  WordText t;
  if (v < 0) t.add("minus");
  spell_number(t, std::fabs(v));
  return finish_words(call, t);
}
