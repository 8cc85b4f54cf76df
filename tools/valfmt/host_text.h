// Text between the terminal (UTF-8 arguments and output) and the library
// (narrow Windows-1252 bytes or UCS-2 units), and the value notations the
// tool accepts and shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace valfmt_tool {

// UTF-8 argument -> narrow Windows-1252 bytes when every character has
// one (true), else false; `wide` always receives the UCS-2 units.
bool to_host_text(const std::string &utf8, std::string *narrow,
                  std::vector<uint16_t> *wide);

// A result as terminal text: narrow bytes read as Windows-1252, UTF-8 as
// it is, UCS-2 converted.
std::string display(const char *out, int32_t len, uint32_t enc);

// "61 62 63": the bytes in hexadecimal.
std::string hex_of(const char *p, int32_t n);

// The shortest %g text that reads back as exactly the stored double.
void shortest_round_trip(double v, char *buf, std::size_t size);

// A number, or ".", "._", ".A".."Z" (any case) and ".." for missing
// values.  Blanks around the value (padded columns) are ignored.
bool parse_number(const std::string &text, double *v);

// The quick reading of the common case: a plain decimal number (blanks
// and tabs around it allowed), read without copying.  It accepts only
// texts that parse_number accepts, with the same value; false means "ask
// parse_number" (missing notations, a leading '+', hexadecimal, overflow),
// not "not a number".
bool parse_plain_number(const char *p, std::size_t n, double *v);

// A stored double as the tool shows it: a missing value's notation or the
// shortest round-trip number.
std::string show_number(double v);

} // namespace valfmt_tool
