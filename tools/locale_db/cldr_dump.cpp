// Prints the CLDR date patterns, quarter names and number patterns that the
// locale database generator needs, for each ICU locale ID given on the
// command line.  Output lines: "<locale>\t<key>\t<value>" in UTF-8.
// Compiled and run by tools/gen_locale_db.py only.
#include <unicode/datefmt.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/dcfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>

#include <cstdio>
#include <memory>
#include <string>

using icu::UnicodeString;

namespace {

void put(const char *loc, const char *key, const UnicodeString &v) {
  std::string s;
  v.toUTF8String(s);
  std::printf("%s\t%s\t%s\n", loc, key, s.c_str());
}

void date_pattern(const char *loc, const icu::Locale &l, const char *key,
                  icu::DateFormat::EStyle style) {
  std::unique_ptr<icu::DateFormat> f(
      icu::DateFormat::createDateInstance(style, l));
  auto *s = dynamic_cast<icu::SimpleDateFormat *>(f.get());
  UnicodeString p;
  if (s != nullptr) s->toPattern(p);
  put(loc, key, p);
}

void skeletons(const char *loc, const icu::Locale &l) {
  UErrorCode st = U_ZERO_ERROR;
  std::unique_ptr<icu::DateTimePatternGenerator> g(
      icu::DateTimePatternGenerator::createInstance(l, st));
  if (U_FAILURE(st)) return;
  const char *sk[] = {"yMMMM", "yyMMM", "MMMMd", "MMMd", "y",
                      "yy",    "yQQQQ", "yyQQQ", "Yw"};
  for (const char *k : sk) {
    st = U_ZERO_ERROR;
    UnicodeString p = g->getBestPattern(UnicodeString(k), st);
    put(loc, (std::string("skel.") + k).c_str(),
        U_SUCCESS(st) ? p : UnicodeString());
  }
}

void quarters(const char *loc, const icu::Locale &l) {
  UErrorCode st = U_ZERO_ERROR;
  icu::DateFormatSymbols sym(l, st);
  if (U_FAILURE(st)) return;
  int32_t n = 0;
  const UnicodeString *a = sym.getQuarters(n, icu::DateFormatSymbols::FORMAT,
                                           icu::DateFormatSymbols::ABBREVIATED);
  for (int32_t i = 0; i < n; ++i)
    put(loc, ("qabbr." + std::to_string(i)).c_str(), a[i]);
  const UnicodeString *ap = sym.getAmPmStrings(n);
  for (int32_t i = 0; i < n; ++i)
    put(loc, ("ampm." + std::to_string(i)).c_str(), ap[i]);
  const UnicodeString *w = sym.getQuarters(n, icu::DateFormatSymbols::FORMAT,
                                           icu::DateFormatSymbols::WIDE);
  for (int32_t i = 0; i < n; ++i)
    put(loc, ("qwide." + std::to_string(i)).c_str(), w[i]);
}

void number_pattern(const char *loc, const icu::Locale &l, const char *key,
                    UNumberFormatStyle style) {
  UErrorCode st = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> f(
      icu::NumberFormat::createInstance(l, style, st));
  auto *d = dynamic_cast<icu::DecimalFormat *>(f.get());
  UnicodeString p;
  if (U_SUCCESS(st) && d != nullptr) d->toPattern(p);
  put(loc, key, p);
}

void currency(const char *loc, const icu::Locale &l) {
  UErrorCode st = U_ZERO_ERROR;
  icu::DecimalFormatSymbols sym(l, st);
  if (U_FAILURE(st)) return;
  put(loc, "cur.code",
      sym.getSymbol(icu::DecimalFormatSymbols::kIntlCurrencySymbol));
  put(loc, "cur.symbol",
      sym.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol));
}

} // namespace

int main(int argc, char **argv) {
  for (int i = 1; i < argc; ++i) {
    const char *loc = argv[i];
    // Gregorian dates and Latin digits whatever the locale's default.
    icu::Locale l(
        (std::string(loc) + "@calendar=gregorian;numbers=latn").c_str());
    date_pattern(loc, l, "date.full", icu::DateFormat::kFull);
    date_pattern(loc, l, "date.long", icu::DateFormat::kLong);
    date_pattern(loc, l, "date.medium", icu::DateFormat::kMedium);
    date_pattern(loc, l, "date.short", icu::DateFormat::kShort);
    skeletons(loc, l);
    quarters(loc, l);
    number_pattern(loc, l, "num.currency", UNUM_CURRENCY);
    number_pattern(loc, l, "num.decimal", UNUM_DECIMAL);
    number_pattern(loc, l, "num.percent", UNUM_PERCENT);
    currency(loc, l);
  }
  return 0;
}
