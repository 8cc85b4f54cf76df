// English number words shared by WORDS and WORDF: a bounded text on the
// stack and the speller that fills it.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// Room for the longest text either format builds (checked at compile time
// in number_words.cpp against the word tables).
inline constexpr int32_t kWordTextCapacity = 160;

// Words separated by single blanks.  Every word is followed by a blank;
// length() leaves out the last one.
struct WordText {
  char buf[kWordTextCapacity];
  int32_t len = 0;

  void add(std::string_view word) {
    std::memcpy(buf + len, word.data(), word.size());
    len += static_cast<int32_t>(word.size());
    buf[len++] = ' ';
  }
  int32_t length() const {
    return len > 0 && buf[len - 1] == ' ' ? len - 1 : len;
  }
};

// Values from here on are spelled "large_number".
inline constexpr double kLargeNumber = 1e9;

// Appends the words of x (x >= 0 and not NaN; infinity is a large number):
// "zero", "large_number", or the millions, thousands and units groups
// ("one million two hundred thirty-four thousand ..."), then a fraction of
// at least one hundredth as "and eighty-nine hundredths" (preceded by
// "zero" when x < 1).  A fraction above 0.9999 rounds x up to the next
// whole number.  Returns true when the text is "large_number".
bool spell_number(WordText &t, double x);

// What WORDS and WORDF answer before they spell: a call refused by its
// limits or buffer, a stray NaN ('*' fill), the missing value ("missing",
// cut to the field without a mark).  Returns true when the call has been
// answered, with its status in *status.
bool answered_before_spelling(fmtcall *call, RowLimits limits, int32_t *status);

// Places the spelled text in the call's w columns (see put_marked).
int32_t finish_words(fmtcall *call, const WordText &t);

} // namespace valfmt
