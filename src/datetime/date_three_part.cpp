// Day, month and year in one field: the layout built from the right and
// the three orders that feed it.
#include "datetime/date_fields.h"
#include "datetime/date_formats.h"

namespace valfmt {
namespace {

enum class PartOrder { day_month_year, month_day_year, year_month_day };

template <PartOrder Order>
int32_t format_three_part(fmtcall *call, RowLimits limits, char sep) {
  return run_date_format(call, limits, [=](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    // The whole layout is eight digits and two separators (dd/mm/yyyy);
    // any narrower field shows the last two digits of the year.
    const int32_t whole_layout = 8 + (sep ? 2 : 0);
    const int32_t year = w < whole_layout ? cd.year % 100 : cd.year;
    if constexpr (Order == PartOrder::day_month_year)
      write_three_part_date(out, w, cd.day, cd.month, year, sep);
    else if constexpr (Order == PartOrder::month_day_year)
      write_three_part_date(out, w, cd.month, cd.day, year, sep);
    else
      write_three_part_date(out, w, year, cd.month, cd.day, sep);
  });
}

} // namespace

void write_three_part_date(char *out, int32_t w, int32_t left, int32_t middle,
                           int32_t right, char sep) {
  constexpr int32_t kBuilt = 32;
  if (w <= 0) return;
  if (w > kBuilt) {
    put_blanks(out, w - kBuilt);
    out += w - kBuilt;
    w = kBuilt;
  }
  char built[kBuilt];
  std::memset(built, ' ', sizeof built);
  char *p = built + kBuilt;
  auto put_part = [&p](int32_t v) {
    if (v > 99) {
      p -= 4;
      put_four_digit_year(p, v);
    } else {
      p -= 2;
      put_two_digits(p, v);
    }
  };
  if (w > 5) put_part(right);
  if (w > 3) {
    if (w >= 8 && sep) *--p = sep;
    put_part(middle);
  }
  if ((w == 5 || w >= 8) && sep) *--p = sep;
  put_part(left);
  std::memcpy(out, built + kBuilt - w, static_cast<std::size_t>(w));
}

int32_t format_day_month_year(fmtcall *call, RowLimits limits, char sep) {
  return format_three_part<PartOrder::day_month_year>(call, limits, sep);
}

int32_t format_month_day_year(fmtcall *call, RowLimits limits, char sep) {
  return format_three_part<PartOrder::month_day_year>(call, limits, sep);
}

int32_t format_year_month_day(fmtcall *call, RowLimits limits, char sep) {
  return format_three_part<PartOrder::year_month_day>(call, limits, sep);
}

} // namespace valfmt
