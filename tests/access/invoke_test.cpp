// Invocation through xffmt: encodings of the result, the older call-block
// path, user-format input widening and result narrowing, the pseudo-formats
// and the in-database widening.  Calls run through the guarded runner.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/call_runner.h"
#include "valfmt.h"

namespace {

using vftest::invoke;

// A format function that writes a fixed text and returns a chosen status.
std::string g_text;
int32_t g_status = 0;
int32_t fixed_text(fmtcall *c) {
  std::memcpy(c->out, g_text.data(), g_text.size());
  c->outlen = static_cast<int32_t>(g_text.size());
  return g_status;
}

// A $CHAR handle in caller storage whose function is `fn`.
fmthandle *handle_with(fmtfn fn, fmthandle_storage *st, int32_t kind = 'F',
                       const char *name = "$CHAR") {
  fmthandle *h = &st->builtin;
  EXPECT_EQ(xfname3(name, static_cast<int32_t>(std::strlen(name)), kind,
                    nullptr, &h, nullptr),
            VF_OK);
  h->desc.fn = fn;
  return h;
}

std::vector<uint16_t> units_of(const std::string &bytes) {
  std::vector<uint16_t> u(bytes.size() / 2);
  std::memcpy(u.data(), bytes.data(), u.size() * 2);
  return u;
}

TEST(Invoke, NarrowResultsWidenOnlyForUcs2Callers) {
  fmthandle_storage st;
  fmthandle *h = handle_with(fixed_text, &st);
  g_text = "AB\x80\x81\xE9";
  for (int32_t status : {VF_OK, VF_WARN}) {
    g_status = status;
    const vftest::Run r = invoke(h, "", 5, 0, 10, 0, VF_ENC_UCS2);
    EXPECT_EQ(r.status, status);
    EXPECT_EQ(r.outenc, VF_ENC_UCS2);
    EXPECT_EQ(units_of(r.text),
              (std::vector<uint16_t>{'A', 'B', 0x20AC, 0x0081, 0x00E9}));
  }
  g_status = VF_ERR_WIDTH; // errors leave the result as the callee left it
  vftest::Run r = invoke(h, "", 5, 0, 10, 0, VF_ENC_UCS2);
  EXPECT_EQ(r.status, VF_ERR_WIDTH);
  EXPECT_EQ(r.text, g_text);
  EXPECT_EQ(r.outenc, 0u);
  g_status = VF_OK;
  for (uint32_t enc : {VF_ENC_NARROW, VF_ENC_UCS2BE}) {
    r = invoke(h, "", 5, 0, 16, 0, enc);
    EXPECT_EQ(r.text, g_text) << enc;
    EXPECT_EQ(r.outenc, 0u);
  }
}

TEST(Invoke, WideningBounds) {
  fmthandle_storage st;
  fmthandle *h = handle_with(fixed_text, &st);
  g_status = VF_OK;
  g_text.assign(256, 'y'); // exactly the work area: widened
  EXPECT_EQ(invoke(h, "", 256, 0, 512, 0, VF_ENC_UCS2).outlen, 512);
  g_text.assign(257, 'x'); // one more byte: stays narrow
  vftest::Run r = invoke(h, "", 257, 0, 1024, 0, VF_ENC_UCS2);
  EXPECT_EQ(r.outlen, 257);
  EXPECT_EQ(r.outenc, 0u);
  g_text = "ABCD"; // 16-bit text would not fit outsize: stays narrow
  r = invoke(h, "", 4, 0, 7, 0, VF_ENC_UCS2);
  EXPECT_EQ(r.text, "ABCD");
  EXPECT_EQ(r.outenc, 0u);
}

int32_t store_double(fmtcall *c) {
  const double v = 1234.5;
  std::memcpy(c->out, &v, 8);
  c->outlen = 8;
  return VF_OK;
}

TEST(Invoke, NumericInformatResultsAreNotText) {
  fmthandle_storage st;
  fmthandle *h = handle_with(store_double, &st, VF_KIND_INFORMAT, "F");
  const vftest::Run r = invoke(h, "1", 1, 0, 8, 0, VF_ENC_UCS2);
  EXPECT_EQ(r.number(), 1234.5);
  EXPECT_EQ(r.outenc, 0u);
}

TEST(Invoke, LibraryHandlesTakeTheOlderPath) {
  fmthandle *h = nullptr;
  ASSERT_EQ(xfname("$CHAR", 5, 'F', nullptr, &h), VF_OK);
  ASSERT_EQ(h->self, nullptr);
  h->desc.fn = fixed_text;
  g_text = "ABC";
  g_status = VF_OK;
  // A 64-byte caller: the bytes after 64 are not part of its block.
  alignas(8) unsigned char block[80];
  std::memset(block, 0xEE, sizeof block);
  auto *c = reinterpret_cast<fmtcall *>(block);
  char out[16] = {};
  c->w = 3;
  c->out = out;
  c->outsize = sizeof out;
  ASSERT_EQ(xffmt(c, h), VF_OK);
  EXPECT_EQ(c->outlen, 3);
  EXPECT_EQ(std::string(out, 3), "ABC");
  for (int i = 64; i < 80; ++i) EXPECT_EQ(block[i], 0xEE) << i;
  EXPECT_EQ(xfdel(h), 0);
}

TEST(Invoke, RefusesMissingFunctionsAndBadCalls) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  ASSERT_EQ(xfname3("AFRDFDE", 7, VF_KIND_INFORMAT, nullptr, &h, nullptr), 0);
  EXPECT_EQ(invoke(h, "01.02.2003", 10, 0, 8).status, VF_ERR_NO_FUNCTION);
  fmtuhandle u{};
  u.self = &u;
  u.kind = '-';
  EXPECT_EQ(invoke(reinterpret_cast<fmthandle *>(&u), "", 1, 0, 8).status,
            VF_ERR_NO_FUNCTION);
  fmtcall c{};
  EXPECT_EQ(xffmt(nullptr, h), VF_ERR_BAD_CALL);
  EXPECT_EQ(xffmt(&c, nullptr), VF_ERR_BAD_CALL);
}

// A character evaluator that echoes its 16-bit input as 16-bit output.
std::vector<uint16_t> g_seen;
int32_t echo_units(fmtcall *c, const void *, void *const *) {
  const auto *u = static_cast<const uint16_t *>(c->value);
  g_seen.assign(u, u + c->valuelen);
  const int32_t bytes = std::min(c->valuelen * 2, c->outsize & ~1);
  std::memcpy(c->out, c->value, static_cast<std::size_t>(bytes));
  c->outlen = bytes;
  c->outenc = VF_ENC_UCS2;
  return VF_OK;
}

// 16-bit input: valuelen counts units, not bytes.
vftest::Run invoke_units(fmthandle *h, const std::u16string &units,
                         int32_t outsize, uint32_t reqenc,
                         uint32_t inenc = VF_ENC_UCS2) {
  const vftest::FencedBytes in(std::string_view(
      reinterpret_cast<const char *>(units.data()), units.size() * 2));
  fmtcall c{};
  c.w = static_cast<int32_t>(units.size());
  c.value = in.data();
  c.valuelen = static_cast<int32_t>(units.size());
  c.inenc = inenc;
  c.reqenc = reqenc;
  return vftest::run_block(nullptr, h, c, outsize);
}

TEST(Invoke, CharacterUserFormatsWidenInputAndNarrowOutput) {
  fmtuhandle u{};
  u.self = &u;
  u.kind = '+';
  u.evaluator = echo_units;
  auto *h = reinterpret_cast<fmthandle *>(&u);
  // Six narrow bytes, one above 0x7F: six units in, seven UTF-8 bytes out.
  vftest::Run r = invoke(h, "caf\xE9 !", 6, 0, 64);
  EXPECT_EQ(g_seen, (std::vector<uint16_t>{'c', 'a', 'f', 0xE9, ' ', '!'}));
  EXPECT_EQ(r.text, "caf\xC3\xA9 !");
  EXPECT_EQ(r.outenc, 0u);
  // The UTF-8 copy stays inside outsize and never splits a character.
  EXPECT_EQ(invoke_units(h, u"\u4E2D\u6587", 4, VF_ENC_NARROW).text,
            "\xE4\xB8\xAD");
  // 16-bit input passes as it is; over-long narrow input is cut to 256.
  r = invoke_units(h, u"\u4E2D\u6587", 8, VF_ENC_UCS2);
  EXPECT_EQ(units_of(r.text), (std::vector<uint16_t>{0x4E2D, 0x6587}));
  invoke(h, std::string(300, 'q'), 300, 0, 1024);
  EXPECT_EQ(g_seen.size(), 256u);
  // Input in bytes of another encoding is read as bytes (valuelen of them,
  // never as units past its end): UTF-8 decoded, others as narrow text.
  invoke(h, "caf\xC3\xA9", 5, 0, 64, VF_ENC_UTF8);
  EXPECT_EQ(g_seen, (std::vector<uint16_t>{'c', 'a', 'f', 0xE9}));
  invoke(h, "A", 1, 0, 64, VF_ENC_UTF8);
  EXPECT_EQ(g_seen, (std::vector<uint16_t>{'A'}));
  invoke(h, "x\xE9", 2, 0, 64, 1);
  EXPECT_EQ(g_seen, (std::vector<uint16_t>{'x', 0xE9}));
  // The caller's value and valuelen are back after the widened call.
  const char input[] = "ab";
  fmtcall c{};
  char out[16];
  c.value = input;
  c.valuelen = 2;
  c.out = out;
  c.outsize = sizeof out;
  ASSERT_EQ(xffmt(&c, h), VF_OK);
  EXPECT_EQ(c.value, input);
  EXPECT_EQ(c.valuelen, 2);
}

fmthandle *pseudo(const char *name) {
  fmthandle *h = nullptr;
  EXPECT_EQ(xfname3(name, static_cast<int32_t>(std::strlen(name)), 'F', nullptr,
                    &h, nullptr),
            VF_OK);
  return h;
}

TEST(PseudoFormats, CrashAndBuildStamp) {
  EXPECT_EQ(invoke(pseudo("_C_R_A_S_H_"), "", 1, 0, 0).status, VF_ERR_OUTSIZE);
  fmthandle *stamp = pseudo("INTRINSIC-CRDATE");
  EXPECT_EQ(invoke(stamp, "", 40, 0, 32).text, "Apr 15 2012 23:17:00");
  EXPECT_EQ(invoke(stamp, "", 40, 0, 4).text, "Apr ");
}

std::string intrinsic(const std::string &text, uint32_t inenc = 0) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  EXPECT_EQ(xfname3("$IS-INTRINSIC", 13, 'F', nullptr, &h, nullptr), VF_OK);
  std::u16string units; // one unit per character, in the byte order asked
  for (char c : text) {
    const auto ch = static_cast<unsigned char>(c);
    units += static_cast<char16_t>(inenc == VF_ENC_UCS2BE ? ch << 8 : ch);
  }
  const vftest::Run r = inenc == VF_ENC_NARROW
                            ? invoke(h, text, 3, 0, 3)
                            : invoke_units(h, units, 3, 0, inenc);
  EXPECT_EQ(r.outenc, 0u);
  return r.text;
}

TEST(PseudoFormats, IsIntrinsicDecisions) {
  for (const char *yes : {"date  ", "$UFMT-CRDATE", "f", "$", "worddate"})
    EXPECT_EQ(intrinsic(yes), "YES") << yes;
  for (const char *no : {"@DATE", "---NUMFMT------", "", "AGEGRP"})
    EXPECT_EQ(intrinsic(no), "NO ") << no;
  EXPECT_EQ(intrinsic("worddate", VF_ENC_UCS2BE), "YES");
  // Only the first 32 characters count.
  EXPECT_EQ(intrinsic("DATE" + std::string(40, ' ')), "YES");
  EXPECT_EQ(intrinsic(std::string(32, ' ') + "DATE"), "NO ");
}

// One in-database widening of `text` in a 64-byte buffer.
struct InDb {
  int32_t result;
  int32_t len;
  std::vector<uint16_t> units; // the buffer's first len bytes afterwards
};

InDb in_db(const std::string &text, int32_t hostenc, int32_t width,
           int32_t capacity = 64) {
  char buf[64] = {};
  std::memcpy(buf, text.data(), text.size());
  InDb r{0, static_cast<int32_t>(text.size()), {}};
  uint32_t enc = 0;
  r.result = getUCS2ResultFromNarrowCharBufForInDB(hostenc, 0, &enc, buf,
                                                   &r.len, width, capacity);
  if (r.result <= 0) {
    EXPECT_EQ(enc, VF_ENC_UCS2);
    r.units = units_of(std::string(buf, static_cast<std::size_t>(r.len)));
  }
  return r;
}

TEST(Ucs2ForInDB, EscapesAndHostLengths) {
  InDb r = in_db("ab<u20AC>", 20, 5);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.units, (std::vector<uint16_t>{'a', 'b', 0x20AC}));
  r = in_db("ab<u20AC>", 20, 4);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.len, 9) << "text untouched";
  EXPECT_EQ(in_db("abc", 0, 10).result, -2);       // host 0 counts as UCS-2
  EXPECT_EQ(in_db("<U00e9>x", 62, 5).result, -3);  // one column per unit
  EXPECT_EQ(in_db("<U00e9>x", 134, 5).result, -2); // 2 above 127
  EXPECT_EQ(in_db("<u0041", 62, 6).len, 12);   // short texts keep their bytes
  EXPECT_EQ(in_db("abcd", 26, 20).result, -1); // UTF-32: four bytes a unit
  std::vector<char> big(300, 'z');
  int32_t len = 300;
  uint32_t enc = 0;
  EXPECT_EQ(getUCS2ResultFromNarrowCharBufForInDB(62, 0, &enc, big.data(), &len,
                                                  1000, 1000),
            2);
}

} // namespace
