// Text between Python strings and the library's call blocks: Unicode code
// points to narrow Windows-1252 bytes or UCS-2 units on the way in, and a
// result in any of the library's encodings to code points on the way out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace valfmt_py {

// How one packed value reaches the library.
enum class TextForm : uint8_t {
  kNarrow = 0,  // bytes, inenc 0
  kWide = 1,    // UCS-2 little-endian units, inenc 25
  kMissing = 2, // None, NaN, NaT or NA in a text column
};

// A column of texts packed into one buffer, so that the loop over the
// values runs without the interpreter.  Wide values start at even offsets.
struct TextColumn {
  std::vector<uint8_t> data;
  std::vector<int64_t> start;  // byte offset of each value in `data`
  std::vector<int32_t> length; // its length in bytes or 16-bit units
  std::vector<TextForm> form;

  void reserve(std::size_t n, std::size_t bytes);
  std::size_t size() const { return form.size(); }
  void add_bytes(const uint8_t *p, std::size_t len);
  void add_missing();
  // Code points: narrow Windows-1252 bytes when every one has a byte
  // there; otherwise UCS-2 (surrogate pairs above U+FFFF) when `wide_ok`,
  // else the UTF-8 bytes.
  void add_code_points(const uint32_t *cp, std::size_t n, bool wide_ok);
  // The same for the 1-, 2- or 4-byte code units of a Python string.
  void add_units(const void *units, int kind, std::size_t n, bool wide_ok);
};

// The Windows-1252 byte of a code point, or -1 when it has none.  Bytes
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for the code points of the same
// value, as the library's widening table has it.
int cp1252_byte(uint32_t cp);

// The code point the library widens a narrow byte to, and the whole table
// of 256 for loops.
uint32_t cp1252_char(uint8_t b);
const uint16_t *cp1252_units();

// Appends the code points of a result of `len` bytes in encoding `enc`
// (0 narrow, 20 UTF-8, 24 and 25 UCS-2) to `out`.
void decode_result(const uint8_t *p, std::size_t len, uint32_t enc,
                   std::u32string *out);

} // namespace valfmt_py
