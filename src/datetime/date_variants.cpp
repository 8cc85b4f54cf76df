// The separator variants of the numeric date layouts.  Each row names the
// exported function, its descriptor row (which gives the widths), the
// layout routine and the separator character (0: none); the functions are
// generated from the rows.
#include "datetime/date_formats.h"
#include "registry/functions.h"

// X(function, row name, layout routine, separator)
#define VF_DATE_LAYOUT_VARIANTS(X)                                             \
  X(zfmddmmyy, "DDMMYY", format_day_month_year, '/')                           \
  X(zfmddmmyyb, "DDMMYYB", format_day_month_year, ' ')                         \
  X(zfmddmmyyc, "DDMMYYC", format_day_month_year, ':')                         \
  X(zfmddmmyyd, "DDMMYYD", format_day_month_year, '-')                         \
  X(zfmddmmyyn, "DDMMYYN", format_day_month_year, 0)                           \
  X(zfmddmmyyp, "DDMMYYP", format_day_month_year, '.')                         \
  X(zfmddmmyys, "DDMMYYS", format_day_month_year, '/')                         \
  X(zfmmmddyy, "MMDDYY", format_month_day_year, '/')                           \
  X(zfmmmddyyb, "MMDDYYB", format_month_day_year, ' ')                         \
  X(zfmmmddyyc, "MMDDYYC", format_month_day_year, ':')                         \
  X(zfmmmddyyd, "MMDDYYD", format_month_day_year, '-')                         \
  X(zfmmmddyyn, "MMDDYYN", format_month_day_year, 0)                           \
  X(zfmmmddyyp, "MMDDYYP", format_month_day_year, '.')                         \
  X(zfmmmddyys, "MMDDYYS", format_month_day_year, '/')                         \
  X(zfmyymmdd, "YYMMDD", format_year_month_day, '-')                           \
  X(zfmyymmddb, "YYMMDDB", format_year_month_day, ' ')                         \
  X(zfmyymmddc, "YYMMDDC", format_year_month_day, ':')                         \
  X(zfmyymmddd, "YYMMDDD", format_year_month_day, '-')                         \
  X(zfmyymmddn, "YYMMDDN", format_year_month_day, 0)                           \
  X(zfmyymmddp, "YYMMDDP", format_year_month_day, '.')                         \
  X(zfmyymmdds, "YYMMDDS", format_year_month_day, '/')                         \
  /* YYMMDD blank-filled on the left beyond width 10. */                       \
  X(zfmxymd, "XYYMMDD", format_year_month_day, '-')                            \
  X(zfmmmyy, "MMYY", format_month_year, 'M')                                   \
  X(zfmmmyyc, "MMYYC", format_month_year, ':')                                 \
  X(zfmmmyyd, "MMYYD", format_month_year, '-')                                 \
  X(zfmmmyyn, "MMYYN", format_month_year, 0)                                   \
  X(zfmmmyyp, "MMYYP", format_month_year, '.')                                 \
  X(zfmmmyys, "MMYYS", format_month_year, '/')                                 \
  X(zfmyymm, "YYMM", format_year_month, 'M')                                   \
  X(zfmyymmc, "YYMMC", format_year_month, ':')                                 \
  X(zfmyymmd, "YYMMD", format_year_month, '-')                                 \
  X(zfmyymmn, "YYMMN", format_year_month, 0)                                   \
  X(zfmyymmp, "YYMMP", format_year_month, '.')                                 \
  X(zfmyymms, "YYMMS", format_year_month, '/')                                 \
  X(zfmyyq, "YYQ", format_year_quarter, 'Q')                                   \
  X(zfmyyqc, "YYQC", format_year_quarter, ':')                                 \
  X(zfmyyqd, "YYQD", format_year_quarter, '-')                                 \
  X(zfmyyqn, "YYQN", format_year_quarter, 0)                                   \
  X(zfmyyqp, "YYQP", format_year_quarter, '.')                                 \
  X(zfmyyqs, "YYQS", format_year_quarter, '/')                                 \
  /* Year, the digit 0, quarter. */                                            \
  X(zfmyyqz, "YYQZ", format_year_quarter, '0')                                 \
  X(zfmyyqr, "YYQR", format_year_roman_quarter, 'Q')                           \
  X(zfmyyqrc, "YYQRC", format_year_roman_quarter, ':')                         \
  X(zfmyyqrd, "YYQRD", format_year_roman_quarter, '-')                         \
  X(zfmyyqrn, "YYQRN", format_year_roman_quarter, 0)                           \
  X(zfmyyqrp, "YYQRP", format_year_roman_quarter, '.')                         \
  X(zfmyyqrs, "YYQRS", format_year_roman_quarter, '/')

extern "C" {

#define VF_DATE_LAYOUT_FUNCTION(fn, name, layout, sep)                         \
  VF_API int32_t fn(fmtcall *call) {                                           \
    return valfmt::layout(call, valfmt::row_limits(name), sep);                \
  }
VF_DATE_LAYOUT_VARIANTS(VF_DATE_LAYOUT_FUNCTION)
#undef VF_DATE_LAYOUT_FUNCTION

} // extern "C"
