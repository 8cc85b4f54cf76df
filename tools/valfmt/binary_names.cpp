// The names whose values the tool shows and reads as bytes.
#include "binary_names.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace valfmt_tool {
namespace {

// Sorted, so a name is found by binary search.
constexpr std::array<std::string_view, 49> kBinaryNames = {
    "$CB",      "$EBCDIC",  "CB",       "FLOAT",    "IB",       "IBR",
    "IEEE",     "IEEER",    "MRB",      "MSEC",     "PCPIB",    "PD",
    "PDJULG",   "PDJULI",   "PDTIME",   "PIB",      "PIBR",     "PK",
    "PUNCH",    "RB",       "RMFDUR",   "RMFSTAMP", "ROW",      "S370FF",
    "S370FHEX", "S370FIB",  "S370FIBU", "S370FPD",  "S370FPDU", "S370FPIB",
    "S370FRB",  "S370FZD",  "S370FZDB", "S370FZDL", "S370FZDS", "S370FZDT",
    "S370FZDU", "SHRSTAMP", "SMFSTAMP", "TODSTAMP", "TU",       "VAXRB",
    "XPORTFLT", "XPORTINT", "$XPORTCH", "BITS",     "$PHEX",    "ZDV",
    "ZDB"};

constexpr auto kSorted = [] {
  auto names = kBinaryNames;
  std::sort(names.begin(), names.end());
  return names;
}();

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

} // namespace

bool is_binary_name(const std::string &name) {
  return std::binary_search(kSorted.begin(), kSorted.end(),
                            std::string_view(name));
}

bool parse_hex_bytes(const std::string &text, std::string *bytes) {
  bytes->clear();
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) return false;
    const int hi = hex_digit(text[i]);
    const int lo = hex_digit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes->push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return true;
}

} // namespace valfmt_tool
