// Resolving a format once and applying it to one value at a time.
#include "session.h"

#include <cstdio>
#include <vector>

#include "core/status.h"
#include "binary_names.h"
#include "host_text.h"

namespace valfmt_tool {
namespace {

constexpr int32_t kFormatKind = 'F';
constexpr std::size_t kMinOutputChars = 64;
constexpr std::size_t kOutputBytesPerChar = 4; // room for any encoding

std::size_t output_capacity(int32_t w) {
  const std::size_t chars = w > static_cast<int32_t>(kMinOutputChars)
                                ? static_cast<std::size_t>(w)
                                : kMinOutputChars;
  return kOutputBytesPerChar * chars + 16;
}

} // namespace

void print_status(const std::string &what, int32_t st) {
  if (st == kNotANumber || st == kNotHex) {
    std::fprintf(stderr, "valfmt: %s: not %s\n",
                 what.empty() ? "empty value" : what.c_str(),
                 st == kNotHex ? "hexadecimal bytes" : "a number");
    return;
  }
  std::fprintf(stderr, "valfmt: %s: %s (status 0x%08X)\n", what.c_str(),
               valfmt::status_words(st), static_cast<uint32_t>(st));
}

Session::Session(const Options &o) : opt_(o) {
  context_ = catalogue_context(opt_, &ctx_, &mem_);
}

Session::~Session() {
  if (resolved_) xfdel(handle_);
}

bool Session::resolve(const std::string &text) {
  if (!parse_format_ref(text, opt_.informat, &ref_)) {
    std::fprintf(stderr,
                 "valfmt: %s: not a format name "
                 "(expected NAME, NAMEw. or NAMEw.d)\n",
                 text.c_str());
    return false;
  }
  handle_ = &storage_.builtin;
  const int32_t st =
      xfname3(ref_.name.data(), static_cast<int32_t>(ref_.name.size()),
              ref_.informat ? VF_KIND_INFORMAT : kFormatKind, &attrs_, &handle_,
              context_);
  if (st != VF_OK) {
    print_status(text, st);
    return false;
  }
  resolved_ = true;
  if (ref_.w < 0) ref_.w = attrs_.defw;
  return handle_->modname[0] != 'J' || within_limits(text);
}

// The library leaves the limits to its host: keep w and d inside them, and
// refuse a name that has no implementation before any value.
bool Session::within_limits(const std::string &text) const {
  if (handle_->desc.fn == nullptr) {
    print_status(text, VF_ERR_NO_FUNCTION);
    return false;
  }
  if (ref_.w < attrs_.minw || ref_.w > attrs_.maxw) {
    std::fprintf(stderr, "valfmt: %s: width %d outside %u..%u\n", text.c_str(),
                 ref_.w, attrs_.minw, attrs_.maxw);
    return false;
  }
  if (ref_.d > attrs_.maxd) {
    std::fprintf(stderr, "valfmt: %s: decimals %d outside 0..%u\n",
                 text.c_str(), ref_.d, attrs_.maxd);
    return false;
  }
  return true;
}

// Character input goes as narrow bytes when Windows-1252 holds it, else as
// UCS-2; informats always read bytes as given.  False for a numeric value
// that is not a number.
bool Session::fill_input(const std::string &value, fmtcall *call) {
  if (ref_.informat && opt_.hex && is_binary_name(ref_.name)) {
    if (!parse_hex_bytes(value, &narrow_)) return false;
    call->value = narrow_.data();
    call->valuelen = static_cast<int32_t>(narrow_.size());
    return true;
  }
  const bool character_in = ref_.informat || ref_.name[0] == '$';
  if (!character_in) {
    if (!parse_number(value, &number_)) return false;
    call->value = &number_;
    return true;
  }
  if (to_host_text(value, &narrow_, &wide_) || ref_.informat) {
    if (ref_.informat && narrow_.size() != wide_.size()) narrow_ = value;
    call->value = narrow_.data();
    call->valuelen = static_cast<int32_t>(narrow_.size());
  } else {
    call->value = wide_.data();
    call->valuelen = static_cast<int32_t>(wide_.size());
    call->inenc = VF_ENC_UCS2;
  }
  return true;
}

std::string Session::show_stored(double stored) const {
  std::string shown = show_number(stored);
  // The stored double's bytes, e.g. to see a missing value's code.
  if (opt_.hex)
    shown += "  [" +
             hex_of(reinterpret_cast<const char *>(&stored), sizeof stored) +
             "]";
  return shown;
}

int32_t Session::apply(const std::string &value, std::string *shown,
                       double *stored) {
  fmtcall call{};
  if (!fill_input(value, &call))
    return opt_.hex && ref_.informat ? kNotHex : kNotANumber;
  return call_with(call, shown, stored);
}

int32_t Session::render(double value, std::string *shown) {
  number_ = value;
  fmtcall call{};
  call.value = &number_;
  return call_with(call, shown, nullptr);
}

// Completes the call block whose input is set, calls the format and shows
// its result.
int32_t Session::call_with(fmtcall &call, std::string *shown, double *stored) {
  call.w = ref_.w;
  call.d = ref_.d;
  call.localeid = opt_.localeid;
  call.reqenc = opt_.reqenc;
  std::vector<char> out(output_capacity(ref_.w), '\0');
  double result = 0;
  const bool numeric_in = numeric_informat();
  if (numeric_in) {
    call.out = &result;
    call.outsize = sizeof result;
  } else {
    call.out = out.data();
    call.outsize = static_cast<int32_t>(out.size());
  }
  const int32_t st = xffmt(&call, handle_);
  if (st != VF_OK && st != VF_WARN) return st;
  if (numeric_in) {
    if (stored != nullptr) *stored = result;
    *shown = opt_.hex && is_binary_name(ref_.name) ? show_number(result)
                                                   : show_stored(result);
  } else if (!ref_.informat && is_binary_name(ref_.name)) {
    *shown = hex_of(out.data(), call.outlen); // bytes, not text
  } else {
    *shown = display(out.data(), call.outlen, call.outenc);
    if (opt_.hex) *shown += "  [" + hex_of(out.data(), call.outlen) + "]";
  }
  return st;
}

} // namespace valfmt_tool
