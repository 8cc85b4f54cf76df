// Packing Python text for the library and decoding its results.
#include "text_codec.h"

#include <array>

#include "valfmt.h"

namespace valfmt_py {
namespace {

constexpr uint32_t kUtf8Limit1 = 0x80;
constexpr uint32_t kUtf8Limit2 = 0x800;
constexpr uint32_t kUtf8Limit3 = 0x10000;
constexpr uint32_t kBmpEnd = 0x10000;
constexpr uint32_t kHighSurrogate = 0xD800;
constexpr uint32_t kLowSurrogate = 0xDC00;
constexpr uint32_t kSurrogateEnd = 0xE000;
constexpr uint32_t kReplacement = 0xFFFD;

// The library's own widening table, read once through LATIN1ToUNICODE so
// that both directions agree with it byte for byte.
struct Cp1252 {
  std::array<uint16_t, 256> to_unit{};
  Cp1252() {
    std::array<uint8_t, 256> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = static_cast<uint8_t>(i);
    LATIN1ToUNICODE(bytes.data(), 256, to_unit.data(), 512, nullptr);
  }
};

const Cp1252 &cp1252() {
  static const Cp1252 table;
  return table;
}

void put_utf8(uint32_t cp, std::vector<uint8_t> *out) {
  if (cp < kUtf8Limit1) {
    out->push_back(static_cast<uint8_t>(cp));
  } else if (cp < kUtf8Limit2) {
    out->push_back(static_cast<uint8_t>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<uint8_t>(0x80 | (cp & 0x3F)));
  } else if (cp < kUtf8Limit3) {
    out->push_back(static_cast<uint8_t>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<uint8_t>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<uint8_t>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<uint8_t>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<uint8_t>(0x80 | (cp & 0x3F)));
  }
}

void put_unit(uint32_t u, std::vector<uint8_t> *out) {
  out->push_back(static_cast<uint8_t>(u & 0xFF));
  out->push_back(static_cast<uint8_t>(u >> 8));
}

uint32_t unit_at(const void *units, int kind, std::size_t i) {
  if (kind == 1) return static_cast<const uint8_t *>(units)[i];
  if (kind == 2) return static_cast<const uint16_t *>(units)[i];
  return static_cast<const uint32_t *>(units)[i];
}

// Units of 16 bits, little- or big-endian, pairing valid surrogates.
void decode_units(const uint8_t *p, std::size_t n, bool big,
                  std::u32string *out) {
  auto unit = [&](std::size_t i) -> uint32_t {
    const uint32_t a = p[2 * i], b = p[2 * i + 1];
    return big ? (a << 8) | b : (b << 8) | a;
  };
  for (std::size_t i = 0; i < n; ++i) {
    const uint32_t u = unit(i);
    if (u >= kHighSurrogate && u < kLowSurrogate && i + 1 < n) {
      const uint32_t v = unit(i + 1);
      if (v >= kLowSurrogate && v < kSurrogateEnd) {
        out->push_back(kBmpEnd + ((u - kHighSurrogate) << 10) +
                       (v - kLowSurrogate));
        ++i;
        continue;
      }
    }
    out->push_back(u);
  }
}

// UTF-8 that the library wrote; a broken sequence gives U+FFFD.
void decode_utf8(const uint8_t *p, std::size_t n, std::u32string *out) {
  std::size_t i = 0;
  while (i < n) {
    const uint8_t b = p[i];
    if (b < 0x80) {
      out->push_back(b);
      ++i;
      continue;
    }
    const std::size_t more = b < 0xC0 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    bool ok = more > 0 && i + more < n;
    uint32_t cp = b & (0x3Fu >> more);
    for (std::size_t k = 1; ok && k <= more; ++k) {
      if ((p[i + k] & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (p[i + k] & 0x3Fu);
    }
    out->push_back(ok ? cp : kReplacement);
    i += ok ? more + 1 : 1;
  }
}

} // namespace

int cp1252_byte(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  const auto &t = cp1252().to_unit;
  for (int b = 0x80; b < 0xA0; ++b)
    if (t[static_cast<std::size_t>(b)] == cp) return b;
  return -1;
}

uint32_t cp1252_char(uint8_t b) {
  return cp1252().to_unit[b];
}

const uint16_t *cp1252_units() {
  return cp1252().to_unit.data();
}

void TextColumn::reserve(std::size_t n, std::size_t bytes) {
  data.reserve(bytes);
  start.reserve(n);
  length.reserve(n);
  form.reserve(n);
}

void TextColumn::add_bytes(const uint8_t *p, std::size_t len) {
  start.push_back(static_cast<int64_t>(data.size()));
  data.insert(data.end(), p, p + len);
  length.push_back(static_cast<int32_t>(len));
  form.push_back(TextForm::kNarrow);
}

void TextColumn::add_missing() {
  start.push_back(static_cast<int64_t>(data.size()));
  length.push_back(0);
  form.push_back(TextForm::kMissing);
}

void TextColumn::add_code_points(const uint32_t *cp, std::size_t n,
                                 bool wide_ok) {
  add_units(cp, 4, n, wide_ok);
}

void TextColumn::add_units(const void *units, int kind, std::size_t n,
                           bool wide_ok) {
  const std::size_t first = data.size();
  bool narrow = true;
  for (std::size_t i = 0; i < n && narrow; ++i) {
    const int b = cp1252_byte(unit_at(units, kind, i));
    if (b < 0)
      narrow = false;
    else
      data.push_back(static_cast<uint8_t>(b));
  }
  if (narrow) {
    start.push_back(static_cast<int64_t>(first));
    length.push_back(static_cast<int32_t>(n));
    form.push_back(TextForm::kNarrow);
    return;
  }
  data.resize(first);
  if (!wide_ok) {
    start.push_back(static_cast<int64_t>(first));
    for (std::size_t i = 0; i < n; ++i)
      put_utf8(unit_at(units, kind, i), &data);
    length.push_back(static_cast<int32_t>(data.size() - first));
    form.push_back(TextForm::kNarrow);
    return;
  }
  if (data.size() % 2 != 0) data.push_back(0); // units start on even bytes
  start.push_back(static_cast<int64_t>(data.size()));
  for (std::size_t i = 0; i < n; ++i) {
    const uint32_t cp = unit_at(units, kind, i);
    if (cp >= kBmpEnd) {
      const uint32_t v = cp - kBmpEnd;
      put_unit(kHighSurrogate + (v >> 10), &data);
      put_unit(kLowSurrogate + (v & 0x3FF), &data);
    } else {
      put_unit(cp, &data);
    }
  }
  length.push_back(static_cast<int32_t>(
      (data.size() - static_cast<std::size_t>(start.back())) / 2));
  form.push_back(TextForm::kWide);
}

void decode_result(const uint8_t *p, std::size_t len, uint32_t enc,
                   std::u32string *out) {
  if (enc == VF_ENC_UCS2 || enc == VF_ENC_UCS2BE) {
    decode_units(p, len / 2, enc == VF_ENC_UCS2BE, out);
  } else if (enc == VF_ENC_UTF8) {
    decode_utf8(p, len, out);
  } else {
    for (std::size_t i = 0; i < len; ++i) out->push_back(cp1252_char(p[i]));
  }
}

} // namespace valfmt_py
