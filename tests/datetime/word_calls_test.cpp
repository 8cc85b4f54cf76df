// The word, name and era date formats as hosts call them: the caller's call
// block is left as it was, widths outside the descriptor limits and short
// buffers are refused inside the buffer, and the names resolve, widen and
// run from the tool.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "core/missing.h"
#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

struct Format {
  const char *name;
  fmtfn fn;
  int minw;
  int maxw;
  int defw;
  int maxd;
};

// The descriptor limits of the nine names.
constexpr Format kFormats[] = {
    {"DOWNAME", zfmdowname, 1, 32, 9, 31},
    {"MONNAME", zfmmonname, 1, 32, 9, 31},
    {"WEEKDATE", zfmweekdate, 3, 37, 29, 36},
    {"WEEKDATX", zfmweekdatx, 3, 37, 29, 36},
    {"WORDDATE", zfmworddate, 3, 32, 18, 31},
    {"WORDDATX", zfmworddatx, 3, 32, 18, 31},
    {"NENGO", zfmnengo, 2, 10, 10, 9},
    {"MINGUO", zfmmng, 1, 10, 8, 0},
    {"DTWKDATX", zfmdtwk, 3, 37, 29, 0},
};

const double kValues[] = {
    0,
    23000,
    -17533,  // before Minguo year 1
    -33507,  // before the first era
    6589335, // 20000-12-31
    1987200, // a datetime in 1960, a date in 7400
    -0.5,
    valfmt::standard_missing(),
    valfmt::missing_value(0xFD),
    6589336,
    -138062,
    std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::quiet_NaN(),
    std::bit_cast<double>(0xFFFF0000FFFFFFFFull),
};

// Every field of the caller's block but outlen and outenc, and the value,
// are as they were after any call.
TEST(WordCalls, CallerBlockUnchangedExceptOutlenAndOutenc) {
  for (const Format &f : kFormats) {
    for (const double value : kValues) {
      for (int w : {f.minw, f.defw, f.maxw, f.maxw + 1}) {
        for (int d : {0, 3, 98}) {
          double v = value;
          char out[64];
          fmtcall c;
          std::memset(&c, 0x5A, sizeof c);
          c.w = w;
          c.d = d;
          c.value = &v;
          c.valuelen = 8;
          c.out = out;
          c.outsize = w;
          c.options = 0x5u;
          c.localeid = 17;
          c.reqenc = VF_ENC_UCS2;
          fmtcall before;
          std::memcpy(&before, &c, sizeof c);
          f.fn(&c);
          before.outlen = c.outlen;
          before.outenc = c.outenc;
          ASSERT_EQ(std::memcmp(&before, &c, sizeof c), 0)
              << f.name << " value " << value << " w=" << w << " d=" << d;
          ASSERT_EQ(std::memcmp(&v, &value, sizeof v), 0) << f.name;
          ASSERT_EQ(c.outenc, VF_ENC_NARROW) << f.name;
        }
      }
    }
  }
}

// Widths outside the limits: VF_ERR_WIDTH, asterisks in what the buffer
// holds of w, nothing else written.
TEST(WordCalls, WidthsOutsideTheLimits) {
  constexpr int kSize = 48;
  for (const Format &f : kFormats) {
    for (int w : {f.minw - 1, f.maxw + 1, 0, -3, 200}) {
      for (const double v : {0.0, valfmt::standard_missing()}) {
        const vftest::Run r = vftest::put(f.fn, v, w, 0, kSize);
        EXPECT_EQ(r.status, VF_ERR_WIDTH) << f.name << " w=" << w;
        const int stars = w < 0 ? 0 : (w < kSize ? w : kSize);
        EXPECT_EQ(r.outlen, stars) << f.name << " w=" << w;
        EXPECT_EQ(r.buffer,
                  std::string(static_cast<std::size_t>(stars), '*') +
                      std::string(static_cast<std::size_t>(kSize - stars), '#'))
            << f.name << " w=" << w;
      }
    }
  }
}

// A buffer shorter than w: VF_ERR_OUTSIZE and asterisks inside the buffer
// (MINGUO cuts its field instead; its own tests cover that).
TEST(WordCalls, BuffersShorterThanTheWidth) {
  for (const Format &f : kFormats) {
    if (f.fn == zfmmng) continue;
    for (int w : {f.minw, f.defw, f.maxw}) {
      for (int size : {0, 1, w - 1}) {
        if (size >= w) continue;
        for (const double v : {23000.0, valfmt::standard_missing(), 1e300}) {
          const vftest::Run r = vftest::put(f.fn, v, w, 0, size);
          EXPECT_EQ(r.status, VF_ERR_OUTSIZE) << f.name << " w=" << w;
          EXPECT_EQ(r.text, std::string(static_cast<std::size_t>(size), '*'))
              << f.name << " w=" << w << " size=" << size;
        }
      }
    }
  }
}

TEST(WordCalls, MissingPointers) {
  for (const Format &f : kFormats) {
    EXPECT_EQ(f.fn(nullptr), VF_ERR_BAD_CALL) << f.name;
    double v = 0;
    fmtcall c{};
    c.w = f.defw;
    c.value = &v;
    c.outsize = 64;
    EXPECT_EQ(f.fn(&c), VF_ERR_BAD_CALL) << f.name;
    EXPECT_EQ(c.outlen, 0) << f.name;
    char out[64];
    std::memset(out, '#', sizeof out);
    c.value = nullptr;
    c.out = out;
    EXPECT_EQ(f.fn(&c), VF_ERR_BAD_CALL) << f.name;
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(c.outlen)),
              std::string(static_cast<std::size_t>(f.defw), '*'));
  }
}

// Resolved by name: the limits come back as the descriptor gives them, and
// xffmt widens the narrow text to UCS-2.
TEST(WordCalls, ResolvedByNameAndWidened) {
  const struct {
    const char *name;
    double value;
    const char *text; // at the default width
  } cases[] = {
      {"DOWNAME", 23000, "Wednesday"},
      {"MONNAME", 23000, " December"},
      {"WEEKDATE", 23000, " Wednesday, December 21, 2022"},
      {"WEEKDATX", 23000, "  Wednesday, 21 December 2022"},
      {"WORDDATE", 23000, " December 21, 2022"},
      {"WORDDATX", 23000, "  21 December 2022"},
      {"NENGO", 23000, "H.34/12/21"},
      {"MINGUO", 23000, "**/12/21"}, // Minguo year 111
      {"DTWKDATX", 23000.0 * 86400, "  Wednesday, 21 December 2022"},
  };
  for (const Format &f : kFormats) {
    fmthandle_storage storage;
    fmthandle *h = &storage.builtin;
    fmtattr attrs{};
    const auto len = static_cast<int32_t>(std::strlen(f.name));
    ASSERT_EQ(xfname3(f.name, len, 'F', &attrs, &h, nullptr), 0) << f.name;
    EXPECT_EQ(attrs.minw, f.minw) << f.name;
    EXPECT_EQ(attrs.maxw, f.maxw) << f.name;
    EXPECT_EQ(attrs.defw, f.defw) << f.name;
    EXPECT_EQ(attrs.maxd, f.maxd) << f.name;
    for (const auto &k : cases) {
      if (std::strcmp(k.name, f.name) != 0) continue;
      const vftest::Run r =
          vftest::invoke(h, vftest::bytes_of(k.value), f.defw, 0, 2 * f.defw,
                         VF_ENC_NARROW, VF_ENC_UCS2);
      std::string wide;
      for (const char ch : std::string(k.text)) {
        wide += ch;
        wide += '\0';
      }
      EXPECT_EQ(r.status, VF_OK) << f.name;
      EXPECT_EQ(r.text, wide) << f.name;
      EXPECT_EQ(r.outenc, VF_ENC_UCS2) << f.name;
    }
    xfdel(h);
  }
}

std::string tool_output(const std::string &args) {
  const std::string cmd = std::string(VALFMT_TOOL_PATH) + " " + args + " 2>&1";
  FILE *p = popen(cmd.c_str(), "r");
  if (p == nullptr) return "popen failed";
  std::string out;
  char buf[256];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

TEST(WordCalls, ToolRendersThem) {
  EXPECT_EQ(tool_output("put WEEKDATE29. 23000"),
            " Wednesday, December 21, 2022\n");
  EXPECT_EQ(tool_output("put WORDDATE18. 23000 0"),
            " December 21, 2022\n   January 1, 1960\n");
  EXPECT_EQ(tool_output("put NENGO10. 10599 10600"),
            "S.64/01/07\nH.01/01/08\n");
  EXPECT_EQ(tool_output("put MINGUO10. 0"), "0049/01/01\n");
}

} // namespace
