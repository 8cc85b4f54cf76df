// Resolution and the column loop.  The loop never touches Python objects:
// the caller packs the input before and builds the result objects after,
// and releases the interpreter lock around run().
//
// Results are decoded by the encoding the call block reports: narrow text
// through the library's own Windows-1252 table, 16-bit text (locale
// formats, user formats, which are asked for UCS-2 so that no character
// is lost) as UCS-2.
#include "runner.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <system_error>
#include <thread>

#include "core/missing.h"
#include "registry/byte_results.h"

namespace valfmt_py {
namespace {

constexpr int32_t kFormatKind = 'F';
constexpr std::size_t kMinCapacityChars = 256;
constexpr std::size_t kCapacitySlack = 64;
// Below this many values per thread another thread costs more than it
// saves.
constexpr std::size_t kMinValuesPerThread = 4096;

std::size_t output_capacity(int32_t w) {
  const std::size_t chars =
      std::max(static_cast<std::size_t>(std::max(w, 0)), kMinCapacityChars);
  return 2 * chars + kCapacitySlack;
}

// The input of value i filled into `call`; false for a missing text.
bool fill_input(const Inputs &in, std::size_t i, double *number,
                fmtcall *call) {
  if (in.numbers != nullptr) {
    double x = in.numbers[i];
    // NaN that carries no missing code is the standard missing value.
    if (std::isnan(x) && !valfmt::is_missing(x)) x = valfmt::standard_missing();
    *number = x;
    call->value = number;
    return true;
  }
  const TextColumn &t = *in.texts;
  call->value = t.data.data() + t.start[i];
  call->valuelen = t.length[i];
  call->inenc = t.form[i] == TextForm::kWide ? VF_ENC_UCS2 : VF_ENC_NARROW;
  return t.form[i] != TextForm::kMissing;
}

void store_text(Results *out, std::size_t i, const std::u32string &text,
                std::vector<std::pair<std::size_t, std::u32string>> *overflow) {
  uint32_t *row = out->text + i * out->text_cap;
  const std::size_t n = std::min(text.size(), out->text_cap);
  for (std::size_t k = 0; k < n; ++k) row[k] = static_cast<uint32_t>(text[k]);
  std::fill(row + n, row + out->text_cap, 0u);
  if (text.size() > out->text_cap) overflow->emplace_back(i, text);
}

// The common case: narrow text that fits its row, decoded in place.
bool store_narrow(Results *out, std::size_t i, const uint8_t *p,
                  std::size_t len, const uint16_t *table) {
  if (len > out->text_cap) return false;
  uint32_t *row = out->text + i * out->text_cap;
  for (std::size_t k = 0; k < len; ++k) row[k] = table[p[k]];
  std::fill(row + len, row + out->text_cap, 0u);
  return true;
}

void clear_result(const Resolved &r, Results *out, std::size_t i) {
  if (r.stores_double()) {
    out->doubles[i] = valfmt::standard_missing();
  } else if (out->bytes) {
    out->byte_values[i].clear();
  } else {
    std::fill(out->text + i * out->text_cap,
              out->text + (i + 1) * out->text_cap, 0u);
  }
}

// The width of a text read whole; false when it is longer than the
// informat reads.
bool whole_width(const Resolved &r, fmtcall *call) {
  const fmtattr &a = r.attrs();
  if (call->valuelen > a.maxw) return false;
  call->w = std::max<int32_t>(call->valuelen, a.minw);
  return true;
}

void run_range(const Resolved &r, const CallShape &shape, const Inputs &in,
               Results *out, std::size_t begin, std::size_t end,
               std::vector<std::pair<std::size_t, std::u32string>> *overflow) {
  std::vector<uint8_t> buffer(output_capacity(shape.w));
  std::u32string text;
  const uint16_t *table = cp1252_units();
  double number = 0;
  for (std::size_t i = begin; i < end; ++i) {
    fmtcall call{};
    call.w = shape.w;
    call.d = shape.d;
    call.localeid = shape.localeid;
    const bool present = fill_input(in, i, &number, &call);
    if (shape.w < 0 && present && !whole_width(r, &call)) {
      out->status[i] = VF_ERR_WD_LIMITS;
      clear_result(r, out, i);
      continue;
    }
    if (!present && r.stores_double()) {
      out->doubles[i] = valfmt::standard_missing();
      out->status[i] = VF_OK;
      continue;
    }
    if (r.stores_double()) {
      call.out = &out->doubles[i];
      call.outsize = sizeof(double);
    } else {
      call.out = buffer.data();
      call.outsize = static_cast<int32_t>(buffer.size());
      // Built-in formats deliver narrow text or say that they wrote 16-bit
      // text; user formats would narrow theirs to UTF-8 cut at 256 bytes.
      call.reqenc = r.user() ? VF_ENC_UCS2 : VF_ENC_NARROW;
    }
    const int32_t st = xffmt(&call, r.handle());
    out->status[i] = st;
    if (st < 0) {
      clear_result(r, out, i);
      continue;
    }
    if (r.stores_double()) continue;
    const auto len =
        static_cast<std::size_t>(std::clamp(call.outlen, 0, call.outsize));
    if (out->bytes) {
      out->byte_values[i].assign(reinterpret_cast<const char *>(buffer.data()),
                                 len);
    } else if (call.outenc != VF_ENC_NARROW ||
               !store_narrow(out, i, buffer.data(), len, table)) {
      text.clear();
      decode_result(buffer.data(), len, call.outenc, &text);
      store_text(out, i, text, overflow);
    }
  }
}

} // namespace

Resolved::Resolved(std::string name, bool informat, std::string catalog)
    : name_(std::move(name)), informat_(informat),
      catalog_(std::move(catalog)) {
  const fmtcontext *ctx = nullptr;
  if (!catalog_.empty()) {
    std::memcpy(mem_.marker, "INMEMORY", sizeof mem_.marker);
    mem_.text = catalog_.data();
    mem_.length = static_cast<int32_t>(catalog_.size());
    ctx_.inmemory = &mem_;
    ctx = &ctx_;
  }
  handle_ = &storage_.builtin;
  status_ = xfname3(name_.data(), static_cast<int32_t>(name_.size()),
                    informat_ ? VF_KIND_INFORMAT : kFormatKind, &attrs_,
                    &handle_, ctx);
}

Resolved::~Resolved() {
  if (status_ == VF_OK) xfdel(handle_);
}

bool Resolved::runs() const {
  if (!found()) return false;
  if (user()) return storage_.user.evaluator != nullptr;
  return handle_->desc.fn != nullptr;
}

bool Resolved::bytes_result() const {
  return found() && kind() == 'J' && handle_->desc.fn != nullptr &&
         valfmt::yields_bytes(handle_->desc.fn);
}

std::string Resolved::module() const {
  if (!found()) return {};
  if (user()) return "user";
  if (kind() != 'J') return "pseudo";
  return {handle_->modname, strnlen(handle_->modname, sizeof handle_->modname)};
}

void run(const Resolved &r, const CallShape &shape, const Inputs &in,
         Results *out, int threads) {
  std::size_t nthreads = threads < 1 ? 1 : static_cast<std::size_t>(threads);
  nthreads =
      std::min(nthreads, std::max<std::size_t>(1, in.n / kMinValuesPerThread));
  if (nthreads <= 1) {
    run_range(r, shape, in, out, 0, in.n, &out->overflow);
    return;
  }
  std::vector<std::vector<std::pair<std::size_t, std::u32string>>> overflow(
      nthreads);
  std::vector<std::thread> pool;
  const std::size_t chunk = (in.n + nthreads - 1) / nthreads;
  for (std::size_t t = 0; t < nthreads; ++t) {
    const std::size_t begin = t * chunk;
    const std::size_t end = std::min(in.n, begin + chunk);
    auto work = [&, t, begin, end] {
      if (t == 0) {
        run_range(r, shape, in, out, begin, end, &overflow[t]);
        return;
      }
      // Every other thread works with a handle of its own.
      const Resolved own(r.name(), r.informat(), r.catalog());
      run_range(own.found() ? own : r, shape, in, out, begin, end,
                &overflow[t]);
    };
    try {
      pool.emplace_back(work);
    } catch (const std::system_error &) {
      work(); // no thread to be had: this range runs here
    }
  }
  for (auto &th : pool) th.join();
  for (auto &o : overflow)
    for (auto &item : o) out->overflow.push_back(std::move(item));
}

} // namespace valfmt_py
