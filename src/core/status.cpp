// The status table: code, constant name, words.
#include "core/status.h"

#include "valfmt.h"

namespace valfmt {
namespace {

struct StatusRow {
  int32_t code;
  const char *name;
  const char *words;
};

constexpr StatusRow kStatuses[] = {
    {VF_OK, "VF_OK", "success"},
    {VF_NOT_FOUND, "VF_NOT_FOUND", "name not found"},
    {VF_WARN, "VF_WARN", "shown with fewer decimals or cut"},
    {VF_WARN_RANGE, "VF_WARN_RANGE", "value out of range"},
    {VF_ISO_SHORT, "VF_ISO_SHORT", "output shorter than 16 characters"},
    {VF_ISO_UNFIT, "VF_ISO_UNFIT", "ISO 8601 text cannot be fitted"},
    {VF_NL_W_SMALL, "VF_NL_W_SMALL", "width too small for the locale format"},
    {VF_NL_W_LARGE, "VF_NL_W_LARGE", "width too large for the locale format"},
    {VF_NL_D_NEG, "VF_NL_D_NEG", "decimals negative"},
    {VF_NL_D_LARGE, "VF_NL_D_LARGE", "decimals too large"},
    {VF_NO_FIT, "VF_NO_FIT", "no form of the value fits"},
    {VF_ERR_INVALID_DATA, "VF_ERR_INVALID_DATA", "invalid numeric data"},
    {VF_ERR_NOTHING_TO_READ, "VF_ERR_NOTHING_TO_READ",
     "nothing to read or invalid NaN"},
    {VF_ERR_OVERFLOW, "VF_ERR_OVERFLOW", "field overflow or output too small"},
    {VF_ERR_BAD_HEX, "VF_ERR_BAD_HEX", "invalid hexadecimal digit"},
    {VF_ERR_WD_LIMITS, "VF_ERR_WD_LIMITS",
     "width or decimals outside the limits"},
    {VF_ERR_BINARY_FIT, "VF_ERR_BINARY_FIT",
     "value does not fit the binary field"},
    {VF_ERR_DATE_TEXT, "VF_ERR_DATE_TEXT", "invalid date or time text"},
    {VF_ERR_DATE_RANGE, "VF_ERR_DATE_RANGE", "date or time out of range"},
    {VF_ERR_DATE_NO_DIGIT, "VF_ERR_DATE_NO_DIGIT", "date text without a digit"},
    {VF_ERR_DATE_DAY, "VF_ERR_DATE_DAY", "invalid day"},
    {VF_ERR_DATE_YEAR, "VF_ERR_DATE_YEAR", "invalid year"},
    {VF_ERR_TIME_TEXT, "VF_ERR_TIME_TEXT", "invalid time text"},
    {VF_ERR_TIME_HOURS, "VF_ERR_TIME_HOURS", "invalid hours"},
    {VF_ERR_TIME_MINUTES_EMPTY, "VF_ERR_TIME_MINUTES_EMPTY", "minutes missing"},
    {VF_ERR_TIME_MINUTES, "VF_ERR_TIME_MINUTES", "invalid minutes"},
    {VF_ERR_BAD_OCTAL, "VF_ERR_BAD_OCTAL", "invalid octal input"},
    {VF_ERR_OCTAL_BYTE, "VF_ERR_OCTAL_BYTE", "octal byte out of range"},
    {VF_ERR_BAD_PACKED, "VF_ERR_BAD_PACKED", "invalid packed decimal"},
    {VF_ERR_BAD_ZONED, "VF_ERR_BAD_ZONED", "invalid zoned decimal"},
    {VF_ERR_AMPM, "VF_ERR_AMPM", "invalid AM/PM marker"},
    {VF_ERR_PAREN_POSITION, "VF_ERR_PAREN_POSITION", "misplaced parenthesis"},
    {VF_ERR_PAREN_TWICE, "VF_ERR_PAREN_TWICE", "second parenthesis"},
    {VF_ERR_NO_ROOM, "VF_ERR_NO_ROOM", "no room for the value"},
    {VF_ERR_OUTSIZE, "VF_ERR_OUTSIZE", "width larger than the output buffer"},
    {VF_ERR_WIDTH, "VF_ERR_WIDTH", "width unusable"},
    {VF_ERR_SIGN, "VF_ERR_SIGN", "malformed sign"},
    {VF_ERR_BAD_INPUT, "VF_ERR_BAD_INPUT", "malformed input"},
    {VF_ERR_NO_FUNCTION, "VF_ERR_NO_FUNCTION", "format not implemented"},
    {VF_ERR_BAD_CALL, "VF_ERR_BAD_CALL", "invalid call"},
};

const StatusRow *find_status(int32_t status) {
  for (const StatusRow &r : kStatuses)
    if (r.code == status) return &r;
  return nullptr;
}

} // namespace

const char *status_name(int32_t status) {
  const StatusRow *r = find_status(status);
  return r ? r->name : "unknown status";
}

const char *status_words(int32_t status) {
  const StatusRow *r = find_status(status);
  if (r) return r->words;
  return status > 0 ? "warning" : "error";
}

} // namespace valfmt
