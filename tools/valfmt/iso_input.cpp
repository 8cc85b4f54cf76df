// `valfmt input --iso TEXT`.
#include "iso_input.h"

#include <cstdint>
#include <cstring>

#include "core/status.h"
#include "registry/functions.h"
#include "report.h"
#include "valfmt.h"

namespace valfmt_tool {
namespace {

constexpr int32_t kDigits = 32; // an interval's packed digits
constexpr int32_t kShownWidth = 200;

int fail(const std::string &text, int32_t status, std::FILE *err) {
  std::fprintf(err, "valfmt: input --iso \"%s\": %s (status 0x%08X)\n",
               echo(text).c_str(), valfmt::status_words(status),
               static_cast<uint32_t>(status));
  return 1;
}

} // namespace

int iso_input(const std::string &text, std::FILE *out, std::FILE *err) {
  const bool interval = text.find('/') != std::string::npos;
  const bool duration =
      !interval && (text.rfind("P", 0) == 0 || text.rfind("-P", 0) == 0);
  fmtfn reader = interval ? is8601vli : duration ? is8601dui : is8601pdi;
  char digits[kDigits];
  fmtcall c{};
  c.value = text.data();
  c.valuelen = static_cast<int32_t>(text.size());
  c.w = c.valuelen;
  c.out = digits;
  c.outsize = kDigits;
  int32_t status = reader(&c);
  if (status != VF_OK) return fail(text, status, err);
  const int32_t n = c.outlen;
  char shown[kShownWidth];
  fmtcall f{};
  f.value = digits;
  f.valuelen = n;
  f.w = kShownWidth;
  f.out = shown;
  f.outsize = kShownWidth;
  status = n8601e(&f);
  if (status != VF_OK) return fail(text, status, err);
  int32_t len = f.outlen;
  while (len > 0 && shown[len - 1] == ' ') --len;
  std::fprintf(out, "%.*s  %.*s\n", n, digits, len, shown);
  return 0;
}

} // namespace valfmt_tool
