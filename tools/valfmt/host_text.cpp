// Conversions between the terminal's text and the library's encodings.
#include "host_text.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "core/missing.h"
#include "valfmt.h"

namespace valfmt_tool {
namespace {

constexpr int kFirstCp1252Special = 0x80; // 0x80..0x9F differ from Latin-1
constexpr int kFirstLatin1Shared = 0xA0;

// The Windows-1252 byte of a unit, or -1 when the code page has none.
int cp1252_byte(uint16_t u) {
  if (u < kFirstCp1252Special || (u >= kFirstLatin1Shared && u <= 0xFF))
    return u;
  int byte = -1;
  for (int b = kFirstCp1252Special; b < kFirstLatin1Shared; ++b) {
    uint16_t back = 0;
    const uint8_t bb = static_cast<uint8_t>(b);
    LATIN1ToUNICODE(&bb, 1, &back, 2, nullptr);
    if (back == u) byte = b;
  }
  return byte;
}

std::string units_to_utf8(const uint16_t *u, int32_t bytes) {
  std::string out(static_cast<std::size_t>(bytes) * 3 / 2 + 4, '\0');
  int32_t n = 0;
  UNICODEToUTF8(u, bytes, reinterpret_cast<uint8_t *>(out.data()),
                static_cast<int32_t>(out.size()), nullptr, &n);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string trim_blanks(const std::string &text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

bool to_host_text(const std::string &utf8, std::string *narrow,
                  std::vector<uint16_t> *wide) {
  wide->assign(utf8.size() + 1, 0);
  int32_t units = 0;
  UTF8ToUNICODE(reinterpret_cast<const uint8_t *>(utf8.data()),
                static_cast<int32_t>(utf8.size()), wide->data(),
                static_cast<int32_t>(wide->size() * 2), &units, nullptr);
  wide->resize(static_cast<std::size_t>(units));
  narrow->clear();
  for (uint16_t u : *wide) {
    const int byte = cp1252_byte(u);
    if (byte < 0) return false;
    narrow->push_back(static_cast<char>(byte));
  }
  return true;
}

std::string display(const char *out, int32_t len, uint32_t enc) {
  if (len <= 0) return std::string();
  if (enc == VF_ENC_UCS2)
    return units_to_utf8(reinterpret_cast<const uint16_t *>(out), len);
  if (enc == VF_ENC_UTF8)
    return std::string(out, static_cast<std::size_t>(len));
  std::vector<uint16_t> wide(static_cast<std::size_t>(len));
  LATIN1ToUNICODE(reinterpret_cast<const uint8_t *>(out), len, wide.data(),
                  len * 2, nullptr);
  return units_to_utf8(wide.data(), len * 2);
}

std::string hex_of(const char *p, int32_t n) {
  std::string s;
  char buf[4];
  for (int32_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(p[i]));
    if (i) s += ' ';
    s += buf;
  }
  return s;
}

void shortest_round_trip(double v, char *buf, std::size_t size) {
  for (int prec = 15; prec <= 17; ++prec) {
    std::snprintf(buf, size, "%.*g", prec, v);
    if (std::strtod(buf, nullptr) == v) return;
  }
}

bool parse_number(const std::string &text, double *v) {
  const std::string s = trim_blanks(text);
  if (s == "." || s == "..") {
    *v = valfmt::standard_missing();
    return true;
  }
  if (s.size() == 2 && s[0] == '.') {
    // ".5" is a number; only a letter or '_' after the period makes a
    // missing value.
    if (const int code = valfmt::missing_code(static_cast<unsigned char>(s[1]));
        code >= 0) {
      *v = valfmt::missing_value(static_cast<uint8_t>(code));
      return true;
    }
  }
  char *end = nullptr;
  errno = 0;
  *v = std::strtod(s.c_str(), &end);
  return !s.empty() && end && *end == '\0';
}

bool parse_plain_number(const char *p, std::size_t n, double *v) {
  while (n > 0 && (*p == ' ' || *p == '\t')) {
    ++p;
    --n;
  }
  while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\t')) --n;
  // Period and one more byte may be a missing notation: leave it to
  // parse_number.
  if (n == 0 || (*p == '.' && n <= 2)) return false;
  const auto [end, ec] = std::from_chars(p, p + n, *v);
  return ec == std::errc() && end == p + n;
}

std::string show_number(double v) {
  if (valfmt::is_missing(v)) {
    const char c = valfmt::missing_char(v);
    return c == '.' ? std::string(".") : std::string(".") + c;
  }
  char buf[64];
  shortest_round_trip(v, buf, sizeof buf);
  return buf;
}

} // namespace valfmt_tool
