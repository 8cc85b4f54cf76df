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

// The build stamp that INTRINSIC-CRDATE reports.
constexpr char kStampDate[] = "Apr 15 2012";
constexpr char kStampTime[] = "23:17:00";

void get_date_time(const char **date, const char **time) {
  *date = kStampDate;
  *time = kStampTime;
}

bool equal(const char *a, std::size_t alen, const char *b) {
  return alen == std::strlen(b) && std::memcmp(a, b, alen) == 0;
}

// True when `text` names a built-in format: informat rows (leading '@') and
// group separators (leading '-') do not count.
bool names_builtin_format(const char *text, std::size_t len) {
  const fmtposs_row *r = find_poss_row(text, len);
  return r != nullptr && r->fmtname[0] != '-' && r->fmtname[0] != '@';
}

} // namespace

constinit const fmthandle kPseudoCrash =
    pseudo_record("_C_R_A_S_H_", 1, zfmcrash);
constinit const fmthandle kPseudoCrdate =
    pseudo_record("INTRINSIC-CRDATE", 20, zfmvernum);
constinit const fmthandle kPseudoIntrinsic =
    pseudo_record("$IS-INTRINSIC", 3, zfmintrns);

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
  char stamp[21];
  const std::size_t dl = std::strlen(date);
  std::memcpy(stamp, date, dl);
  stamp[dl] = ' ';
  const std::size_t tl = std::strlen(time);
  std::memcpy(stamp + dl + 1, time, tl);
  stamp[dl + 1 + tl] = '\0';
  int32_t n = call->w < 0 ? 0 : (call->w > 20 ? 20 : call->w);
  const int32_t cap = call->out ? call->outsize : 0;
  if (n > cap) n = cap < 0 ? 0 : cap;
  if (n > 0) std::memcpy(call->out, stamp, static_cast<std::size_t>(n));
  call->outlen = n;
  call->outenc = 0;
  return VF_OK;
}

VF_API int32_t zfmintrns(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  char text[32];
  std::size_t n = 0;
  const int32_t count = call->valuelen < 0 ? 0 : call->valuelen;
  if (call->value != nullptr && count > 0) {
    if (call->inenc == VF_ENC_UCS2 || call->inenc == VF_ENC_UCS2BE) {
      uint16_t units[32];
      const int32_t take = count > 32 ? 32 : count;
      std::memcpy(units, call->value, static_cast<std::size_t>(take) * 2);
      // Big-endian input is read in its own byte order.
      if (call->inenc == VF_ENC_UCS2BE)
        for (int32_t i = 0; i < take; ++i)
          units[i] = static_cast<uint16_t>((units[i] >> 8) | (units[i] << 8));
      int32_t written = 0;
      UNICODEToUTF8(units, take * 2, reinterpret_cast<uint8_t *>(text),
                    sizeof text, nullptr, &written);
      n = static_cast<std::size_t>(written);
    } else {
      n = static_cast<std::size_t>(count > 32 ? 32 : count);
      std::memcpy(text, call->value, n);
    }
  }
  while (n > 0 && text[n - 1] == ' ') --n;
  for (std::size_t i = 0; i < n; ++i)
    if (text[i] >= 'a' && text[i] <= 'z')
      text[i] = static_cast<char>(text[i] - 32);

  bool yes = (n == 1 && (text[0] == 'F' || text[0] == '$')) ||
             (n == 2 && text[0] == '$' && text[1] == 'F');
  if (!yes) {
    yes = valfmt::names_builtin_format(text, n);
    if (!yes)
      for (const char *s :
           {"$IS-INTRINSIC", "$FMT-META", "INTRINSIC-CRDATE", "$UFMT-CRDATE"})
        if (valfmt::equal(text, n, s)) yes = true;
  }
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
