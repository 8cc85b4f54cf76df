// One resolved format applied to values, the way a host uses the library:
// resolve once (keeping w and d inside the descriptor's limits), then one
// call block per value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "options.h"
#include "valfmt.h"

namespace valfmt_tool {

// The tool's own result for a value argument that is not a number.
inline constexpr int32_t kNotANumber = INT32_MIN;
// ... and for a --hex value of a binary informat that is not hex bytes.
inline constexpr int32_t kNotHex = INT32_MIN + 1;

// "valfmt: WHAT: status words (status 0x...)" on stderr.
void print_status(const std::string &what, int32_t st);

class Session {
public:
  explicit Session(const Options &o);
  ~Session();
  Session(const Session &) = delete;
  Session &operator=(const Session &) = delete;

  // Resolves the format; prints an error and returns false when not found
  // or when w, d or the implementation rule the format out.
  bool resolve(const std::string &text);

  // Renders or reads one value into `shown`.  Returns the status.  A
  // numeric informat also leaves the double it stored in `*stored`.
  int32_t apply(const std::string &value, std::string *shown,
                double *stored = nullptr);

  // Renders the number `value` with a resolved numeric format.
  int32_t render(double value, std::string *shown);

  // True when the resolved name reads text into a double.
  bool numeric_informat() const { return ref_.informat && ref_.name[0] != '$'; }

private:
  bool within_limits(const std::string &text) const;
  bool fill_input(const std::string &value, fmtcall *call);
  int32_t call_with(fmtcall &call, std::string *shown, double *stored);
  std::string show_stored(double stored) const;

  Options opt_;
  FormatRef ref_;
  fmthandle_storage storage_{};
  fmthandle *handle_ = nullptr;
  fmtattr attrs_{};
  fmtcontext ctx_{};
  fmtinmemory mem_{};
  const fmtcontext *context_ = nullptr;
  bool resolved_ = false;
  // Input of the current call.
  double number_ = 0;
  std::string narrow_;
  std::vector<uint16_t> wide_;
};

} // namespace valfmt_tool
