// One resolved format applied to values, the way a host uses the library:
// resolve once (keeping w and d inside the descriptor's limits), then one
// call block per value.  Each result says what a reader of the output must
// know: a warning status, a text cut to a width, a field the library
// filled because the value did not fit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host_text.h"
#include "options.h"
#include "valfmt.h"

namespace valfmt_tool {

// The tool's own result for a value argument that is not a number.
inline constexpr int32_t kNotANumber = INT32_MIN;
// ... and for a --hex value of a binary informat that is not hex bytes.
inline constexpr int32_t kNotHex = INT32_MIN + 1;

// "status words (status 0x...)", with "informat" for informats.
std::string status_text(int32_t st, bool informat);

// "F8.: \"x\" not a number": why a value failed, its text escaped.
std::string failure_text(const std::string &fmt, const std::string &value,
                         int32_t st, bool informat);

// "valfmt: WHAT: status words (status 0x...)" on stderr.
void print_status(const std::string &what, int32_t st, bool informat = false);

// How the bytes of a value reach the library.
enum class ValueText {
  kTerminal, // UTF-8 text: narrow Windows-1252 when it fits, else UCS-2
  kBytes,    // the bytes as they are, narrow (lines and cells of files)
};

struct Result {
  int32_t status = 0;
  std::string shown;   // the text to print (bytes, NUL included)
  double stored = 0;   // a numeric informat's value
  bool usable = false; // something to print, even with an error status
  std::string warning; // non-empty: what the reader must be told
};

class Session {
public:
  explicit Session(const Options &o);
  ~Session();
  Session(const Session &) = delete;
  Session &operator=(const Session &) = delete;

  // Resolves the format; prints an error and returns false when not found
  // or when w, d or the implementation rule the format out.
  bool resolve(const std::string &text);

  // Renders or reads one value.  `raw_output` keeps narrow results as the
  // bytes they are instead of showing them as UTF-8.
  Result apply(const std::string &value, ValueText how,
               bool raw_output = false);

  // Renders the number `value` with a resolved numeric format.
  int32_t render(double value, std::string *shown);

  // The quick path of stream for the common case: a numeric format whose
  // narrow result is printed as it stands.  fast_capacity() is the room
  // render_line needs at `out`.
  bool has_fast_path() const { return fast_; }
  std::size_t fast_capacity() const { return fast_capacity_; }
  // Renders the number in `p[0..n)` into `out` and sets *len: true for a
  // plain success.  False leaves nothing to use: the value then goes
  // through apply(), which reads every notation and explains failures.
  bool render_line(const char *p, std::size_t n, char *out, int32_t *len) {
    if (!parse_plain_number(p, n, &number_)) return false;
    fast_call_.out = out;
    fast_call_.outlen = 0;
    fast_call_.outenc = VF_ENC_NARROW;
    const int32_t st = xffmt(&fast_call_, handle_);
    *len = fast_call_.outlen;
    return st == VF_OK && fast_call_.outenc == VF_ENC_NARROW &&
           fast_call_.outlen >= 0 &&
           static_cast<std::size_t>(fast_call_.outlen) <= fast_capacity_;
  }

  // True when the resolved name reads text into a double.
  bool numeric_informat() const { return ref_.informat && ref_.name[0] != '$'; }
  bool informat() const { return ref_.informat; }
  // True for a numeric format (its values are numbers).
  bool numeric_format() const;
  const std::string &text() const { return text_; }

private:
  bool within_limits() const;
  bool fill_input(const std::string &value, ValueText how, fmtcall *call);
  int32_t width_for(const std::string &value, Result *r) const;
  void call_with(fmtcall &call, bool raw_output, Result *r);
  void note_result(const std::string &value, ValueText how, int32_t w,
                   Result *r) const;
  std::string show_stored(double stored) const;
  void prepare_fast_path();

  Options opt_;
  FormatRef ref_;
  std::string text_; // the format as written
  fmthandle_storage storage_{};
  fmthandle *handle_ = nullptr;
  fmtattr attrs_{};
  fmtcontext ctx_{};
  fmtinmemory mem_{};
  const fmtcontext *context_ = nullptr;
  bool resolved_ = false;
  bool builtin_ = false;
  bool binary_ = false; // results are bytes, shown in hex
  // The quick path: one call block, filled once.
  bool fast_ = false;
  std::size_t fast_capacity_ = 0;
  fmtcall fast_call_{};
  // Input and output of the current call, kept to avoid reallocation.
  double number_ = 0;
  std::string narrow_;
  std::vector<uint16_t> wide_;
  std::vector<char> out_;
};

} // namespace valfmt_tool
