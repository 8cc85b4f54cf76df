// The host representations against an independent producer: fields that a
// COBOL compiler laid out for a spread of values (tools/gen_cobol_binary.sh
// wrote tests/binary/data/cobol_samples.txt).  Each sample must come out of
// the matching format byte for byte and read back to its value.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "binary_test_util.h"

namespace {

struct Sample {
  std::string kind;
  int w;
  int d;
  double value;
  std::string bytes;
};

std::vector<Sample> load_samples() {
  std::ifstream in(VALFMT_SOURCE_DIR "/tests/binary/data/cobol_samples.txt");
  std::vector<Sample> v;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    Sample s;
    std::string value, hex;
    ls >> s.kind >> s.w >> s.d >> value >> hex;
    s.value = std::strtod(value.c_str(), nullptr);
    s.bytes = bintest::bytes(hex);
    v.push_back(s);
  }
  return v;
}

// The EBCDIC code points of the characters a zoned COBOL field holds:
// digits, the overpunched digits { A..I } J..R, and the separate signs.
std::string to_ebcdic(const std::string &ascii) {
  std::string out;
  for (const char c : ascii) {
    unsigned char e;
    if (c >= '0' && c <= '9')
      e = static_cast<unsigned char>(0xF0 + (c - '0'));
    else if (c == '{')
      e = 0xC0;
    else if (c >= 'A' && c <= 'I')
      e = static_cast<unsigned char>(0xC1 + (c - 'A'));
    else if (c == '}')
      e = 0xD0;
    else if (c >= 'J' && c <= 'R')
      e = static_cast<unsigned char>(0xD1 + (c - 'J'));
    else if (c == '+')
      e = 0x4E;
    else if (c == '-')
      e = 0x60;
    else
      e = 0x00; // never in a zoned field
    out += static_cast<char>(e);
  }
  return out;
}

struct Member {
  const char *kind;
  fmtfn put;
  fmtfn read;
  bool ebcdic;    // the sample's zoned characters are translated
  bool magnitude; // the COBOL field is unsigned: it holds |value|
};

constexpr Member kMembers[] = {
    {"ZD", wzfmzd, wzifmzd, false, false},
    {"ZD", zf7zd, zif7zd, true, false},
    {"ZDL", zf7zdl, zif7zdl, true, false},
    {"ZDU", zf7zdu, zif7zdu, true, true},
    {"ZDS", zf7zds, zif7zds, true, false},
    {"ZDT", zf7zdt, zif7zdt, true, false},
    {"S370FPD", zf7pd, zif7pd, false, false},
    {"S370FPDU", zf7pdu, zif7pdu, false, true},
    {"PK", zfmpk, zifmpk, false, true},
    {"S370FIB", zf7ib, zif7ib, false, false},
    {"S370FPIB", zf7pib, zif7pib, false, true},
};

TEST(CobolCrossCheck, FormatsMatchTheCompilersFieldsAndReadBack) {
  const std::vector<Sample> samples = load_samples();
  ASSERT_GT(samples.size(), 400u);
  int checked = 0;
  for (const Sample &s : samples) {
    for (const Member &m : kMembers) {
      if (s.kind != m.kind) continue;
      const std::string want = m.ebcdic ? to_ebcdic(s.bytes) : s.bytes;
      const double v = m.magnitude ? std::fabs(s.value) : s.value;
      SCOPED_TRACE(s.kind + " " + std::to_string(s.w) + "." +
                   std::to_string(s.d) + " of " + std::to_string(s.value));
      const vftest::Run out = vftest::put(m.put, v, s.w, s.d);
      EXPECT_EQ(out.status, VF_OK);
      EXPECT_EQ(bintest::hex(out.text), bintest::hex(want));
      const vftest::Run back = vftest::input(m.read, want, s.w, s.d);
      EXPECT_EQ(back.status, VF_OK);
      EXPECT_EQ(back.number(), v == 0 ? 0.0 : v);
      ++checked;
    }
  }
  EXPECT_GT(checked, 450);
}

} // namespace
