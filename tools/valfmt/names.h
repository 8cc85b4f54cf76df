// What the tool knows about the built-in names beyond their descriptors:
// readable family names, a one-line description, and a sample value to
// show each name at work.
#pragma once

#include <string>

namespace valfmt_tool {

// "date formats" for JAZWFDTE; "" for an unknown module.
const char *module_family(const std::string &module);

// The family of one name, finer than its module where that helps
// ("ISO 8601 formats", "euro conversions").
std::string name_family(const std::string &module, const std::string &name);

// A value to render a built-in format with: a date, time or datetime value
// for those formats, a short text for character formats, a number else.
std::string sample_value(const std::string &module, const std::string &name);

// What the sample value stands for ("a date: days since 1 January 1960").
std::string sample_meaning(const std::string &module, const std::string &name);

} // namespace valfmt_tool
