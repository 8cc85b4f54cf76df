// Resolving a format once and applying it to one value at a time.
//
// An informat written without a width reads the whole text: its width is
// the length of the text, kept inside the informat's limits (a text longer
// than the largest width is read up to that width, with a warning).  A
// width given explicitly is honoured; when it is shorter than the text
// (trailing blanks aside) the result says so.
#include "session.h"

#include <cstdio>
#include <vector>

#include "binary_names.h"
#include "core/status.h"
#include "host_text.h"
#include "report.h"

namespace valfmt_tool {
namespace {

constexpr int32_t kFormatKind = 'F';
constexpr std::size_t kMinOutputChars = 64;
constexpr std::size_t kOutputBytesPerChar = 4; // room for any encoding
constexpr std::size_t kOutputSlack = 16;

std::size_t output_capacity(int32_t w) {
  const std::size_t chars = w > static_cast<int32_t>(kMinOutputChars)
                                ? static_cast<std::size_t>(w)
                                : kMinOutputChars;
  return kOutputBytesPerChar * chars + kOutputSlack;
}

// Length of `p[0..n)` without trailing blanks.
std::size_t significant(const char *p, std::size_t n) {
  while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\0')) --n;
  return n;
}

// Characters of a value, trailing blanks aside: UTF-8 characters of
// terminal text, bytes of file text.
std::size_t characters(const std::string &v, ValueText how) {
  const std::size_t n = significant(v.data(), v.size());
  if (how == ValueText::kBytes) return n;
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; ++i)
    if ((static_cast<unsigned char>(v[i]) & 0xC0) != 0x80) ++count;
  return count;
}

std::string trimmed(const std::string &s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string status_text(int32_t st, bool informat) {
  std::string words = valfmt::status_words(st);
  if (informat)
    if (const std::size_t p = words.find("format"); p != std::string::npos)
      words.replace(p, 6, "informat");
  char code[32];
  std::snprintf(code, sizeof code, " (status 0x%08X)",
                static_cast<uint32_t>(st));
  return words + code;
}

std::string failure_text(const std::string &fmt, const std::string &value,
                         int32_t st, bool informat) {
  const std::string why = st == kNotANumber ? "not a number"
                          : st == kNotHex   ? "not hexadecimal bytes"
                                            : status_text(st, informat);
  return fmt + ": \"" + echo(value) + "\" " + why;
}

void print_status(const std::string &what, int32_t st, bool informat) {
  if (st == kNotANumber || st == kNotHex) {
    std::fprintf(stderr, "valfmt: %s: not %s\n",
                 what.empty() ? "empty value" : what.c_str(),
                 st == kNotHex ? "hexadecimal bytes" : "a number");
    return;
  }
  std::fprintf(stderr, "valfmt: %s: %s\n", what.c_str(),
               status_text(st, informat).c_str());
}

Session::Session(const Options &o) : opt_(o) {
  context_ = catalogue_context(opt_, &ctx_, &mem_);
}

Session::~Session() {
  if (resolved_) xfdel(handle_);
}

bool Session::resolve(const std::string &text) {
  text_ = text;
  if (!parse_format_ref(text, opt_.informat, &ref_)) {
    std::fprintf(stderr,
                 "valfmt: %s: not %s name "
                 "(expected NAME, NAMEw. or NAMEw.d)\n",
                 text.c_str(), opt_.informat ? "an informat" : "a format");
    return false;
  }
  handle_ = &storage_.builtin;
  const int32_t st =
      xfname3(ref_.name.data(), static_cast<int32_t>(ref_.name.size()),
              ref_.informat ? VF_KIND_INFORMAT : kFormatKind, &attrs_, &handle_,
              context_);
  if (st != VF_OK) {
    print_status(text, st, ref_.informat);
    return false;
  }
  resolved_ = true;
  builtin_ = handle_->modname[0] == 'J';
  binary_ = is_binary_name(ref_.name);
  if (ref_.w < 0 && !ref_.informat) ref_.w = attrs_.defw;
  out_.assign(output_capacity(ref_.w < 0 ? attrs_.maxw : ref_.w), '\0');
  if (builtin_ && !within_limits()) return false;
  prepare_fast_path();
  return true;
}

// A numeric format asked for narrow text, its result printed as the bytes
// it is: what call_with() does for such a format, with one call block
// filled once.
void Session::prepare_fast_path() {
  fast_ =
      numeric_format() && !binary_ && !opt_.hex && opt_.reqenc == VF_ENC_NARROW;
  if (!fast_) return;
  fast_capacity_ = output_capacity(ref_.w);
  fast_call_ = fmtcall{};
  fast_call_.w = ref_.w;
  fast_call_.d = ref_.d;
  fast_call_.value = &number_;
  fast_call_.outsize = static_cast<int32_t>(fast_capacity_);
  fast_call_.localeid = opt_.localeid;
  fast_call_.reqenc = opt_.reqenc;
}

bool Session::numeric_format() const {
  return !ref_.informat && ref_.name[0] != '$';
}

// The library leaves the limits to its host: keep w and d inside them, and
// refuse a name that has no implementation before any value.
bool Session::within_limits() const {
  if (handle_->desc.fn == nullptr) {
    print_status(text_, VF_ERR_NO_FUNCTION, ref_.informat);
    return false;
  }
  if (ref_.w >= 0 && (ref_.w < attrs_.minw || ref_.w > attrs_.maxw)) {
    std::fprintf(stderr, "valfmt: %s: width %d outside %u..%u\n", text_.c_str(),
                 ref_.w, attrs_.minw, attrs_.maxw);
    return false;
  }
  if (ref_.d > attrs_.maxd) {
    std::fprintf(stderr, "valfmt: %s: decimals %d outside 0..%u\n",
                 text_.c_str(), ref_.d, attrs_.maxd);
    return false;
  }
  return true;
}

// Terminal text goes as narrow bytes when Windows-1252 holds it, else as
// UCS-2 (informats read the bytes as given); bytes of a file go as they
// are.  False for a numeric value that is not a number.
bool Session::fill_input(const std::string &value, ValueText how,
                         fmtcall *call) {
  if (ref_.informat && opt_.hex && binary_) {
    if (!parse_hex_bytes(value, &narrow_)) return false;
    call->value = narrow_.data();
    call->valuelen = static_cast<int32_t>(narrow_.size());
    return true;
  }
  if (numeric_format()) {
    if (!parse_number(value, &number_)) return false;
    call->value = &number_;
    return true;
  }
  if (how == ValueText::kBytes || ref_.informat) {
    call->value = value.data();
    call->valuelen = static_cast<int32_t>(value.size());
  } else if (to_host_text(value, &narrow_, &wide_)) {
    call->value = narrow_.data();
    call->valuelen = static_cast<int32_t>(narrow_.size());
  } else {
    call->value = wide_.data();
    call->valuelen = static_cast<int32_t>(wide_.size());
    call->inenc = VF_ENC_UCS2;
  }
  return true;
}

// The width of an informat call: as given, or the text's own length.
int32_t Session::width_for(const std::string &value, Result *r) const {
  if (ref_.w >= 0 || !ref_.informat) return ref_.w;
  const auto len =
      static_cast<int64_t>(opt_.hex && binary_ ? narrow_.size() : value.size());
  if (len > attrs_.maxw) {
    r->warning = "text of " + std::to_string(len) +
                 " bytes is longer than the informat's largest width; read "
                 "only the first " +
                 std::to_string(attrs_.maxw);
    return static_cast<int32_t>(attrs_.maxw);
  }
  return static_cast<int32_t>(len < attrs_.minw ? attrs_.minw : len);
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

Result Session::apply(const std::string &value, ValueText how,
                      bool raw_output) {
  Result r;
  fmtcall call{};
  if (!fill_input(value, how, &call)) {
    r.status = opt_.hex && ref_.informat ? kNotHex : kNotANumber;
    return r;
  }
  call.w = width_for(value, &r);
  call_with(call, raw_output, &r);
  note_result(value, how, call.w, &r);
  return r;
}

int32_t Session::render(double value, std::string *shown) {
  number_ = value;
  fmtcall call{};
  call.value = &number_;
  call.w = ref_.w;
  Result r;
  call_with(call, false, &r);
  *shown = r.shown;
  return r.status;
}

// Completes the call block whose input and width are set, calls the
// format and shows its result.
void Session::call_with(fmtcall &call, bool raw_output, Result *r) {
  call.d = ref_.d;
  call.localeid = opt_.localeid;
  call.reqenc = opt_.reqenc;
  // Asked for narrow text, the library turns a user format's 16-bit labels
  // into UTF-8 bytes, which cannot be told from the Windows-1252 bytes of
  // its pictures; for the terminal, ask for 16-bit text, which shows both
  // right.
  if (!raw_output && !builtin_ && !opt_.hex && opt_.reqenc == VF_ENC_NARROW &&
      !ref_.informat)
    call.reqenc = VF_ENC_UCS2;
  if (out_.size() < output_capacity(call.w))
    out_.assign(output_capacity(call.w), '\0');
  double result = 0;
  const bool numeric_in = numeric_informat();
  if (numeric_in) {
    call.out = &result;
    call.outsize = sizeof result;
  } else {
    call.out = out_.data();
    call.outsize = static_cast<int32_t>(out_.size());
  }
  const int32_t st = xffmt(&call, handle_);
  r->status = st;
  const bool ok = st == VF_OK || st == VF_WARN;
  // A format that cannot show a value still fills its field.
  r->usable = ok || (!ref_.informat && call.outlen > 0);
  if (!r->usable) return;
  if (numeric_in) {
    r->stored = result;
    r->shown = opt_.hex && binary_ ? show_number(result) : show_stored(result);
  } else if (!ref_.informat && binary_) {
    r->shown = hex_of(out_.data(), call.outlen); // bytes, not text
  } else if (raw_output && opt_.reqenc == VF_ENC_NARROW &&
             call.outenc != VF_ENC_UCS2) {
    r->shown.assign(out_.data(), static_cast<std::size_t>(call.outlen));
  } else {
    r->shown = display(out_.data(), call.outlen, call.outenc);
    if (opt_.hex) r->shown += "  [" + hex_of(out_.data(), call.outlen) + "]";
  }
}

// The warning a result needs, if any.  Nothing is built for the common
// case of a plain success.
void Session::note_result(const std::string &value, ValueText how, int32_t w,
                          Result *r) const {
  if (!r->usable) return;
  const bool ok = r->status == VF_OK;
  const bool may_cut = (ref_.informat && ref_.w >= 0) ||
                       (!ref_.informat && builtin_ && ref_.name[0] == '$');
  if (ok && r->warning.empty() && !may_cut) return;
  const auto what = [&] { return text_ + ": \"" + echo(value) + "\" "; };
  const auto as = [&] {
    return "shown as \"" + echo(trimmed(r->shown)) + "\"";
  };
  if (!ok && r->status != VF_WARN) {
    r->warning = what() + as() + ": " + status_text(r->status, false);
  } else if (r->status == VF_WARN) {
    r->warning = what() + (ref_.informat ? std::string("read with a warning")
                                         : as() + " (fewer digits than asked)");
  } else if (!r->warning.empty()) {
    r->warning = what() + r->warning;
  } else if (ref_.informat) {
    const std::size_t len = opt_.hex && binary_
                                ? narrow_.size()
                                : significant(value.data(), value.size());
    if (len > static_cast<std::size_t>(w))
      r->warning = what() + "read only its first " + std::to_string(w) +
                   " of " + std::to_string(len) +
                   " characters (text cut to width)";
  } else if (characters(value, how) > static_cast<std::size_t>(w)) {
    r->warning =
        what() + as() + " (text cut to width " + std::to_string(w) + ")";
  }
}

} // namespace valfmt_tool
