// Tests of the encoding converters, the case tables, the encoding-name
// table and the byte-budget measure.
//
// The expected case mappings and encoding names are written out here as
// runs, pairs and name lists and parsed at run time, so the compiled tables
// are checked against an independent reading of the same data.

#include "access/encoding.h"
#include "valfmt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using valfmt::cp1252_to_ucs2;
using valfmt::lowcase_unit;
using valfmt::upcase_unit;

// ---------------------------------------------------------------------------
// Reference data: case runs, exception pairs, encoding names.

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

// Identifier, then its names separated by '/'.
constexpr const char *kEncNamesText =
    "20 UTF-8/UTF8; 24 UTF-16BE/U16B; 25 UTF-16LE/U16L; 26 UTF-32BE/U32B; "
    "27 UTF-32LE/U32L; 28 US-ASCII/ANSI; 29 LATIN1/LAT1; 30 LATIN2/LAT2; "
    "31 LATIN3/LAT3; 32 LATIN4/LAT4; 33 CYRILLIC/CYRL; 34 ARABIC/ARAB; "
    "35 GREEK/GREK; 36 HEBREW/HEBR; 37 LATIN5/LAT5; 38 LATIN6/LAT6; "
    "39 THAI; 40 LATIN9/LAT9; 41 PCOEM437/P437; 42 PCOEM850/P850; "
    "43 PCOEM852/P852; 44 PCOEM857/P857; 45 PCOEM858/P858; "
    "46 PCOEM862/P862; 47 PCOEM864/P864; 48 PCOEM865/P865; "
    "49 PCOEM866/P866; 50 PCOEM869/P869; 51 PCOEM874/P874; "
    "52 PCOEM921/P921; 53 PCOEM922/P922; 54 PCOEM1129/PVIE; "
    "55 MSDOS720/P720; 56 MSDOS737/P737; 57 MSDOS775/P775; "
    "58 PCOEM860/P860; 59 PCOEM863/P863; 60 WLATIN2/WLT2; "
    "61 WCYRILLIC/WCYR; 62 WLATIN1/WLT1; 63 WGREEK/WGRK; 64 WTURKISH/WTUR; "
    "65 WHEBREW/WHEB; 66 WARABIC/WARA; 67 WBALTIC/WBAL; "
    "68 WVIETNAMESE/WVIE; 69 AROMAN/AROM; 70 AARABIC/AARA; "
    "71 AHEBREW/AHEB; 72 AGREEK/AGRK; 73 ATHAI/ATHA; 74 AEASTEURO/ALT2; "
    "75 ATURKISH/ATUR; 76 AUKRAINIAN/AUKR; 77 ETPC; 78 EBCDIC037/E037; "
    "79 EBCDIC273/E273; 80 EBCDIC277/E277; 81 EBCDIC278/E278; "
    "82 EBCDIC280/E280; 83 EBCDIC284/E284; 84 EBCDIC285/E285; "
    "85 EBCDIC297/E297; 86 EBCDIC420/E420; 87 EBCDIC424/E424; "
    "88 EBCDIC500/E500; 89 EBCDIC838/E838; 90 EBCDIC870/E870; "
    "91 EBCDIC875/E875; 92 EBCDIC880/E880; 93 EBCDIC924/E924; "
    "95 EBCDIC1025/ECYR; 96 EBCDIC1026/ETUR; 97 EBCDIC1047/ELAT; "
    "98 EBCDIC1112/EBAL; 99 EBCDIC1122/EEST; 100 EBCDIC1130/EVIE; "
    "101 OPEN_ED-420/EOAR; 102 OPEN_ED-424/EOIW; 103 OPEN_ED-838/EOTH; "
    "104 OPEN_ED-870/EOL2; 105 OPEN_ED-875/EOEL; 106 OPEN_ED-924/EOLT; "
    "108 OPEN_ED-1025/EOCY; 109 OPEN_ED-1026/EOTR; 110 OPEN_ED-1047/EOL1; "
    "111 OPEN_ED-1112/EOBL; 112 OPEN_ED-1122/EOET; 113 OPEN_ED-1130/EOVI; "
    "114 ROMAN8/ROM8; 117 IBM-937/YIBM; 118 MS-950/YWIN; 119 EUC-TW/YEUC; "
    "120 HP15-TW/YHPX; 121 MACOS-2/YMAC; 122 IBM-950/YPCE; 123 BIG5; "
    "124 IBM-935/ZIBM; 125 EUC-CN/ZEUC; 126 MS-936/ZWIN; "
    "127 MACOS-25/ZMAC; 128 IBM-1381/ZPCE; 129 IBM-939/JIBM; "
    "130 IBM-930/J930; 131 FUJITSU-JP/JFUJ; 132 HITACHI-JP/JHIT; "
    "133 DEC-JP/JVMS; 134 EUC-JP/JEUC; 135 MACOS-1/JMAC; 136 MS-932/J932; "
    "137 IBM-942/J942; 138 SHIFT-JIS/SJIS; 139 IBM-933/KIBM; "
    "140 EUC-KR/KEUC; 141 MS-949/KWIN; 142 IBM-949/KPCE; 143 MACOS-3/KMAC; "
    "144 FUJITSU-TW/YFUJ; 145 FUJITSU-CN/ZFUJ; 146 FUJITSU-KO/KFUJ; "
    "147 HITACHI-TW/YHIT; 148 HITACHI-CN/ZHIT; 149 HITACHI-KO/KHIT; "
    "150 HITZOX-TW/YHTS; 151 HITZOX-CN/ZHTS; 152 HITZOX-JP/JHTS; "
    "153 HITZOX-KO/KHTS; 154 HITZOX-KANA/JHTK; 155 NEC-JP/JNEC; "
    "156 NEC-KANA/JNEK; 157 PCJIS/JSPC; 158 JIS-7/JIS7; 159 DEC-TW/YVMS; "
    "160 DEC-CN/ZVMS; 163 AICELAND/AICE; 164 EBCDIC275/E275; "
    "165 FUJITSU-KANA/JFUK; 166 HITACHI-KANA/JHIK; 167 ISO2022JP/JISO; "
    "168 ISO2022KR/KISO; 169 ISO2022CNGB/ZISO; 170 ZOX1047/SELT; 171 USER; "
    "172 ISO2022CNCNS/ZIST; 173 OPEN_ED-037/EOUS; 174 OPEN_ED-273/EODE; "
    "175 OPEN_ED-275/EOBR; 176 OPEN_ED-277/EODA; 177 OPEN_ED-278/EOFI; "
    "178 OPEN_ED-280/EOIT; 179 OPEN_ED-284/EOES; 180 OPEN_ED-285/EOUK; "
    "181 OPEN_ED-297/EOFR; 182 OPEN_ED-500/EOSW; 183 EBCDIC1140/E140; "
    "184 EBCDIC1141/E141; 185 EBCDIC1142/E142; 186 EBCDIC1143/E143; "
    "187 EBCDIC1144/E144; 188 EBCDIC1145/E145; 189 EBCDIC1146/E146; "
    "190 EBCDIC1147/E147; 191 EBCDIC1148/E148; 192 OPEN_ED-1140/EO40; "
    "193 OPEN_ED-1141/EO41; 194 OPEN_ED-1142/EO42; 195 OPEN_ED-1143/EO43; "
    "196 OPEN_ED-1144/EO44; 197 OPEN_ED-1145/EO45; 198 OPEN_ED-1146/EO46; "
    "199 OPEN_ED-1147/EO47; 200 OPEN_ED-1148/EO48; 201 EBCDIC425/E425; "
    "202 OPEN_ED-425/EOA2; 205 GB18030/GBKE; 206 IBM-939E/939E; "
    "207 EBCDIC1097/E097; 208 OPEN_ED-1097/EOFA; 209 EBCDIC1137/E137; "
    "210 OPEN_ED-1137/EOIN; 211 EBCDIC1149/E149; 212 OPEN_ED-1149/EOIS; "
    "213 EBCDIC1153/E153; 214 OPEN_ED-1153/EO53; 215 EBCDIC1154/E154; "
    "216 OPEN_ED-1154/EO54; 217 EBCDIC1155/E155; 218 OPEN_ED-1155/EO55; "
    "219 EBCDIC1156/E156; 220 OPEN_ED-1156/EO56; 221 EBCDIC1157/E157; "
    "222 OPEN_ED-1157/EO57; 223 EBCDIC1158/E158; 224 OPEN_ED-1158/EO58; "
    "225 EBCDIC905/E905; 226 OPEN_ED-905/EOL3; 227 LATIN8/LAT8; "
    "228 PCISCII806/P806; 229 PC1098/P098";

struct CaseSpan {
  uint32_t first, last, step;
  int delta;
  bool list;
};

uint32_t hex4(std::string_view s, size_t at) {
  return static_cast<uint32_t>(
      std::stoul(std::string(s.substr(at, 4)), nullptr, 16));
}

std::vector<std::string_view> split(std::string_view s, std::string_view sep) {
  std::vector<std::string_view> out;
  for (;;) {
    const size_t k = s.find(sep);
    out.push_back(s.substr(0, k));
    if (k == std::string_view::npos) return out;
    s.remove_prefix(k + sep.size());
  }
}

std::vector<CaseSpan> parse_runs(std::string_view text) {
  std::vector<CaseSpan> runs;
  for (std::string_view t : split(text, "; ")) {
    CaseSpan r{hex4(t, 0), hex4(t, 0), 1, 0, false};
    size_t p = 4;
    if (t[p] == '-') {
      r.last = hex4(t, p + 1);
      p += 5;
    }
    if (t.substr(p, 2) == "/2") {
      r.step = 2;
      p += 2;
    }
    EXPECT_EQ(t[p], ' ') << t;
    std::string_view d = t.substr(p + 1);
    if (d == "list") {
      r.list = true;
    } else {
      int sign = 1;
      if (d.substr(0, 3) == "\xE2\x88\x92") { // U+2212
        sign = -1;
        d.remove_prefix(3);
      } else {
        EXPECT_EQ(d[0], '+') << t;
        d.remove_prefix(1);
      }
      r.delta = sign * std::stoi(std::string(d));
    }
    runs.push_back(r);
  }
  return runs;
}

std::vector<std::pair<uint16_t, uint16_t>> parse_aux(std::string_view text) {
  std::vector<std::pair<uint16_t, uint16_t>> pairs;
  for (std::string_view t : split(text, ", ")) {
    EXPECT_EQ(t.substr(4, 3), "\xE2\x86\x92") << t; // U+2192
    pairs.emplace_back(hex4(t, 0), hex4(t, 7));
  }
  return pairs;
}

struct NamedId {
  std::string name;
  uint32_t id;
};

std::vector<NamedId> parse_names() {
  std::vector<NamedId> out;
  for (std::string_view t : split(kEncNamesText, "; ")) {
    const size_t sp = t.find(' ');
    const auto id =
        static_cast<uint32_t>(std::stoul(std::string(t.substr(0, sp))));
    for (std::string_view n : split(t.substr(sp + 1), "/"))
      out.push_back({std::string(n), id});
  }
  return out;
}

// The full 64K mapping that a run list and its exception list describe.
std::vector<uint16_t> model(std::string_view runs_text,
                            std::string_view aux_text,
                            std::set<uint16_t> *listed = nullptr) {
  std::vector<uint16_t> m(65536);
  for (uint32_t u = 0; u < 65536; ++u) m[u] = static_cast<uint16_t>(u);
  std::map<uint16_t, uint16_t> aux;
  for (auto [from, to] : parse_aux(aux_text)) aux[from] = to;
  for (const CaseSpan &r : parse_runs(runs_text)) {
    for (uint32_t u = r.first; u <= r.last; u += r.step) {
      if (r.list) {
        if (listed) listed->insert(static_cast<uint16_t>(u));
        if (aux.count(static_cast<uint16_t>(u)))
          m[u] = aux[static_cast<uint16_t>(u)];
      } else {
        m[u] = static_cast<uint16_t>(static_cast<int>(u) + r.delta);
      }
    }
  }
  return m;
}

// ---------------------------------------------------------------------------
// Windows-1252 widening.

TEST(EncodingCp1252, TableMatchesTheCodePage) {
  const uint16_t high[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  for (int b = 0; b < 256; ++b) {
    const uint16_t want = b >= 0x80 && b < 0xA0 ? high[b - 0x80] : b;
    EXPECT_EQ(cp1252_to_ucs2[b], want) << "byte " << b;
  }
  // The unassigned bytes keep their own value.
  for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(cp1252_to_ucs2[b], b);
}

TEST(EncodingCp1252, Latin1ToUnicodeWidensAndCuts) {
  const uint8_t src[7] = {0x80, 0x8D, 0xE9, 'A', 0x9F, 'z', 0xFF};
  uint16_t dst[8];
  std::fill(std::begin(dst), std::end(dst), 0xBEEF);
  int32_t n = -1;
  EXPECT_EQ(LATIN1ToUNICODE(src, 7, dst, 16, &n), VF_OK);
  EXPECT_EQ(n, 7);
  const uint16_t want[7] = {0x20AC, 0x008D, 0x00E9, 'A', 0x0178, 'z', 0xFF};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(dst[i], want[i]) << i;
  EXPECT_EQ(dst[7], 0xBEEF);

  // Capacity 10 bytes holds five units; an odd capacity rounds down.
  for (int32_t cap : {10, 11}) {
    std::fill(std::begin(dst), std::end(dst), 0xBEEF);
    EXPECT_EQ(LATIN1ToUNICODE(src, 7, dst, cap, &n), VF_WARN);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(dst[4], 0x0178);
    EXPECT_EQ(dst[5], 0xBEEF);
  }
  // Exactly enough room is not a cut; the count pointer may be null.
  EXPECT_EQ(LATIN1ToUNICODE(src, 3, dst, 6, nullptr), VF_OK);
}

TEST(EncodingCp1252, Latin1ToUnicodeBadArguments) {
  const uint8_t src[2] = {'a', 'b'};
  uint16_t dst[2] = {0xBEEF, 0xBEEF};
  int32_t n = -1;
  EXPECT_EQ(LATIN1ToUNICODE(src, 2, dst, 0, &n), VF_WARN);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(LATIN1ToUNICODE(src, 2, dst, -4, &n), VF_WARN);
  EXPECT_EQ(LATIN1ToUNICODE(src, 2, nullptr, 4, &n), VF_WARN);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(LATIN1ToUNICODE(nullptr, 2, dst, 4, &n), VF_OK);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(LATIN1ToUNICODE(src, -1, dst, 4, &n), VF_OK);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(dst[0], 0xBEEF);
  EXPECT_EQ(dst[1], 0xBEEF);
}

// ---------------------------------------------------------------------------
// UCS-2 to UTF-8.

TEST(EncodingToUtf8, EncodesOneToThreeBytes) {
  const uint16_t src[] = {0x0041, 0x007F, 0x0080, 0x07FF,
                          0x0800, 0x20AC, 0xD83D, 0xFFFF};
  const uint8_t want[] = {0x41, 0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80,
                          0xE2, 0x82, 0xAC, 0xED, 0xA0, 0xBD, 0xEF, 0xBF, 0xBF};
  uint8_t dst[32];
  int32_t units = -1, bytes = -1;
  EXPECT_EQ(UNICODEToUTF8(src, sizeof src, dst, sizeof dst, &units, &bytes),
            VF_OK);
  EXPECT_EQ(units, 8);
  ASSERT_EQ(bytes, static_cast<int32_t>(sizeof want));
  EXPECT_EQ(std::memcmp(dst, want, sizeof want), 0);

  // An odd byte length leaves the last half unit unread.
  EXPECT_EQ(UNICODEToUTF8(src, 3, dst, sizeof dst, &units, &bytes), VF_OK);
  EXPECT_EQ(units, 1);
  EXPECT_EQ(bytes, 1);
}

TEST(EncodingToUtf8, StopsBeforeACharacterThatDoesNotFit) {
  const uint16_t euro = 0x20AC;
  uint8_t dst[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  int32_t units = -1, bytes = -1;
  EXPECT_EQ(UNICODEToUTF8(&euro, 2, dst, 2, &units, &bytes), VF_WARN);
  EXPECT_EQ(units, 0);
  EXPECT_EQ(bytes, 0);
  EXPECT_EQ(dst[0], 0xEE);

  const uint16_t text[3] = {'A', 0x00E9, 0x20AC};
  EXPECT_EQ(UNICODEToUTF8(text, 6, dst, 4, &units, &bytes), VF_WARN);
  EXPECT_EQ(units, 2);
  EXPECT_EQ(bytes, 3);
  EXPECT_EQ(dst[3], 0xEE);

  // Null outputs are allowed; bad capacities and sources write nothing.
  EXPECT_EQ(UNICODEToUTF8(text, 6, dst, 4, nullptr, nullptr), VF_WARN);
  std::fill(std::begin(dst), std::end(dst), 0xEE);
  EXPECT_EQ(UNICODEToUTF8(text, 6, dst, -1, &units, &bytes), VF_WARN);
  EXPECT_EQ(UNICODEToUTF8(text, 6, nullptr, 4, &units, &bytes), VF_WARN);
  EXPECT_EQ(bytes, 0);
  EXPECT_EQ(UNICODEToUTF8(nullptr, 6, dst, 4, &units, &bytes), VF_OK);
  EXPECT_EQ(UNICODEToUTF8(text, -6, dst, 4, &units, &bytes), VF_OK);
  EXPECT_EQ(units, 0);
  EXPECT_EQ(dst[0], 0xEE);
}

// ---------------------------------------------------------------------------
// UTF-8 to UCS-2.

TEST(EncodingFromUtf8, DecodesTellingSequences) {
  uint16_t dst[4] = {};
  int32_t units = -1, bytes = -1;
  const uint8_t e_acute[] = {0xC3, 0xA9};
  EXPECT_EQ(UTF8ToUNICODE(e_acute, 2, dst, 8, &units, &bytes), VF_OK);
  EXPECT_EQ(units, 1);
  EXPECT_EQ(bytes, 2);
  EXPECT_EQ(dst[0], 0x00E9);

  // A four-byte sequence keeps the low 16 bits of its code point.
  const uint8_t grin[] = {0xF0, 0x9F, 0x98, 0x80};
  EXPECT_EQ(UTF8ToUNICODE(grin, 4, dst, 8, &units, &bytes), VF_OK);
  EXPECT_EQ(units, 1);
  EXPECT_EQ(dst[0], 0xF600);

  // No validation: a stray continuation byte gives its six low bits, a
  // plain byte inside a sequence gives its bits under the lead mask, and
  // five- and six-byte leads are decoded the same way.
  const uint8_t odd[] = {0xBF, 0xC3, 0x41, 0xF8, 0x88, 0x80, 0x80,
                         0x81, 0xFC, 0x80, 0x80, 0x80, 0x81, 0x82};
  EXPECT_EQ(UTF8ToUNICODE(odd, sizeof odd, dst, 8, &units, &bytes), VF_OK);
  ASSERT_EQ(units, 4);
  EXPECT_EQ(dst[0], 0x003F);
  EXPECT_EQ(dst[1], (3u << 6) | 0x01);
  EXPECT_EQ(dst[2], 0x0001); // 0x200001 cut to 16 bits
  EXPECT_EQ(dst[3], (1u << 6) | 0x02u);
}

TEST(EncodingFromUtf8, StopsAtTheSourceEndOrAFullDestination) {
  uint16_t dst[4] = {0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
  int32_t units = -1, bytes = -1;
  // The third byte would complete the sequence, but lies past srclen.
  const uint8_t text[] = {'A', 0xC3, 0xA9};
  EXPECT_EQ(UTF8ToUNICODE(text, 2, dst, 8, &units, &bytes), 1);
  EXPECT_EQ(units, 1);
  EXPECT_EQ(bytes, 2);
  EXPECT_EQ(dst[0], 'A');
  EXPECT_EQ(dst[1], 0xBEEF);
  EXPECT_EQ(UTF8ToUNICODE(text + 1, 1, dst, 8, &units, &bytes), 1);
  EXPECT_EQ(units, 0);

  // One unit of room for two characters.
  EXPECT_EQ(UTF8ToUNICODE(text, 3, dst, 3, &units, &bytes), VF_WARN);
  EXPECT_EQ(units, 1);
  EXPECT_EQ(dst[1], 0xBEEF);
  // A cut sequence is reported before a full destination.
  EXPECT_EQ(UTF8ToUNICODE(text, 2, dst, 2, &units, &bytes), 1);
  EXPECT_EQ(UTF8ToUNICODE(text, 2, dst, 0, &units, &bytes), VF_WARN);
  EXPECT_EQ(units, 0);

  // Bad arguments: nothing is read or written.
  EXPECT_EQ(UTF8ToUNICODE(text, 3, nullptr, 8, &units, &bytes), VF_WARN);
  EXPECT_EQ(UTF8ToUNICODE(text, 3, dst, -8, &units, nullptr), VF_WARN);
  EXPECT_EQ(UTF8ToUNICODE(nullptr, 3, dst, 8, &units, &bytes), VF_OK);
  EXPECT_EQ(UTF8ToUNICODE(text, -3, dst, 8, nullptr, &bytes), VF_OK);
  EXPECT_EQ(bytes, 0);
  EXPECT_EQ(UTF8ToUNICODE(text, 0, dst, 8, &units, &bytes), VF_OK);
  EXPECT_EQ(units, 0);
}

TEST(EncodingFromUtf8, EveryUnitRoundTripsThroughUtf8) {
  std::vector<uint16_t> all(65536);
  for (uint32_t u = 0; u < 65536; ++u) all[u] = static_cast<uint16_t>(u);
  std::vector<uint8_t> utf8(3 * 65536);
  int32_t units = 0, bytes = 0;
  ASSERT_EQ(UNICODEToUTF8(all.data(), 2 * 65536, utf8.data(),
                          static_cast<int32_t>(utf8.size()), &units, &bytes),
            VF_OK);
  EXPECT_EQ(bytes, 128 * 1 + (0x800 - 0x80) * 2 + (0x10000 - 0x800) * 3);
  std::vector<uint16_t> back(65536);
  int32_t n = 0, nbytes = 0;
  ASSERT_EQ(
      UTF8ToUNICODE(utf8.data(), bytes, back.data(), 2 * 65536, &n, &nbytes),
      VF_OK);
  ASSERT_EQ(n, 65536);
  EXPECT_EQ(nbytes, 2 * 65536);
  EXPECT_EQ(back, all);
}

// ---------------------------------------------------------------------------
// Case tables.

TEST(EncodingCase, TellingRows) {
  EXPECT_EQ(upcase_unit(0x017F), 0x0053);
  EXPECT_EQ(upcase_unit(0x0253), 0x0181);
  EXPECT_EQ(lowcase_unit(0x018E), 0x0258);
  for (uint16_t u : {0x00B5, 0x0131}) {
    EXPECT_EQ(upcase_unit(u), u);
    EXPECT_EQ(lowcase_unit(u), u);
  }
  EXPECT_EQ(upcase_unit(0x00FF), 0x0178);
  EXPECT_EQ(lowcase_unit(0x0178), 0x00FF);
  EXPECT_EQ(upcase_unit(0x1F78), 0x1FF8); // +128: only via the list
  EXPECT_EQ(upcase_unit(0x1F7C), 0x1FFA); // +126: largest plain delta
  EXPECT_EQ(lowcase_unit(0x10A0), 0x10D0);
  EXPECT_EQ(upcase_unit(0x10D0), 0x10D0);
  EXPECT_EQ(upcase_unit(0x00F7), 0x00F7); // division sign between runs
  EXPECT_EQ(lowcase_unit(0x00D7), 0x00D7);
}

TEST(EncodingCase, ExceptionListsInOrder) {
  const auto up = parse_aux(kUpAuxText);
  const auto down = parse_aux(kDownAuxText);
  ASSERT_EQ(up.size(), 20u);
  ASSERT_EQ(down.size(), 19u);
  for (size_t i = 0; i < up.size(); ++i) {
    EXPECT_EQ(valfmt::kUpcaseExceptions[i].unit, up[i].first) << i;
    EXPECT_EQ(valfmt::kUpcaseExceptions[i].mapped, up[i].second) << i;
    EXPECT_EQ(upcase_unit(up[i].first), up[i].second);
  }
  for (size_t i = 0; i < down.size(); ++i) {
    EXPECT_EQ(valfmt::kDowncaseExceptions[i].unit, down[i].first) << i;
    EXPECT_EQ(valfmt::kDowncaseExceptions[i].mapped, down[i].second) << i;
    EXPECT_EQ(lowcase_unit(down[i].first), down[i].second);
  }
  EXPECT_EQ(valfmt::kUpcaseExceptions[20].unit, 0);
  EXPECT_EQ(valfmt::kDowncaseExceptions[19].unit, 0);
}

TEST(EncodingCase, TableLayout) {
  const std::set<uint16_t> blocks = {0x0000, 0x0080, 0x0100, 0x0180, 0x0200,
                                     0x0280, 0x0380, 0x0400, 0x0480, 0x0500,
                                     0x0580, 0x1080, 0x1E00, 0x1E80, 0x1F00,
                                     0x1F80, 0x2100, 0x2480, 0xFF00};
  std::set<int16_t> offsets;
  for (uint32_t i = 0; i < 512; ++i) {
    const int16_t e = valfmt::kCaseBlockIndex[i];
    if (blocks.count(static_cast<uint16_t>(i << 7))) {
      EXPECT_GE(e, 0) << i;
      EXPECT_EQ(e % 128, 0) << i;
      EXPECT_LT(e, 19 * 128) << i;
      offsets.insert(e);
    } else {
      EXPECT_LT(e, 0) << i;
    }
  }
  EXPECT_EQ(offsets.size(), 19u);
  // Units that use the exception list carry the delta -128.
  std::set<uint16_t> up_listed, down_listed;
  model(kUpRunsText, kUpAuxText, &up_listed);
  model(kDownRunsText, kDownAuxText, &down_listed);
  for (uint16_t u : up_listed)
    EXPECT_EQ(valfmt::kUpcaseDeltas[valfmt::kCaseBlockIndex[u >> 7] + (u & 127)],
              -128);
  for (uint16_t u : down_listed)
    EXPECT_EQ(valfmt::kDowncaseDeltas[valfmt::kCaseBlockIndex[u >> 7] + (u & 127)],
              -128);
  EXPECT_EQ(up_listed.size(), 20u);
  EXPECT_EQ(down_listed.size(), 19u);
}

TEST(EncodingCase, EveryUnitMapsAsTheRunsSay) {
  const auto up = model(kUpRunsText, kUpAuxText);
  const auto down = model(kDownRunsText, kDownAuxText);
  std::vector<uint16_t> all(65536), upper(65536), lower(65536);
  for (uint32_t u = 0; u < 65536; ++u) all[u] = static_cast<uint16_t>(u);
  upper = all;
  lower = all;
  UPCASE(upper.data(), 65536);
  LOWCASE(lower.data(), 65536);
  int wrong = 0;
  for (uint32_t u = 0; u < 65536 && wrong < 20; ++u) {
    if (upper[u] != up[u] || lower[u] != down[u]) ++wrong;
    EXPECT_EQ(upper[u], up[u]) << std::hex << "upper of " << u;
    EXPECT_EQ(lower[u], down[u]) << std::hex << "lower of " << u;
  }
}

TEST(EncodingCase, UpperAndLowerUndoEachOther) {
  // Where simple case mapping is not one to one: title-case digraphs,
  // Georgian capitals (no upper-casing back), four archaic Greek letters,
  // and lower-case variants that share a capital.
  const std::set<uint16_t> lower_only_one_way = {
      0x01C5, 0x01C8, 0x01CB, 0x01F2, 0x03DA, 0x03DC, 0x03DE, 0x03E0};
  const std::set<uint16_t> upper_only_one_way = {0x017F, 0x01C5, 0x01C8, 0x01CB,
                                                 0x01F2, 0x03D0, 0x03D1, 0x03D5,
                                                 0x03D6, 0x03F0, 0x03F1};
  for (const CaseSpan &r : parse_runs(kDownRunsText)) {
    for (uint32_t x = r.first; x <= r.last; x += r.step) {
      const uint16_t v = lowcase_unit(static_cast<uint16_t>(x));
      ASSERT_NE(v, x) << std::hex << x;
      EXPECT_EQ(lowcase_unit(v), v) << std::hex << x;
      const bool one_way = lower_only_one_way.count(static_cast<uint16_t>(x)) ||
                           (x >= 0x10A0 && x <= 0x10C5);
      EXPECT_EQ(upcase_unit(v) == x, !one_way) << std::hex << x;
    }
  }
  for (const CaseSpan &r : parse_runs(kUpRunsText)) {
    for (uint32_t y = r.first; y <= r.last; y += r.step) {
      const uint16_t x = upcase_unit(static_cast<uint16_t>(y));
      ASSERT_NE(x, y) << std::hex << y;
      EXPECT_EQ(upcase_unit(x), x) << std::hex << y;
      const bool one_way = upper_only_one_way.count(static_cast<uint16_t>(y));
      EXPECT_EQ(lowcase_unit(x) == y, !one_way) << std::hex << y;
    }
  }
}

TEST(EncodingCase, InPlaceBadArguments) {
  uint16_t text[3] = {'a', 0x00E9, 'b'};
  UPCASE(text, 2);
  EXPECT_EQ(text[0], 'A');
  EXPECT_EQ(text[1], 0x00C9);
  EXPECT_EQ(text[2], 'b');
  LOWCASE(text, -1);
  UPCASE(text, 0);
  EXPECT_EQ(text[0], 'A');
  UPCASE(nullptr, 3);
  LOWCASE(nullptr, 3);
  LOWCASE(text, 3);
  EXPECT_EQ(text[0], 'a');
  EXPECT_EQ(text[1], 0x00E9);
}

// ---------------------------------------------------------------------------
// Encoding names.

TEST(EncodingNames, EveryNameFindsItsIdentifier) {
  const auto names = parse_names();
  ASSERT_EQ(names.size(), 394u);
  for (const NamedId &n : names) {
    std::string buf = n.name;
    uint32_t id = 0xFFFF;
    EXPECT_EQ(EncnameToID(buf.data(), static_cast<int32_t>(buf.size()), &id),
              VF_OK)
        << n.name;
    EXPECT_EQ(id, n.id) << n.name;
    // Lower-case spelling works too and is upper-cased in the caller's
    // buffer; only a..z change.
    std::string lower = n.name;
    for (char &c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    id = 0xFFFF;
    EXPECT_EQ(
        EncnameToID(lower.data(), static_cast<int32_t>(lower.size()), &id),
        VF_OK)
        << n.name;
    EXPECT_EQ(id, n.id);
    EXPECT_EQ(lower, n.name);
  }
}

TEST(EncodingNames, TellingRowsAndRefusals) {
  char utf8[] = "utf-8";
  uint32_t id = 0;
  EXPECT_EQ(EncnameToID(utf8, 5, &id), VF_OK);
  EXPECT_EQ(id, 20u);
  EXPECT_STREQ(utf8, "UTF-8");

  char shortname[] = "u8";
  id = 77;
  EXPECT_EQ(EncnameToID(shortname, 2, &id), 4);
  EXPECT_EQ(id, 77u);
  EXPECT_STREQ(shortname, "u8"); // refused before any change
  EXPECT_EQ(EncnameToID(nullptr, 5, &id), 4);
  char neg[] = "latin1";
  EXPECT_EQ(EncnameToID(neg, -6, &id), 4);

  // A prefix, a longer name and a name with bytes above 0x7F are unknown.
  char prefix[] = "LATIN1";
  EXPECT_EQ(EncnameToID(prefix, 5, &id), 4); // "LATIN" alone
  char longer[] = "UTF-8X";
  EXPECT_EQ(EncnameToID(longer, 6, &id), 4);
  char high[] = "\xFF\xFE\xFD\xFC\xFB";
  EXPECT_EQ(EncnameToID(high, 5, &id), 4);
  EXPECT_EQ(id, 77u);

  // The identifier pointer may be null.
  char wlt1[] = "wlt1";
  EXPECT_EQ(EncnameToID(wlt1, 4, nullptr), VF_OK);
}

TEST(EncodingNames, HashBuckets) {
  // Worked by hand: U+T+F+'-'+'8' -> 85 + 3*84 + 5*70 + 7*45 + 9*56 = 1506.
  EXPECT_EQ(valfmt::encname_bucket("UTF-8", 5), 1506 % 121);
  EXPECT_EQ(valfmt::encname_bucket("UTF8", 4),
            (85 + 3 * 84 + 5 * 84 + 7 * 70 + 9 * 56) % 121);
  EXPECT_EQ(valfmt::encname_bucket("\xFF\xFF\xFF\xFF", 4), 25 * 255 % 121);

  const auto names = parse_names();
  std::map<std::string, uint32_t> expected;
  for (const NamedId &n : names) expected[n.name] = n.id;
  int total = 0;
  std::set<std::string> seen;
  for (int b = 0; b < valfmt::kEncNameBucketCount; ++b) {
    const valfmt::EncNameBucket &bucket = valfmt::kEncNameTable[b];
    total += bucket.count;
    for (int i = 0; i < bucket.count; ++i) {
      const valfmt::EncNameEntry &e = bucket.entries[i];
      const std::string name(e.name, static_cast<size_t>(e.len));
      EXPECT_EQ(std::strlen(e.name), static_cast<size_t>(e.len));
      const int c0 = name[0], c1 = name[1], n = e.len;
      EXPECT_EQ(
          (c0 + 3 * c1 + 5 * name[n - 3] + 7 * name[n - 2] + 9 * name[n - 1]) %
              121,
          b)
          << name;
      ASSERT_TRUE(expected.count(name)) << name;
      EXPECT_EQ(e.id, expected[name]) << name;
      EXPECT_TRUE(seen.insert(name).second) << name;
    }
  }
  EXPECT_EQ(total, 394);
}

// ---------------------------------------------------------------------------
// Encoding methods and the byte-budget measure.

TEST(EncodingMethods, EveryIdentifier) {
  std::map<uint32_t, uint32_t> want;
  for (uint32_t id : {20, 161}) want[id] = 1;
  for (uint32_t id : {19, 24, 25}) want[id] = 2;
  for (uint32_t id : {26, 27}) want[id] = 3;
  for (uint32_t id : {1,  2,   3,   4,   5,   8,   12,  17,  18,  21, 22,
                      23, 117, 124, 129, 130, 131, 132, 139, 172, 206})
    want[id] = 4;
  for (uint32_t id = 144; id <= 158; ++id) want[id] = 4;
  for (uint32_t id = 165; id <= 169; ++id) want[id] = 4;
  for (uint32_t id : {6, 7, 9, 10, 11, 13, 14, 15, 16, 159, 160, 162, 205})
    want[id] = 5;
  for (auto [lo, hi] : {std::pair{118, 123}, std::pair{125, 128},
                        std::pair{133, 138}, std::pair{140, 143}})
    for (uint32_t id = lo; id <= static_cast<uint32_t>(hi); ++id) want[id] = 5;
  for (uint32_t id = 0; id < 230; ++id)
    EXPECT_EQ(EncodingMethod(id), want.count(id) ? want[id] : 0u) << id;
  EXPECT_EQ(EncodingMethod(230), 0u);
  EXPECT_EQ(EncodingMethod(0xFFFFFFFFu), 0u);
}

TEST(EncodingBudget, EachMethod) {
  const uint16_t a_e_b[3] = {'A', 0x00E9, 'B'};
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 20, 3), 2); // UTF-8: 1 + 2, then over
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 20, 4), 3);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 20, 2), 1);
  const uint16_t euro[2] = {0x20AC, 0x07FF};
  EXPECT_EQ(NLSNUMCHAR(euro, 2, 161, 4), 1); // 3 + 2
  EXPECT_EQ(NLSNUMCHAR(euro, 2, 161, 5), 2);

  // Fixed widths read only the count and the budget.
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 25, 5), 2);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 24, 100), 3);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 27, 11), 2);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 28, 2), 2);  // single byte
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 999, 2), 2); // unknown id: single byte

  // One or two bytes without shifts (method 5).
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 205, 3), 2);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 205, 4), 3);

  // Shift-out / shift-in (method 4): A 1; e-acute after ASCII 3; B after
  // a double-byte unit 2; U+4E00 after ASCII 3; U+4E01 after a
  // double-byte unit 2; C after a double-byte unit 2: totals 1 4 6 9 11 13.
  const uint16_t mixed[6] = {'A', 0x00E9, 'B', 0x4E00, 0x4E01, 'C'};
  const int fits[] = {0, 1, 1, 1, 2, 2, 3, 3, 3, 4, 4, 5, 5, 6, 6};
  for (int budget = 0; budget <= 14; ++budget)
    EXPECT_EQ(NLSNUMCHAR(mixed, 6, 129, budget), fits[budget]) << budget;
  // A leading double-byte unit costs 3 (shift and two bytes).
  const uint16_t kanji[2] = {0x4E00, 'x'};
  EXPECT_EQ(NLSNUMCHAR(kanji, 2, 172, 2), 0);
  EXPECT_EQ(NLSNUMCHAR(kanji, 2, 172, 4), 1);
  EXPECT_EQ(NLSNUMCHAR(kanji, 2, 172, 5), 2);
  // ASCII after ASCII stays at one byte.
  const uint16_t ascii[3] = {'a', 'b', 'c'};
  EXPECT_EQ(NLSNUMCHAR(ascii, 3, 1, 3), 3);

  // Empty or bad arguments.
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 0, 20, 10), 0);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 20, 0), 0);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, -3, 25, 10), 0);
  EXPECT_EQ(NLSNUMCHAR(a_e_b, 3, 0, -1), 0);
  EXPECT_EQ(NLSNUMCHAR(nullptr, 3, 20, 10), 0);
}

} // namespace
