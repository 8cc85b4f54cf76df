// Families, descriptions and sample values of the built-in names.
#include "names.h"

#include <cstring>

namespace valfmt_tool {
namespace {

struct ModuleFamily {
  const char *module;
  const char *family;
};

constexpr ModuleFamily kFamilies[] = {
    {"JAZWFBIN", "binary, hexadecimal and octal formats"},
    {"JAZWFDTE", "date formats"},
    {"JAZWFMSC", "numeric, currency and character formats"},
    {"JAZWFTME", "time and datetime formats"},
    {"JAZWFUWF", "host representations and other formats"},
    {"JAZWFNLS", "locale formats"},
    {"JAZWIBIN", "binary, hexadecimal and octal informats"},
    {"JAZWIDTE", "date and time informats"},
    {"JAZWIMSC", "numeric and character informats"},
    {"JAZWIUWI", "host representations and other informats"},
};

bool has(const std::string &name, const char *part) {
  return name.find(part) != std::string::npos;
}

enum class ValueKind { kDate, kTime, kDatetime, kText, kNumber };

constexpr const char *kDateValue = "23000"; // 21 December 2022
constexpr const char *kTimeValue = "45296"; // 12:34:56
constexpr const char *kDatetimeValue = "1987654321";
constexpr const char *kTextValue = "Abc xyz";
constexpr const char *kNumberValue = "1234.5678";

bool is_time_name(const std::string &n) {
  for (const char *t :
       {"TIME", "TOD", "HHMM", "HOUR", "MMSS", "8601TM", "8601TZ", "8601LZ"})
    if (has(n, t)) return true;
  return false;
}

bool is_datetime_name(const std::string &n) {
  for (const char *t : {"DATETIME", "DATEAMPM", "MDYAMPM", "DTWKDATX", "8601DT",
                        "8601DZ", "NLDATM"})
    if (has(n, t)) return true;
  return false;
}

ValueKind value_kind(const std::string &module, const std::string &name) {
  if (!name.empty() && name[0] == '$') return ValueKind::kText;
  if (is_datetime_name(name)) return ValueKind::kDatetime;
  if (module == "JAZWFTME" || is_time_name(name)) return ValueKind::kTime;
  if (module == "JAZWFDTE" || module == "JAZWIDTE" ||
      name.rfind("NLDATE", 0) == 0 || name.rfind("DT", 0) == 0 ||
      name == "MINGUO" || name == "YYQZ" || name == "XYYMMDD")
    return ValueKind::kDate;
  return ValueKind::kNumber;
}

} // namespace

const char *module_family(const std::string &module) {
  for (const ModuleFamily &f : kFamilies)
    if (module == f.module) return f.family;
  return "";
}

std::string name_family(const std::string &module, const std::string &name) {
  const bool informat = module.size() > 5 && module[5] == 'I';
  const char *kind = informat ? "informats" : "formats";
  if (has(name, "8601")) return std::string("ISO 8601 ") + kind;
  if (name.rfind("EURFR", 0) == 0 || name.rfind("EURTO", 0) == 0)
    return "euro conversions";
  if (name.rfind("S370F", 0) == 0) return std::string("System/370 ") + kind;
  if (has(name, "DFDE") || has(name, "DFDT") || has(name, "DFMY"))
    return "language date informats";
  return module_family(module);
}

std::string sample_value(const std::string &module, const std::string &name) {
  switch (value_kind(module, name)) {
  case ValueKind::kDate:
    return kDateValue;
  case ValueKind::kTime:
    return kTimeValue;
  case ValueKind::kDatetime:
    return kDatetimeValue;
  case ValueKind::kText:
    return kTextValue;
  case ValueKind::kNumber:
    break;
  }
  return kNumberValue;
}

std::string sample_meaning(const std::string &module, const std::string &name) {
  switch (value_kind(module, name)) {
  case ValueKind::kDate:
    return "a date value (days since 1 January 1960)";
  case ValueKind::kTime:
    return "a time value (seconds since midnight)";
  case ValueKind::kDatetime:
    return "a datetime value (seconds since 1 January 1960 00:00)";
  case ValueKind::kText:
    return "character text";
  case ValueKind::kNumber:
    break;
  }
  return "a number";
}

} // namespace valfmt_tool
