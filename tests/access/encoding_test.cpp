// The encoding converters, 16-bit case folding and the encoding-name
// lookup.  Folding is checked for every unit against an independent
// reading of the published case runs, written out below as text.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "access/encoding.h"
#include "valfmt.h"

namespace {

// Runs of units with the delta added to each; "/2" is every second unit,
// "list" means the exception list.  The minus sign is U+2212.
constexpr const char *kUpRunsText =
    "0061-007A −32; 00E0-00F6 −32; 00F8-00FE −32; 00FF +121; "
    "0101-012F/2 −1; 0133-0137/2 −1; 013A-0148/2 −1; 014B-0177/2 −1; "
    "017A-017E/2 −1; 017F list; 0183 −1; 0185 −1; 0188 −1; 018C −1; "
    "0192 −1; 0199 −1; 01A1-01A5/2 −1; 01A8 −1; 01AD −1; 01B0 −1; 01B4 −1; "
    "01B6 −1; 01B9 −1; 01BD −1; 01C5 −1; 01C6 −2; 01C8 −1; 01C9 −2; "
    "01CB −1; 01CC −2; 01CE-01DC/2 −1; 01DF-01EF/2 −1; 01F2 −1; 01F3 −2; "
    "01F5 −1; 01FB-0217/2 −1; 0253-0254 list; 0257-0259 list; 025B list; "
    "0260 list; 0263 list; 0268-0269 list; 026F list; 0272 list; "
    "0283 list; 0288 list; 028A-028B list; 0292 list; 03AC −38; "
    "03AD-03AF −37; 03B1-03C1 −32; 03C3-03CB −32; 03CC −64; 03CD-03CE −63; "
    "03D0 −62; 03D1 −57; 03D5 −47; 03D6 −54; 03E3-03EF/2 −1; 03F0 −86; "
    "03F1 −80; 0430-044F −32; 0451-045C −80; 045E-045F −80; "
    "0461-0481/2 −1; 0491-04BF/2 −1; 04C2 −1; 04C4 −1; 04C8 −1; 04CC −1; "
    "04D1-04EB/2 −1; 04EF-04F5/2 −1; 04F9 −1; 0561-0586 −48; "
    "1E01-1E95/2 −1; 1EA1-1EF9/2 −1; 1F00-1F07 +8; 1F10-1F15 +8; "
    "1F20-1F27 +8; 1F30-1F37 +8; 1F40-1F45 +8; 1F51-1F57/2 +8; "
    "1F60-1F67 +8; 1F70-1F71 +74; 1F72-1F75 +86; 1F76-1F77 +100; "
    "1F78-1F79 list; 1F7A-1F7B +112; 1F7C-1F7D +126; 1F80-1F87 +8; "
    "1F90-1F97 +8; 1FA0-1FA7 +8; 1FB0-1FB1 +8; 1FB3 +9; 1FC3 +9; "
    "1FD0-1FD1 +8; 1FE0-1FE1 +8; 1FE5 +7; 1FF3 +9; 2170-217F −16; "
    "24D0-24E9 −26; FF41-FF5A −32";

constexpr const char *kDownRunsText =
    "0041-005A +32; 00C0-00D6 +32; 00D8-00DE +32; 0100-012E/2 +1; "
    "0132-0136/2 +1; 0139-0147/2 +1; 014A-0176/2 +1; 0178 −121; "
    "0179-017D/2 +1; 0181 list; 0182 +1; 0184 +1; 0186 list; 0187 +1; "
    "018A list; 018B +1; 018E-0190 list; 0191 +1; 0193-0194 list; "
    "0196-0197 list; 0198 +1; 019C-019D list; 01A0-01A4/2 +1; 01A7 +1; "
    "01A9 list; 01AC +1; 01AE list; 01AF +1; 01B1-01B2 list; 01B3 +1; "
    "01B5 +1; 01B7 list; 01B8 +1; 01BC +1; 01C4 +2; 01C5 +1; 01C7 +2; "
    "01C8 +1; 01CA +2; 01CB-01DB/2 +1; 01DE-01EE/2 +1; 01F1 +2; 01F2 +1; "
    "01F4 +1; 01FA-0216/2 +1; 0386 +38; 0388-038A +37; 038C +64; "
    "038E-038F +63; 0391-03A1 +32; 03A3-03AB +32; 03DA-03EE/2 +1; "
    "0401-040C +80; 040E-040F +80; 0410-042F +32; 0460-0480/2 +1; "
    "0490-04BE/2 +1; 04C1 +1; 04C3 +1; 04C7 +1; 04CB +1; 04D0-04EA/2 +1; "
    "04EE-04F4/2 +1; 04F8 +1; 0531-0556 +48; 10A0-10C5 +48; "
    "1E00-1E94/2 +1; 1EA0-1EF8/2 +1; 1F08-1F0F −8; 1F18-1F1D −8; "
    "1F28-1F2F −8; 1F38-1F3F −8; 1F48-1F4D −8; 1F59-1F5F/2 −8; "
    "1F68-1F6F −8; 1F88-1F8F −8; 1F98-1F9F −8; 1FA8-1FAF −8; 1FB8-1FB9 −8; "
    "1FBA-1FBB −74; 1FBC −9; 1FC8-1FCB −86; 1FCC −9; 1FD8-1FD9 −8; "
    "1FDA-1FDB −100; 1FE8-1FE9 −8; 1FEA-1FEB −112; 1FEC −7; "
    "1FF8-1FF9 list; 1FFA-1FFB −126; 1FFC −9; 2160-216F +16; "
    "24B6-24CF +26; FF21-FF3A +32";

constexpr const char *kUpAuxText =
    "017F→0053, 0253→0181, 0254→0186, 0257→018A, 0258→018E, 0259→018F, "
    "025B→0190, 0260→0193, 0263→0194, 0268→0197, 0269→0196, 026F→019C, "
    "0272→019D, 0283→01A9, 0288→01AE, 028A→01B1, 028B→01B2, 0292→01B7, "
    "1F78→1FF8, 1F79→1FF9";

constexpr const char *kDownAuxText =
    "0181→0253, 0186→0254, 018A→0257, 018E→0258, 018F→0259, 0190→025B, "
    "0193→0260, 0194→0263, 0196→0269, 0197→0268, 019C→026F, 019D→0272, "
    "01A9→0283, 01AE→0288, 01B1→028A, 01B2→028B, 01B7→0292, 1FF8→1F78, "
    "1FF9→1F79";

std::vector<std::string_view> split(std::string_view s, std::string_view sep) {
  std::vector<std::string_view> out;
  for (std::size_t k; (k = s.find(sep)) != std::string_view::npos;
       s.remove_prefix(k + sep.size()))
    out.push_back(s.substr(0, k));
  out.push_back(s);
  return out;
}

uint32_t hex4(std::string_view s, std::size_t at) {
  return static_cast<uint32_t>(std::stoul(std::string(s.substr(at, 4)), 0, 16));
}

int delta_of(std::string_view d) {
  const bool minus = d.substr(0, 3) == "\xE2\x88\x92"; // U+2212
  return (minus ? -1 : 1) * std::stoi(std::string(d.substr(minus ? 3 : 1)));
}

// The mapping of all 65536 units that a run list and its exceptions give.
std::vector<uint16_t> reference(std::string_view runs, std::string_view aux) {
  std::map<uint32_t, uint16_t> list;
  for (std::string_view t : split(aux, ", ")) // "017F→0053"
    list[hex4(t, 0)] = static_cast<uint16_t>(hex4(t, 7));
  std::vector<uint16_t> m(65536);
  for (uint32_t u = 0; u < 65536; ++u) m[u] = static_cast<uint16_t>(u);
  for (std::string_view t : split(runs, "; ")) {
    const uint32_t first = hex4(t, 0);
    const bool range = t[4] == '-';
    const uint32_t last = range ? hex4(t, 5) : first;
    std::size_t p = range ? 9 : 4;
    const uint32_t step = t.substr(p, 2) == "/2" ? 2 : 1;
    const std::string_view d = t.substr(p + (step == 2 ? 3 : 1));
    for (uint32_t u = first; u <= last; u += step)
      m[u] = d == "list"
                 ? (list.count(u) ? list[u] : static_cast<uint16_t>(u))
                 : static_cast<uint16_t>(static_cast<int>(u) + delta_of(d));
  }
  return m;
}

TEST(EncodingCase, EveryUnitFoldsAsTheReferenceSays) {
  const auto up = reference(kUpRunsText, kUpAuxText);
  const auto down = reference(kDownRunsText, kDownAuxText);
  std::vector<uint16_t> upper(65536), lower(65536);
  for (uint32_t u = 0; u < 65536; ++u)
    upper[u] = lower[u] = static_cast<uint16_t>(u);
  UPCASE(upper.data(), 65536);
  LOWCASE(lower.data(), 65536);
  for (uint32_t u = 0, wrong = 0; u < 65536 && wrong < 20; ++u) {
    wrong += upper[u] != up[u] || lower[u] != down[u];
    EXPECT_EQ(upper[u], up[u]) << std::hex << "upper of " << u;
    EXPECT_EQ(lower[u], down[u]) << std::hex << "lower of " << u;
  }
}

TEST(EncodingCase, InPlaceOnlyWithinTheCount) {
  uint16_t text[3] = {'a', 0x00E9, 'b'};
  UPCASE(text, 2);
  EXPECT_EQ(std::vector<uint16_t>(text, text + 3),
            (std::vector<uint16_t>{'A', 0x00C9, 'b'}));
  LOWCASE(text, -1);
  UPCASE(nullptr, 3);
  EXPECT_EQ(text[0], 'A');
}

TEST(EncodingLatin1, WidensThroughWindows1252AndCuts) {
  const uint8_t src[7] = {0x80, 0x8D, 0xE9, 'A', 0x9F, 'z', 0xFF};
  uint16_t dst[8];
  int32_t n = -1;
  EXPECT_EQ(LATIN1ToUNICODE(src, 7, dst, 16, &n), VF_OK);
  EXPECT_EQ(
      std::vector<uint16_t>(dst, dst + n),
      (std::vector<uint16_t>{0x20AC, 0x008D, 0x00E9, 'A', 0x0178, 'z', 0xFF}));
  // Capacity 10 or 11 bytes holds five units.
  for (int32_t cap : {10, 11}) {
    dst[5] = 0xBEEF;
    EXPECT_EQ(LATIN1ToUNICODE(src, 7, dst, cap, &n), VF_WARN);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(dst[5], 0xBEEF);
  }
  // Bad arguments read and write nothing.
  EXPECT_EQ(LATIN1ToUNICODE(src, 2, nullptr, 4, &n), VF_WARN);
  EXPECT_EQ(LATIN1ToUNICODE(nullptr, 2, dst, 4, &n), VF_OK);
  EXPECT_EQ(LATIN1ToUNICODE(src, -1, dst, 4, &n), VF_OK);
  EXPECT_EQ(n, 0);
}

TEST(EncodingUtf8, EveryUnitRoundTrips) {
  std::vector<uint16_t> all(65536), back(65536);
  for (uint32_t u = 0; u < 65536; ++u) all[u] = static_cast<uint16_t>(u);
  std::vector<uint8_t> utf8(3 * 65536);
  int32_t units = 0, bytes = 0;
  ASSERT_EQ(UNICODEToUTF8(all.data(), 2 * 65536, utf8.data(),
                          static_cast<int32_t>(utf8.size()), &units, &bytes),
            VF_OK);
  EXPECT_EQ(bytes, 0x80 * 1 + (0x800 - 0x80) * 2 + (0x10000 - 0x800) * 3);
  int32_t n = 0, nbytes = 0;
  ASSERT_EQ(
      UTF8ToUNICODE(utf8.data(), bytes, back.data(), 2 * 65536, &n, &nbytes),
      VF_OK);
  EXPECT_EQ(nbytes, 2 * n);
  EXPECT_EQ(back, all);
  const uint8_t euro[] = {0xE2, 0x82, 0xAC}; // at 0x80 + 2*0x780 + 3*0x18AC
  EXPECT_EQ(std::memcmp(utf8.data() + 0x80 + 0xF00 + 3 * 0x18AC, euro, 3), 0);
}

TEST(EncodingUtf8, EncodingStopsBeforeACharacterThatDoesNotFit) {
  const uint16_t text[3] = {'A', 0x00E9, 0x20AC};
  uint8_t dst[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  int32_t units = -1, bytes = -1;
  EXPECT_EQ(UNICODEToUTF8(text + 2, 2, dst, 2, &units, &bytes), VF_WARN);
  EXPECT_EQ(units + bytes, 0);
  EXPECT_EQ(UNICODEToUTF8(text, 6, dst, 4, &units, &bytes), VF_WARN);
  EXPECT_EQ(units, 2);
  EXPECT_EQ(bytes, 3);
  EXPECT_EQ(dst[3], 0xEE);
  EXPECT_EQ(UNICODEToUTF8(text, 6, dst, -1, &units, &bytes), VF_WARN);
  EXPECT_EQ(UNICODEToUTF8(text, -6, dst, 4, &units, &bytes), VF_OK);
  EXPECT_EQ(units + bytes, 0);
  EXPECT_EQ(dst[3], 0xEE);
}

TEST(EncodingUtf8, DecodingWithoutValidation) {
  uint16_t dst[4] = {};
  int32_t units = -1, bytes = -1;
  const uint8_t grin[] = {0xF0, 0x9F, 0x98, 0x80}; // keeps the low 16 bits
  EXPECT_EQ(UTF8ToUNICODE(grin, 4, dst, 8, &units, &bytes), VF_OK);
  EXPECT_EQ(units, 1);
  EXPECT_EQ(dst[0], 0xF600);
  // A stray continuation byte gives its six low bits, a plain byte inside
  // a sequence its bits under the lead mask; five- and six-byte leads too.
  const uint8_t odd[] = {0xBF, 0xC3, 0x41, 0xF8, 0x88, 0x80, 0x80,
                         0x81, 0xFC, 0x80, 0x80, 0x80, 0x81, 0x82};
  EXPECT_EQ(UTF8ToUNICODE(odd, sizeof odd, dst, 8, &units, &bytes), VF_OK);
  EXPECT_EQ(std::vector<uint16_t>(dst, dst + units),
            (std::vector<uint16_t>{0x3F, (3u << 6) | 1, 1, (1u << 6) | 2}));
}

TEST(EncodingUtf8, DecodingStopsAtTheSourceEndOrAFullDestination) {
  uint16_t dst[4] = {0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
  int32_t units = -1, bytes = -1;
  const uint8_t text[] = {'A', 0xC3, 0xA9}; // srclen 2 cuts the sequence
  EXPECT_EQ(UTF8ToUNICODE(text, 2, dst, 8, &units, &bytes), 1);
  EXPECT_EQ(units, 1);
  EXPECT_EQ(bytes, 2);
  EXPECT_EQ(dst[1], 0xBEEF);
  EXPECT_EQ(UTF8ToUNICODE(text, 3, dst, 3, &units, &bytes), VF_WARN);
  EXPECT_EQ(units, 1);
  EXPECT_EQ(dst[1], 0xBEEF);
  EXPECT_EQ(UTF8ToUNICODE(text, 3, dst, -8, &units, nullptr), VF_WARN);
  EXPECT_EQ(UTF8ToUNICODE(text, -3, dst, 8, nullptr, &bytes), VF_OK);
  EXPECT_EQ(bytes, 0);
  EXPECT_EQ(dst[1], 0xBEEF);
}

TEST(EncodingNames, EveryTableNameFindsItselfInAnyCase) {
  int names = 0;
  for (const valfmt::EncNameBucket &bucket : valfmt::kEncNameTable) {
    for (int32_t i = 0; i < bucket.count; ++i, ++names) {
      const valfmt::EncNameEntry &e = bucket.entries[i];
      std::string lower(e.name, static_cast<std::size_t>(e.len));
      for (char &c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      uint32_t id = 0xFFFF;
      EXPECT_EQ(EncnameToID(lower.data(), e.len, &id), VF_OK) << e.name;
      EXPECT_EQ(id, e.id) << e.name;
      EXPECT_EQ(lower, e.name) << "upper-cased in the caller's buffer";
    }
  }
  EXPECT_GT(names, 0);
}

TEST(EncodingNames, TellingRowsAndRefusals) {
  char utf8[] = "utf-8", wlt1[] = "wlt1", u8[] = "u8", latin[] = "LATIN1",
       longer[] = "UTF-8X", high[] = "\xFF\xFE\xFD\xFC\xFB";
  uint32_t id = 0;
  EXPECT_EQ(EncnameToID(utf8, 5, &id), VF_OK);
  EXPECT_EQ(id, 20u);
  EXPECT_EQ(EncnameToID(wlt1, 4, nullptr), VF_OK);
  id = 77;
  EXPECT_EQ(EncnameToID(u8, 2, &id), 4);
  EXPECT_STREQ(u8, "u8") << "refused before any change";
  EXPECT_EQ(EncnameToID(latin, 5, &id), 4); // "LATIN" alone
  EXPECT_EQ(EncnameToID(longer, 6, &id), 4);
  EXPECT_EQ(EncnameToID(high, 5, &id), 4);
  EXPECT_EQ(id, 77u);
}

TEST(EncodingBudget, UnitsThatFitEachMethod) {
  const uint16_t a_e_b[3] = {'A', 0x00E9, 'B'};
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 20, 3), 2); // UTF-8: 1 + 2, then over
  const uint16_t wide[2] = {0x20AC, 0x07FF};
  EXPECT_EQ(NLSNUMCHAR(wide, 2, 161, 4), 1);  // 3 + 2
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 28, 2), 2);  // single byte
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 205, 3), 2); // one or two bytes
  // Shift-out / shift-in: A 1; e-acute after ASCII 3; B after double 2;
  // U+4E00 after ASCII 3; U+4E01 after double 2; C after double 2.
  const uint16_t mixed[6] = {'A', 0x00E9, 'B', 0x4E00, 0x4E01, 'C'};
  const int fits[] = {0, 1, 1, 1, 2, 2, 3, 3, 3, 4, 4, 5, 5, 6, 6};
  for (int budget = 0; budget <= 14; ++budget)
    EXPECT_EQ(NLSNUMCHAR(mixed, 6, 129, budget), fits[budget]) << budget;
  const uint16_t kanji[2] = {0x4E00, 'x'}; // a leading double-byte costs 3
  EXPECT_EQ(NLSNUMCHAR(kanji, 2, 172, 2), 0);
  EXPECT_EQ(NLSNUMCHAR(kanji, 2, 172, 5), 2);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 0, -1), 0);
}

} // namespace
