// The euro conversion data: the fixed rates of the 25 national currencies,
// their codes, the euro character, and the one list that derives the fifty
// conversion formats.
//
// Everything here is constant and constant-initialised: the state needs no
// set-up before its first use and is safe to read from any number of
// threads at once.  estrent() and getrent() hand hosts the same constant
// state.
#pragma once

#include <cstdint>
#include <string_view>

#include "valfmt.h"

namespace valfmt {

// Units of each currency per euro, by currency number; number 0 is the
// euro itself.
inline constexpr double kEuroRates[26] = {
    1.0,      // EUR
    13.7603,  // ATS
    40.3399,  // BEF
    5.94573,  // FIM
    6.55957,  // FRF
    1.95583,  // DEM
    0.787564, // IEP
    1936.27,  // ITL
    40.3399,  // LUF
    2.20371,  // NLG
    200.482,  // PTE
    166.386,  // ESP
    1.6043,   // CHF
    7.49009,  // DKK
    0.700132, // GBP
    340.885,  // GRD
    9.36591,  // SEK
    34.8563,  // CZK
    260.325,  // HUF
    9.1977,   // NOK
    19.768,   // RUR
    336.912,  // TRL
    4.2,      // PLZ
    13.71,    // ROL
    13.0644,  // YUD
    191.0,    // SIT
};

// The currency codes by number, each followed by a blank.
inline constexpr char kEuroCurrencies[] =
    "EUR ATS BEF FIM FRF DEM IEP ITL LUF NLG PTE ESP CHF DKK GBP GRD SEK "
    "CZK HUF NOK RUR TRL PLZ ROL YUD SIT ";
inline constexpr int32_t kEuroCurrenciesLength = sizeof kEuroCurrencies - 1;
static_assert(kEuroCurrenciesLength == 4 * 26);

// The three-letter code of currency number k (0..25).
constexpr std::string_view euro_currency_code(int32_t k) {
  return std::string_view(kEuroCurrencies + 4 * k, 3);
}

// The character that stands for the euro in EURO, EUROX and the EURFR
// formats.
inline constexpr char kEuroChar = 'E';

inline constexpr euro_reentstr kEuroState = {
    kEuroRates, kEuroCurrencies, kEuroCurrenciesLength, kEuroChar, {}};

// The fifty conversion formats, one line per currency:
//   X(stem, number, printer)
// EURFR<code> is zfm<stem>: the value in the currency, divided by the rate
// of currency `number`, printed in euros by `printer` (zfmerx for EUROX,
// zfmeuro for EURO).  EURTO<code> is zfm<stem>_to: the value in euros,
// multiplied by the rate, printed as plain F.
#define VF_EURO_CURRENCIES(X)                                                  \
  X(fats, 1, zfmerx)                                                           \
  X(fbef, 2, zfmerx)                                                           \
  X(ffim, 3, zfmerx)                                                           \
  X(ffrf, 4, zfmerx)                                                           \
  X(fdem, 5, zfmerx)                                                           \
  X(fiep, 6, zfmeuro)                                                          \
  X(fitl, 7, zfmerx)                                                           \
  X(fluf, 8, zfmerx)                                                           \
  X(fnlg, 9, zfmerx)                                                           \
  X(fpte, 10, zfmerx)                                                          \
  X(fesp, 11, zfmerx)                                                          \
  X(fchf, 12, zfmerx)                                                          \
  X(fdkk, 13, zfmerx)                                                          \
  X(fgbp, 14, zfmeuro)                                                         \
  X(fgrd, 15, zfmerx)                                                          \
  X(fsek, 16, zfmerx)                                                          \
  X(fczk, 17, zfmerx)                                                          \
  X(fhuf, 18, zfmerx)                                                          \
  X(fnok, 19, zfmerx)                                                          \
  X(fsur, 20, zfmerx)                                                          \
  X(ftrl, 21, zfmerx)                                                          \
  X(fplz, 22, zfmerx)                                                          \
  X(frol, 23, zfmerx)                                                          \
  X(fyud, 24, zfmerx)                                                          \
  X(fsit, 25, zfmerx)

} // namespace valfmt
