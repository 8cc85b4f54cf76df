// The three pseudo-formats that report on the library itself, and their
// constant handle records.
#include <cstring>
#include <initializer_list>

#include "access/pseudo.h"
#include "registry/vocab.h"

namespace valfmt {
namespace {

template <std::size_t N>
constexpr fmthandle pseudo_record(const char (&name)[N], uint16_t w, fmtfn fn) {
  fmthandle h{};
  h.modname[0] = ' ';
  h.modnamelen = 1;
  for (std::size_t i = 0; i < 16; ++i)
    h.desc.name[i] = i < N - 1 ? name[i] : ' ';
  h.desc.namelen = static_cast<uint32_t>(N - 1);
  h.desc.minw = h.desc.maxw = h.desc.defw = w;
  h.desc.fn = fn;
  return h;
}

// $IS-INTRINSIC reads at most this many characters.
constexpr int32_t kIntrinsicChars = 32;

// The build stamp that INTRINSIC-CRDATE reports.
constexpr char kStampDate[] = "Apr 15 2012";
constexpr char kStampTime[] = "23:17:00";
constexpr int32_t kStampChars = sizeof kStampDate + sizeof kStampTime - 1;

void get_date_time(const char **date, const char **time) {
  *date = kStampDate;
  *time = kStampTime;
}

bool equals_text(const char *a, std::size_t alen, const char *b) {
  return alen == std::strlen(b) && std::memcmp(a, b, alen) == 0;
}

// True when `text` names a built-in format: informat rows (leading '@') and
// group separators (leading '-') do not count.
bool names_builtin_format(const char *text, std::size_t len) {
  const fmtposs_row *r = find_poss_row(text, len);
  return r != nullptr && r->fmtname[0] != '-' && r->fmtname[0] != '@';
}

// The 16-bit input as UTF-8, as far as it fits the work area; big-endian
// units are read in their own byte order.
std::size_t utf8_of_units(const void *value, int32_t count, bool big_endian,
                          char *text) {
  uint16_t units[kIntrinsicChars];
  const int32_t take = count > kIntrinsicChars ? kIntrinsicChars : count;
  std::memcpy(units, value, static_cast<std::size_t>(take) * 2);
  if (big_endian)
    for (int32_t i = 0; i < take; ++i)
      units[i] = static_cast<uint16_t>((units[i] >> 8) | (units[i] << 8));
  int32_t written = 0;
  UNICODEToUTF8(units, take * 2, reinterpret_cast<uint8_t *>(text),
                kIntrinsicChars, nullptr, &written);
  return static_cast<std::size_t>(written);
}

// The first 32 characters of the input as narrow text; returns the length.
std::size_t read_intrinsic_text(const fmtcall &call, char *text) {
  const int32_t count = call.valuelen < 0 ? 0 : call.valuelen;
  if (call.value == nullptr || count == 0) return 0;
  if (call.inenc == VF_ENC_UCS2 || call.inenc == VF_ENC_UCS2BE)
    return utf8_of_units(call.value, count, call.inenc == VF_ENC_UCS2BE, text);
  const auto n = static_cast<std::size_t>(
      count > kIntrinsicChars ? kIntrinsicChars : count);
  std::memcpy(text, call.value, n);
  return n;
}

// "F", "$" and "$F" at once; then the built-in format names; then the
// names of the library's own reports.
bool names_intrinsic(const char *text, std::size_t n) {
  if ((n == 1 && (text[0] == 'F' || text[0] == '$')) ||
      (n == 2 && text[0] == '$' && text[1] == 'F'))
    return true;
  if (names_builtin_format(text, n)) return true;
  for (const char *s :
       {"$IS-INTRINSIC", "$FMT-META", "INTRINSIC-CRDATE", "$UFMT-CRDATE"})
    if (equals_text(text, n, s)) return true;
  return false;
}

} // namespace

constinit const fmthandle kPseudoCrash =
    pseudo_record("_C_R_A_S_H_", 1, zfmcrash);
constinit const fmthandle kPseudoCrdate =
    pseudo_record("INTRINSIC-CRDATE", 20, zfmvernum);
constinit const fmthandle kPseudoIntrinsic =
    pseudo_record("$IS-INTRINSIC", 3, zfmintrns);

const fmthandle *find_pseudo(const char *name, std::size_t len) {
  for (const fmthandle *p : {&kPseudoCrash, &kPseudoCrdate, &kPseudoIntrinsic})
    if (p->desc.namelen == len && std::memcmp(p->desc.name, name, len) == 0)
      return p;
  return nullptr;
}

bool is_pseudo_record(const fmthandle *h) {
  return h == &kPseudoCrash || h == &kPseudoCrdate || h == &kPseudoIntrinsic;
}

} // namespace valfmt

extern "C" {

VF_API int32_t zfmcrash(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  call->outenc = 0;
  if (call->out == nullptr || call->outsize < 1) {
    call->outlen = 0;
    return VF_ERR_OUTSIZE;
  }
  static_cast<char *>(call->out)[0] = 'X';
  call->outlen = 1;
  return VF_OK;
}

VF_API int32_t zfmvernum(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const char *date = nullptr;
  const char *time = nullptr;
  valfmt::get_date_time(&date, &time);
  char stamp[valfmt::kStampChars + 1];
  const std::size_t dl = std::strlen(date);
  std::memcpy(stamp, date, dl);
  stamp[dl] = ' ';
  const std::size_t tl = std::strlen(time);
  std::memcpy(stamp + dl + 1, time, tl);
  stamp[dl + 1 + tl] = '\0';
  int32_t n = call->w < 0 ? 0
                          : (call->w > valfmt::kStampChars ? valfmt::kStampChars
                                                           : call->w);
  const int32_t cap = call->out ? call->outsize : 0;
  if (n > cap) n = cap < 0 ? 0 : cap;
  if (n > 0) std::memcpy(call->out, stamp, static_cast<std::size_t>(n));
  call->outlen = n;
  call->outenc = 0;
  return VF_OK;
}

VF_API int32_t zfmintrns(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  char text[valfmt::kIntrinsicChars];
  std::size_t n = valfmt::read_intrinsic_text(*call, text);
  while (n > 0 && text[n - 1] == ' ') --n;
  for (std::size_t i = 0; i < n; ++i)
    if (text[i] >= 'a' && text[i] <= 'z')
      text[i] = static_cast<char>(text[i] - 32);
  const bool yes = valfmt::names_intrinsic(text, n);
  call->outenc = 0;
  if (call->out == nullptr || call->outsize < 3) {
    call->outlen = 0;
    return VF_ERR_OUTSIZE;
  }
  std::memcpy(call->out, yes ? "YES" : "NO ", 3);
  call->outlen = 3;
  return VF_OK;
}

} // extern "C"
