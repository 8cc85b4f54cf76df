// Formats whose result is bytes in a machine representation rather than
// text, and the informats that read such bytes: the tool shows those
// results in hexadecimal and, with --hex, reads their input as hexadecimal.
#pragma once

#include <string>

namespace valfmt_tool {

// True for a format or informat name (without '@') of a binary
// representation: integers, packed and zoned decimal of the host
// families, floating point, transport members, packed Julian dates,
// EBCDIC text, column binary and host time stamps.
bool is_binary_name(const std::string &name);

// "00 12 3d", "00123D" -> the bytes; false for anything but pairs of
// hexadecimal digits (blanks between pairs are allowed).
bool parse_hex_bytes(const std::string &text, std::string *bytes);

} // namespace valfmt_tool
