// Invocation through xffmt: dispatch, encodings of the result, the older
// call-block path, user-format input widening and result narrowing, and the
// pseudo-formats.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

// A format function that writes a fixed text and returns a chosen status.
std::string g_text;
int32_t g_status = 0;
int32_t fixed_text(fmtcall *c) {
  const auto n = static_cast<int32_t>(g_text.size());
  std::memcpy(c->out, g_text.data(), g_text.size());
  c->outlen = n;
  return g_status;
}

// A numeric informat stand-in: stores one double.
int32_t store_double(fmtcall *c) {
  const double v = 1234.5;
  std::memcpy(c->out, &v, 8);
  c->outlen = 8;
  return 0;
}

fmthandle builtin_with(const char *name, fmtfn fn, fmthandle_storage *st) {
  fmthandle *h = &st->builtin;
  EXPECT_EQ(xfname3(name, static_cast<int32_t>(std::strlen(name)), 'F', nullptr,
                    &h, nullptr),
            0);
  h->desc.fn = fn;
  return *h;
}

std::vector<uint16_t> units_of(const char *out, int32_t bytes) {
  std::vector<uint16_t> u(static_cast<std::size_t>(bytes / 2));
  std::memcpy(u.data(), out, u.size() * 2);
  return u;
}

TEST(Invoke, WidensNarrowResultsForUcs2Callers) {
  fmthandle_storage st;
  builtin_with("$CHAR", fixed_text, &st);
  g_text = "AB\x80\x81\xE9";
  g_status = 0;
  char out[32];
  fmtcall c{};
  c.w = 5;
  c.out = out;
  c.outsize = sizeof out;
  c.reqenc = VF_ENC_UCS2;
  ASSERT_EQ(xffmt(&c, &st.builtin), 0);
  EXPECT_EQ(c.outlen, 10);
  EXPECT_EQ(c.outenc, VF_ENC_UCS2);
  EXPECT_EQ(units_of(out, c.outlen),
            (std::vector<uint16_t>{'A', 'B', 0x20AC, 0x0081, 0x00E9}));

  // Status 2 still gets converted; error statuses leave the text alone.
  g_status = VF_WARN;
  c.outenc = 0;
  ASSERT_EQ(xffmt(&c, &st.builtin), VF_WARN);
  EXPECT_EQ(c.outenc, VF_ENC_UCS2);
  g_status = VF_ERR_WIDTH;
  c.outenc = 0;
  ASSERT_EQ(xffmt(&c, &st.builtin), VF_ERR_WIDTH);
  EXPECT_EQ(c.outlen, 5);
  EXPECT_EQ(c.outenc, 0u);
  EXPECT_EQ(std::string(out, 5), g_text);
}

TEST(Invoke, OtherEncodingRequestsAreLeftAlone) {
  fmthandle_storage st;
  builtin_with("$CHAR", fixed_text, &st);
  g_text = "ABC";
  g_status = 0;
  for (uint32_t enc : {VF_ENC_NARROW, VF_ENC_UTF8, VF_ENC_UCS2BE}) {
    char out[16] = {};
    fmtcall c{};
    c.w = 3;
    c.out = out;
    c.outsize = sizeof out;
    c.reqenc = enc;
    ASSERT_EQ(xffmt(&c, &st.builtin), 0);
    EXPECT_EQ(c.outlen, 3);
    EXPECT_EQ(c.outenc, 0u);
    EXPECT_EQ(std::string(out, 3), "ABC");
  }
}

TEST(Invoke, WideningLimits) {
  fmthandle_storage st;
  builtin_with("$CHAR", fixed_text, &st);
  g_status = 0;
  // More than 256 narrow bytes stay narrow.
  g_text.assign(257, 'x');
  std::vector<char> out(1024);
  fmtcall c{};
  c.w = 257;
  c.out = out.data();
  c.outsize = 1024;
  c.reqenc = VF_ENC_UCS2;
  ASSERT_EQ(xffmt(&c, &st.builtin), 0);
  EXPECT_EQ(c.outlen, 257);
  EXPECT_EQ(c.outenc, 0u);
  // Exactly 256 bytes widen.
  g_text.assign(256, 'y');
  c.outenc = 0;
  ASSERT_EQ(xffmt(&c, &st.builtin), 0);
  EXPECT_EQ(c.outlen, 512);
  EXPECT_EQ(c.outenc, VF_ENC_UCS2);
  // A buffer too small for the 16-bit text keeps the narrow text.
  g_text = "ABCD";
  char small[6] = {};
  c.out = small;
  c.outsize = 6;
  c.outenc = 0;
  ASSERT_EQ(xffmt(&c, &st.builtin), 0);
  EXPECT_EQ(c.outlen, 4);
  EXPECT_EQ(c.outenc, 0u);
}

TEST(Invoke, NumericInformatResultsAreNotText) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  ASSERT_EQ(xfname3("F", 1, VF_KIND_INFORMAT, nullptr, &h, nullptr), 0);
  h->desc.fn = store_double;
  double v = 0;
  fmtcall c{};
  c.out = &v;
  c.outsize = 8;
  c.reqenc = VF_ENC_UCS2;
  ASSERT_EQ(xffmt(&c, h), 0);
  EXPECT_EQ(c.outlen, 8);
  EXPECT_EQ(v, 1234.5);
  EXPECT_EQ(c.outenc, 0u);
}

TEST(Invoke, LibraryHandlesTakeTheOlderPath) {
  fmthandle *h = nullptr;
  ASSERT_EQ(xfname("$CHAR", 5, 'F', nullptr, &h), 0);
  ASSERT_EQ(h->self, nullptr);
  h->desc.fn = fixed_text;
  g_text = "ABC";
  g_status = 0;
  // A 64-byte caller: bytes beyond 64 are not part of its block.
  alignas(8) unsigned char block[80];
  std::memset(block, 0xEE, sizeof block);
  auto *c = reinterpret_cast<fmtcall *>(block);
  char out[16] = {};
  c->w = 3;
  c->d = 0;
  c->value = nullptr;
  c->valuelen = 0;
  c->out = out;
  c->outsize = sizeof out;
  c->outlen = 0;
  c->options = 0;
  ASSERT_EQ(xffmt(c, h), 0);
  EXPECT_EQ(c->outlen, 3);
  EXPECT_EQ(std::string(out, 3), "ABC");
  for (int i = 64; i < 80; ++i) EXPECT_EQ(block[i], 0xEE) << i;
  EXPECT_EQ(xfdel(h), 0);
}

TEST(Invoke, RefusesMissingFunctions) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  ASSERT_EQ(xfname3("AFRDFDE", 7, VF_KIND_INFORMAT, nullptr, &h, nullptr), 0);
  char out[16];
  fmtcall c{};
  c.w = 7;
  c.out = out;
  c.outsize = 16;
  EXPECT_EQ(xffmt(&c, h), VF_ERR_NO_FUNCTION);
  EXPECT_EQ(xffmt(nullptr, h), VF_ERR_BAD_CALL);
  EXPECT_EQ(xffmt(&c, nullptr), VF_ERR_BAD_CALL);
  fmtuhandle u{};
  u.self = &u;
  u.kind = '-';
  EXPECT_EQ(xffmt(&c, reinterpret_cast<fmthandle *>(&u)), VF_ERR_NO_FUNCTION);
}

// A character evaluator that echoes its 16-bit input as 16-bit output.
std::vector<uint16_t> g_seen;
int32_t echo_units(fmtcall *c, const void *, void *const *) {
  const auto *u = static_cast<const uint16_t *>(c->value);
  g_seen.assign(u, u + c->valuelen);
  int32_t bytes = c->valuelen * 2;
  if (bytes > c->outsize) bytes = c->outsize & ~1;
  std::memcpy(c->out, c->value, static_cast<std::size_t>(bytes));
  c->outlen = bytes;
  c->outenc = VF_ENC_UCS2;
  return 0;
}

TEST(Invoke, CharacterUserFormatsWidenInputAndNarrowOutput) {
  fmtuhandle u{};
  u.self = &u;
  u.kind = '+';
  u.marker = 1;
  u.evaluator = echo_units;
  const char input[] = "caf\xE9 !"; // six bytes, one above 0x7F
  char out[64] = {};
  fmtcall c{};
  c.w = 6;
  c.value = input;
  c.valuelen = 6;
  c.out = out;
  c.outsize = sizeof out;
  ASSERT_EQ(xffmt(&c, reinterpret_cast<fmthandle *>(&u)), 0);
  EXPECT_EQ(g_seen, (std::vector<uint16_t>{'c', 'a', 'f', 0xE9, ' ', '!'}));
  EXPECT_EQ(c.value, input) << "caller's value restored";
  EXPECT_EQ(c.valuelen, 6);
  EXPECT_EQ(c.outlen, 7);
  EXPECT_EQ(c.outenc, 0u);
  EXPECT_EQ(std::string(out, 7), "caf\xC3\xA9 !");

  // The UTF-8 copy never passes outsize, nor splits a character: two
  // 3-byte characters in a 4-byte buffer leave the first one.
  const uint16_t cjk[] = {0x4E2D, 0x6587};
  char tight[5];
  std::memset(tight, '#', sizeof tight);
  c.value = cjk;
  c.valuelen = 2;
  c.inenc = VF_ENC_UCS2;
  c.out = tight;
  c.outsize = 4;
  c.outenc = 0;
  ASSERT_EQ(xffmt(&c, reinterpret_cast<fmthandle *>(&u)), 0);
  EXPECT_EQ(c.outlen, 3);
  EXPECT_EQ(std::string(tight, 3), "\xE4\xB8\xAD");
  EXPECT_EQ(tight[4], '#');

  // 16-bit input is passed as it is.
  const uint16_t wide[] = {'x', 0x20AC};
  c.value = wide;
  c.valuelen = 2;
  c.inenc = VF_ENC_UCS2;
  c.out = out;
  c.outsize = sizeof out;
  c.reqenc = VF_ENC_UCS2;
  ASSERT_EQ(xffmt(&c, reinterpret_cast<fmthandle *>(&u)), 0);
  EXPECT_EQ(g_seen, (std::vector<uint16_t>{'x', 0x20AC}));
  EXPECT_EQ(c.outlen, 4);
  EXPECT_EQ(c.outenc, VF_ENC_UCS2);

  // Over-long narrow input is cut to 256 characters.
  std::string big(300, 'q');
  c.value = big.data();
  c.valuelen = 300;
  c.inenc = 0;
  std::vector<char> bigout(1024);
  c.out = bigout.data();
  c.outsize = 1024;
  ASSERT_EQ(xffmt(&c, reinterpret_cast<fmthandle *>(&u)), 0);
  EXPECT_EQ(g_seen.size(), 256u);
  EXPECT_EQ(c.valuelen, 300);
}

TEST(PseudoFormats, CrashStampAndIntrinsic) {
  fmthandle *h = nullptr;
  ASSERT_EQ(xfname3("_C_R_A_S_H_", 11, 'F', nullptr, &h, nullptr), 0);
  char out[32];
  fmtcall c{};
  c.w = 1;
  c.out = out;
  c.outsize = sizeof out;
  ASSERT_EQ(xffmt(&c, h), 0);
  EXPECT_EQ(c.outlen, 1);
  EXPECT_EQ(out[0], 'X');

  h = nullptr;
  ASSERT_EQ(xfname3("INTRINSIC-CRDATE", 16, 'F', nullptr, &h, nullptr), 0);
  c.w = 11;
  ASSERT_EQ(xffmt(&c, h), 0);
  EXPECT_EQ(std::string(out, static_cast<std::size_t>(c.outlen)),
            "Apr 15 2012");
  c.w = 40;
  ASSERT_EQ(xffmt(&c, h), 0);
  EXPECT_EQ(std::string(out, static_cast<std::size_t>(c.outlen)),
            "Apr 15 2012 23:17:00");
  c.outsize = 4;
  ASSERT_EQ(xffmt(&c, h), 0);
  EXPECT_EQ(c.outlen, 4);
}

std::string intrinsic(const std::string &text, uint32_t inenc = 0) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  EXPECT_EQ(xfname3("$IS-INTRINSIC", 13, 'F', nullptr, &h, nullptr), 0);
  std::vector<uint16_t> wide;
  char out[8];
  fmtcall c{};
  c.w = 3;
  c.out = out;
  c.outsize = sizeof out;
  c.inenc = inenc;
  if (inenc == VF_ENC_UCS2 || inenc == VF_ENC_UCS2BE) {
    for (unsigned char ch : text)
      wide.push_back(inenc == VF_ENC_UCS2 ? ch
                                          : static_cast<uint16_t>(ch << 8));
    c.value = wide.data();
  } else {
    c.value = text.data();
  }
  c.valuelen = static_cast<int32_t>(text.size());
  EXPECT_EQ(xffmt(&c, h), 0);
  EXPECT_EQ(c.outlen, 3);
  EXPECT_EQ(c.outenc, 0u);
  return std::string(out, 3);
}

TEST(PseudoFormats, IsIntrinsicDecisions) {
  EXPECT_EQ(intrinsic("date  "), "YES");
  EXPECT_EQ(intrinsic("@DATE"), "NO ");
  EXPECT_EQ(intrinsic("---NUMFMT------"), "NO ");
  EXPECT_EQ(intrinsic("$FMT-META"), "YES");
  EXPECT_EQ(intrinsic("$UFMT-CRDATE"), "YES");
  EXPECT_EQ(intrinsic("Z"), "YES");
  EXPECT_EQ(intrinsic("f"), "YES");
  EXPECT_EQ(intrinsic("$"), "YES");
  EXPECT_EQ(intrinsic("$f"), "YES");
  EXPECT_EQ(intrinsic("Q"), "NO ");
  EXPECT_EQ(intrinsic(""), "NO ");
  EXPECT_EQ(intrinsic("AGEGRP"), "NO ");
  EXPECT_EQ(intrinsic("worddate"), "YES");
  EXPECT_EQ(intrinsic("worddate", VF_ENC_UCS2), "YES");
  EXPECT_EQ(intrinsic("worddate", VF_ENC_UCS2BE), "YES");
  // Only the first 32 characters count.
  EXPECT_EQ(intrinsic(std::string("DATE") + std::string(40, ' ')), "YES");
  EXPECT_EQ(intrinsic(std::string(32, ' ') + "DATE"), "NO ");
}

// One call of the in-database widening on `text` in a 64-byte buffer.
struct InDb {
  int32_t result;
  int32_t len;
  uint32_t enc;
  std::string bytes; // the buffer's first len bytes afterwards
};

InDb in_db(const std::string &text, int32_t hostenc, int32_t width,
           int32_t capacity = 64) {
  char buf[64] = {};
  std::memcpy(buf, text.data(), text.size());
  InDb r{0, static_cast<int32_t>(text.size()), 0, {}};
  r.result = getUCS2ResultFromNarrowCharBufForInDB(hostenc, 0, &r.enc, buf,
                                                   &r.len, width, capacity);
  r.bytes.assign(buf, static_cast<std::size_t>(r.len));
  return r;
}

std::vector<uint16_t> units_of(const std::string &bytes) {
  return units_of(bytes.data(), static_cast<int32_t>(bytes.size()));
}

TEST(Ucs2ForInDB, EscapesAndHostLengths) {
  InDb r = in_db("ab<u20AC>", 20, 5);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.len, 6);
  EXPECT_EQ(r.enc, VF_ENC_UCS2);
  EXPECT_EQ(units_of(r.bytes), (std::vector<uint16_t>{'a', 'b', 0x20AC}));

  r = in_db("ab<u20AC>", 20, 4);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.bytes, "ab<u20AC>") << "text untouched";

  // Host encoding 0 counts as 16-bit: R is in characters of that width.
  EXPECT_EQ(in_db("abc", 0, 10).result, -2);
  // Single-byte host: one column per unit; double-byte: 2 above 127.
  EXPECT_EQ(in_db("<U00e9>x", 62, 5).result, -3);
  EXPECT_EQ(in_db("<U00e9>x", 134, 5).result, -2);
  // The currency-sign escape yields unit 1; short texts keep their bytes.
  r = in_db("<u00A4>", 62, 5);
  EXPECT_EQ(r.result, -4);
  EXPECT_EQ(units_of(r.bytes), (std::vector<uint16_t>{1}));
  r = in_db("<u0041", 62, 6);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.len, 12);
  // UTF-32 hosts count four bytes per unit.
  EXPECT_EQ(in_db("abcd", 26, 20).result, -1);
  // Capacity and over-long input.
  r = in_db("abcd", 62, 20, 7);
  EXPECT_EQ(r.result, 2);
  EXPECT_EQ(r.len, 4);
  std::vector<char> big(300, 'z');
  int32_t len = 300;
  uint32_t enc = 0;
  EXPECT_EQ(getUCS2ResultFromNarrowCharBufForInDB(62, 0, &enc, big.data(), &len,
                                                  1000, 1000),
            2);
  EXPECT_EQ(in_db("", 62, 0, 0).result, 0);
}

} // namespace
