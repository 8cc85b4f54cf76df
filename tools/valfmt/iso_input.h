// `valfmt input --iso TEXT`: reads an ISO 8601 point in time, duration or
// interval with the library's readers and prints the packed value and its
// extended text.
#pragma once

#include <cstdio>
#include <string>

namespace valfmt_tool {

// Reads text (an interval when it holds "/", a duration when it starts
// with "P" or "-P", else a point in time) and writes one line to out:
//   "<packed hex>  <text as $N8601E renders it>"
// On failure writes "valfmt: input --iso TEXT: <status words>" to err and
// returns 1; else returns 0.
int iso_input(const std::string &text, std::FILE *out, std::FILE *err);

} // namespace valfmt_tool
