// One resolved format or informat and the loop that applies it to a whole
// column: plain C++ over packed input, one call block per value, one
// handle per thread, no interpreter involved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "text_codec.h"
#include "valfmt.h"

namespace valfmt_py {

// A handle resolved once, in storage of its own that never moves.
class Resolved {
public:
  // Resolves `name` (upper case, no width) as a format or informat, with
  // the in-memory catalogue `catalog` when it is not empty.
  Resolved(std::string name, bool informat, std::string catalog);
  ~Resolved();
  Resolved(const Resolved &) = delete;
  Resolved &operator=(const Resolved &) = delete;

  int32_t status() const { return status_; }
  bool found() const { return status_ == VF_OK; }
  const fmtattr &attrs() const { return attrs_; }
  fmthandle *handle() const { return handle_; }
  char kind() const { return handle_->modname[0]; }
  bool user() const { return kind() == '-' || kind() == '+'; }
  // False for names announced without an implementation.
  bool runs() const;
  // True when the result is bytes of a machine representation.
  bool bytes_result() const;
  // True for a numeric informat: it stores one double.
  bool stores_double() const { return informat_ && name_[0] != '$'; }
  bool informat() const { return informat_; }
  const std::string &name() const { return name_; }
  const std::string &catalog() const { return catalog_; }
  std::string module() const;

private:
  std::string name_;
  bool informat_;
  std::string catalog_;
  fmthandle_storage storage_{};
  fmthandle *handle_ = nullptr;
  fmtattr attrs_{};
  fmtinmemory mem_{};
  fmtcontext ctx_{};
  int32_t status_ = VF_NOT_FOUND;
};

// What every call block of a run shares.
struct CallShape {
  int32_t w = 0; // negative: an informat reads each whole text (see run)
  int32_t d = 0;
  int32_t localeid = 0;
};

// Where the results of a run go.  Exactly one of the three is used: a
// numeric informat stores doubles, a byte result is packed, any other
// result is text written as UCS-4 rows of `text_cap` code points (longer
// texts wait in `overflow` until the caller widens the rows).
struct Results {
  double *doubles = nullptr;
  uint32_t *text = nullptr;
  std::size_t text_cap = 0;
  std::vector<std::pair<std::size_t, std::u32string>> overflow;
  bool bytes = false;
  std::vector<std::string> byte_values;
  int32_t *status = nullptr;
};

// The input of a run: doubles (numeric formats) or packed texts.
struct Inputs {
  const double *numbers = nullptr;
  const TextColumn *texts = nullptr;
  std::size_t n = 0;
};

// Applies `r` to every input, splitting the work over `threads` threads
// (each with a handle of its own).  Must run without the interpreter lock.
// With a negative width each text is read whole: its own length is the
// width (at least the name's smallest), and a text longer than the largest
// width gets VF_ERR_WD_LIMITS instead of being cut short.
void run(const Resolved &r, const CallShape &shape, const Inputs &in,
         Results *out, int threads);

} // namespace valfmt_py
