// The built-in examples: each shows a format at work and checks the text it
// expects, so that the examples double as an end-to-end test of the library.
#include <cstdio>
#include <string>

#include "commands.h"
#include "core/status.h"
#include "session.h"

namespace valfmt_tool {
namespace {

struct Example {
  const char *fmt;
  const char *value;
  uint32_t enc;
  const char *expect;
  bool catalogue = false; // needs the user formats of --catalog
};

const Example kExamples[] = {
    {"$CHAR5.", "abc", VF_ENC_NARROW, "abc  "},
    {"$CHAR3.", "\xC3\xA9", VF_ENC_UCS2, "\xC3\xA9  "},
    {"$UPCASE8.", "mixed Ca", VF_ENC_NARROW, "MIXED CA"},
    {"$IS-INTRINSIC3.", "DATE", VF_ENC_NARROW, "YES"},
    {"$IS-INTRINSIC3.", "NOSUCH", VF_ENC_NARROW, "NO "},
    {"INTRINSIC-CRDATE20.", "0", VF_ENC_NARROW, "Apr 15 2012 23:17:00"},
    {"_C_R_A_S_H_1.", "0", VF_ENC_NARROW, "X"},
    {"F8.2", "3.14159", VF_ENC_NARROW, "    3.14"},
    {"F8.2", "0.125", VF_ENC_NARROW, "    0.13"},
    {"F8.2", ".A", VF_ENC_NARROW, "     A  "},
    {"BEST12.", "3.14159265358979", VF_ENC_NARROW, "3.1415926536"},
    {"E10.", "12345.678", VF_ENC_NARROW, " 1.235E+04"},
    {"Z6.2", "-3.14159", VF_ENC_NARROW, "-03.14"},
    {"DATE9.", "0", VF_ENC_NARROW, "01JAN1960"},
    {"DATE9.", "0", VF_ENC_UCS2, "01JAN1960"},
    {"YYMMDD10.", "23000", VF_ENC_NARROW, "2022-12-21"},
    {"WEEKDAY1.", "0", VF_ENC_NARROW, "6"},
    {"YYQ6.", "-1", VF_ENC_NARROW, "1959Q4"},
    {"TIME8.", "3600", VF_ENC_NARROW, " 1:00:00"},
    {"DATETIME19.", "1e9", VF_ENC_NARROW, " 09SEP1991:01:46:40"},
    {"WEEKDATE29.", "23000", VF_ENC_NARROW, " Wednesday, December 21, 2022"},
    {"COMMA12.2", "-1234.5", VF_ENC_NARROW, "   -1,234.50"},
    {"DOLLAR12.2", "-1234.5", VF_ENC_NARROW, "  $-1,234.50"},
    {"NEGPAREN12.2", "-1234.5", VF_ENC_NARROW, "  (1,234.50)"},
    {"WORDS40.", "1234", VF_ENC_NARROW,
     "one thousand two hundred thirty-four    "},
    {"ROMAN10.", "1999", VF_ENC_NARROW, "MCMXCIX"},
    {"S370FPD3.", "-123", VF_ENC_NARROW, "00 12 3D"},
    {"@F8.", "1234.5", VF_ENC_NARROW, "1234.5"},
    {"@DATE9.", "01JAN1960", VF_ENC_NARROW, "0"},
    {"@YYMMDD10.", "2022-12-21", VF_ENC_NARROW, "23000"},
    {"@COMMA10.", "1,234.56", VF_ENC_NARROW, "1234.56"},
    {"@$QUOTE8.", "'it''s'", VF_ENC_NARROW, "it's"},
    {"AGEGRP.", "42", VF_ENC_NARROW, "adult   ", true},
    {"$GRADE.", "B", VF_ENC_NARROW, "good        ", true},
    {"AMOUNT15.", "1234567.891", VF_ENC_NARROW, "   1,234,567.89", true},
    {"ISODAY10.", "0", VF_ENC_NARROW, "1960-01-01", true},
};

// Runs one example and prints its line; true when it shows what it expects.
bool run_example(const Options &base, const Example &e) {
  Options opt = base;
  opt.reqenc = e.enc;
  opt.hex = false;
  Session s(opt);
  std::printf(
      "%-20s %-18s ",
      (std::string(e.fmt) + (e.enc == VF_ENC_UCS2 ? " ucs2" : "")).c_str(),
      (std::string("'") + e.value + "'").c_str());
  std::fflush(stdout);
  if (!s.resolve(e.fmt)) {
    std::printf("\n");
    return false;
  }
  const Result r = s.apply(e.value, ValueText::kTerminal);
  if (!r.usable) {
    std::printf("(%s)\n", valfmt::status_words(r.status));
    return false;
  }
  const std::string &shown = r.shown;
  const bool ok = shown == e.expect;
  std::printf("[%s]%s%s%s\n", shown.c_str(), ok ? "" : "  expected [",
              ok ? "" : e.expect, ok ? "" : "]");
  return ok;
}

} // namespace

int run_examples(const Options &base) {
  int failures = 0;
  for (const Example &e : kExamples) {
    if (e.catalogue && !base.has_catalog) continue;
    if (!run_example(base, e)) ++failures;
  }
  if (!base.has_catalog)
    std::printf("(user-defined format examples need --catalog "
                "examples/cntlout.xml)\n");
  return failures ? 1 : 0;
}

} // namespace valfmt_tool
