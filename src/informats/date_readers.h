// Readers of the date and time informats that other readers reuse: the
// datetime readers read their date part with the @DATE or @YYMMDD reader
// and their time part with the @TIME reader, and @MONYY goes through @DATE.
//
// Each takes the text (pointer and length, never read beyond) and leaves
// its result in v: the value read, a missing value, or the standard
// missing value on failure.  It returns the informat's status.
#pragma once

#include <cstdint>

namespace valfmt {

// @DATE without the missing-value notation: day, month abbreviation and
// year ("01JAN1960", "1jan60", "01-Jan-1960").
int32_t read_day_month_name_year(const unsigned char *p, int32_t n, double &v);

// The orders of the numeric day-month-year readers.
enum class DateOrder { month_day_year, day_month_year, year_month_day };

// @MMDDYY, @DDMMYY or @YYMMDD, notation included.
int32_t read_numeric_date(const unsigned char *p, int32_t n, DateOrder order,
                          double &v);

// @TIME, notation included: hours, minutes, optional seconds with a
// fraction, optional AM or PM, optional leading minus.
int32_t read_time_of_day(const unsigned char *p, int32_t n, double &v);

} // namespace valfmt
