// Evaluation of user-defined formats: find the range holding the value,
// write its label (plain text, picture, or the output of a named format),
// else the OTHER label, else the value itself.
//
// Decisions taken here:
//  - 16-bit labels need 2w bytes.  When outsize is smaller and the caller
//    wants narrow text (reqenc 0), the label is written directly as UTF-8,
//    whole characters only, as far as outsize allows (outenc 0); for any
//    other reqenc the field is narrowed to outsize / 2 units.
//  - Pictures and the default numeric display are cut to outsize (the
//    rightmost positions are kept, as for a field wider than w).
//  - Host texts (the input value) are read unit by unit with memcpy, so
//    they need no alignment.
//  - Under collection the labels of all matching ranges are written as the
//    search finds them, into consecutive fields; nothing is allocated.  The
//    result's outenc is that of the labels (a catalogue entry has either
//    plain or picture labels).
//  - A null value pointer reads as the standard missing value (numeric) or
//    an empty text (character).
//  - Format labels nest at most kMaxNesting deep; deeper (a label naming
//    its own format) gives asterisks.  Only entries of a memory-resident
//    array are walked back to the array's head; for any other entry the
//    named format is resolved without a catalogue.
#include <cstdlib>
#include <cstring>

#include "registry/functions.h"
#include "core/units.h"
#include "core/call.h"
#include "core/missing.h"
#include "userfmt/userfmt.h"

namespace valfmt {
namespace {

constexpr uint16_t kBlank = 0x0020;
constexpr int kMaxNesting = 8;

inline uint16_t unit_at(const void *p, int64_t i) {
  uint16_t u;
  std::memcpy(&u, static_cast<const char *>(p) + 2 * i, sizeof u);
  return u;
}
inline void put_unit(void *p, int64_t i, uint16_t u) {
  std::memcpy(static_cast<char *>(p) + 2 * i, &u, sizeof u);
}

int32_t width_of(const fmtcall *c) {
  return c->w > 0 ? c->w : 0;
}
// The whole field in asterisks, narrow.
void stars(fmtcall *c) {
  fill_stars(c, width_of(c));
  c->outenc = VF_ENC_NARROW;
}

// A text of n units padded with blanks to w units, written as 16-bit text
// when 2w bytes fit, else as described in the header comment.
void put_text(fmtcall *c, const void *src, int32_t n, int32_t w) {
  const int32_t cap = out_capacity(c);
  if (n < 0) n = 0;
  if (static_cast<int64_t>(w) * 2 <= cap) {
    MPTLU(static_cast<const uint16_t *>(src), n,
          static_cast<uint16_t *>(c->out), w);
    c->outlen = 2 * w;
    c->outenc = VF_ENC_UCS2;
    return;
  }
  if (c->reqenc == VF_ENC_NARROW) {
    auto *out = static_cast<uint8_t *>(c->out);
    int32_t used = 0;
    for (int32_t i = 0; i < w; ++i) {
      const uint16_t u = i < n ? unit_at(src, i) : kBlank;
      const int len = utf8_unit_length(u);
      if (used + len > cap) break;
      put_utf8_unit(u, out + used);
      used += len;
    }
    c->outlen = used;
    c->outenc = VF_ENC_NARROW;
    return;
  }
  const int32_t units = cap / 2;
  MPTLU(static_cast<const uint16_t *>(src), n, static_cast<uint16_t *>(c->out),
        units);
  c->outlen = 2 * units;
  c->outenc = VF_ENC_UCS2;
}

double value_of(const fmtcall *c) {
  return c->value == nullptr ? standard_missing() : call_value(c);
}

// A picture through yfpict into the caller's field.
void put_picture(fmtcall *c, double v, const picturelabel *l, uint8_t rflag) {
  const int32_t w = width_of(c);
  const int32_t cap = out_capacity(c);
  const int32_t n = w < cap ? w : cap;
  if (n > 0) yfpict(v, n, static_cast<char *>(c->out), l, rflag);
  c->outlen = n;
  c->outenc = VF_ENC_NARROW;
}

// Step 6: one label.
int32_t put_label(fmtcall *c, const fmtentry *e, void *const *ranges,
                  const void *label) {
  const uint8_t type = *static_cast<const uint8_t *>(label);
  if (type == kLabelPlain) {
    const auto *l = static_cast<const plainlabel *>(label);
    put_text(c, label_text(l), l->len, width_of(c));
    return VF_OK;
  }
  if (type == kLabelPicture) {
    put_picture(c, value_of(c), static_cast<const picturelabel *>(label),
                e->rflag);
    return VF_OK;
  }
  return yfmtlbl(c, e, ranges, label);
}

// Writes labels one after another, each in a field of w characters.
class LabelWriter {
public:
  LabelWriter(fmtcall *c, const fmtentry *e, void *const *ranges, bool collect)
      : c_(c), e_(e), ranges_(ranges), collect_(collect), w_(width_of(c)),
        cap_(out_capacity(c)) {}

  void add_range(const void *range) {
    const auto *r = static_cast<const numrange *>(range); // label at 8
    if (r->flags & kMultiLabel) {
      const auto *list = static_cast<const multilabel *>(r->label);
      const int32_t n = collect_ ? list->count : (list->count > 0 ? 1 : 0);
      for (int32_t i = 0; i < n; ++i) add_label(list->labels[i]);
    } else {
      add_label(r->label);
    }
  }

  int32_t finish() {
    if (overflow_) {
      stars(c_);
      return VF_NO_FIT;
    }
    c_->outlen = static_cast<int32_t>(used_);
    c_->outenc = enc_;
    return VF_OK;
  }

private:
  void add_label(const void *label) {
    if (overflow_ || label == nullptr) return;
    const uint8_t type = *static_cast<const uint8_t *>(label);
    char *at = static_cast<char *>(c_->out) + used_;
    if (type == kLabelPicture) {
      if (used_ + w_ > cap_) {
        overflow_ = true;
        return;
      }
      if (w_ > 0)
        yfpict(value_of(c_), w_, at, static_cast<const picturelabel *>(label),
               e_->rflag);
      used_ += w_;
      enc_ = VF_ENC_NARROW;
      return;
    }
    const int64_t need = 2 * static_cast<int64_t>(w_);
    if (used_ + need > cap_) {
      overflow_ = true;
      return;
    }
    if (type == kLabelPlain) {
      const auto *l = static_cast<const plainlabel *>(label);
      MPTLU(label_text(l), l->len, reinterpret_cast<uint16_t *>(at), w_);
    } else {
      // A named format, asked for 16-bit text and padded to w units.
      fmtcall sub = *c_;
      sub.out = at;
      sub.outsize = static_cast<int32_t>(need);
      sub.outlen = 0;
      sub.reqenc = VF_ENC_UCS2;
      yfmtlbl(&sub, e_, ranges_, label);
      int32_t got = sub.outlen;
      if (sub.outenc != VF_ENC_UCS2) { // narrow after all: widen in place
        if (got > w_) got = w_;
        for (int32_t i = got - 1; i >= 0; --i)
          put_unit(at, i, static_cast<uint8_t>(at[i]));
        got *= 2;
      }
      for (int64_t i = got / 2; i < w_; ++i) put_unit(at, i, kBlank);
    }
    used_ += need;
    enc_ = VF_ENC_UCS2;
  }

  fmtcall *c_;
  const fmtentry *e_;
  void *const *ranges_;
  bool collect_;
  int32_t w_;
  int64_t cap_;
  int64_t used_ = 0;
  bool overflow_ = false;
  uint32_t enc_ = VF_ENC_UCS2;
};

bool collecting(const fmtcall *c, const fmtentry *e) {
  return e->work != 0 && (c->options & VF_OPT_MULTILABEL) != 0;
}

// Steps 4 and 5: output for a match (range or null) after the search.
int32_t output(fmtcall *c, const fmtentry *e, void *const *ranges,
               const void *range, bool character) {
  c->options &= ~VF_OPT_DEFAULT_SHOWN;
  c->outlen = width_of(c);
  if (range != nullptr) {
    const auto *r = static_cast<const numrange *>(range);
    if (collecting(c, e) || (r->flags & kMultiLabel)) {
      LabelWriter lw(c, e, ranges, collecting(c, e));
      lw.add_range(range);
      return lw.finish();
    }
    return put_label(c, e, ranges, r->label);
  }
  if (e->hasother && e->other != nullptr)
    return put_label(c, e, ranges, e->other);
  c->options |= VF_OPT_DEFAULT_SHOWN;
  const int32_t w = width_of(c);
  if (character) {
    put_text(c, c->value, c->value ? c->valuelen : 0, w);
    return VF_OK;
  }
  // The number in the last min(w, 32) positions, blanks before it.
  char field[32];
  const int32_t ww = w < 32 ? w : 32;
  const double v = value_of(c);
  fmtcall sub = *c;
  sub.w = ww;
  sub.d = c->d == 0 ? 99 : c->d;
  sub.value = &v;
  sub.out = field;
  sub.outsize = sizeof field;
  sub.outlen = 0;
  const int32_t st = ww > 0 ? zfmt(&sub) : VF_ERR_WIDTH;
  const int32_t cap = out_capacity(c);
  const int32_t n = w < cap ? w : cap; // bytes delivered: the rightmost n
  auto *out = static_cast<char *>(c->out);
  const int32_t lead = n - ww; // blanks before the number (may be < 0)
  if (lead > 0) std::memset(out, ' ', static_cast<std::size_t>(lead));
  const int32_t from = lead < 0 ? -lead : 0;
  if (ww - from > 0)
    std::memcpy(out + (lead > 0 ? lead : 0), field + from,
                static_cast<std::size_t>(ww - from));
  c->outlen = n;
  c->outenc = VF_ENC_NARROW;
  return st;
}

// --- numeric matching --------------------------------------------------------

constexpr unsigned bit(int t) {
  return 1u << t;
}

inline bool accepts(unsigned mask, uint8_t type) {
  return type < 32 && (mask & bit(type)) != 0;
}

// Inside the fuzzed bounds and not on an excluded exact bound.
bool num_matches(const numrange *r, uint64_t key, unsigned mask) {
  if (!accepts(mask, r->type)) return false;
  if (r->type == kRangeNumSingle) return key == load_key(r->start);
  if (r->type != kRangeNumeric) return false;
  if (key < load_key(r->startfz) || key > load_key(r->endfz)) return false;
  if ((r->flags & kStartExcluded) && key == load_key(r->start)) return false;
  if ((r->flags & kEndExcluded) && key == load_key(r->end)) return false;
  return true;
}

// Binary search over positions 1..n.  `bounds` gives the fuzzed bounds of
// the range at a position when it is a range (type 1) of the searched
// kinds, else false.
template <class Bounds>
const void *num_search(uint64_t key, void *const *ranges, int64_t n,
                       unsigned mask, Bounds bounds) {
  int64_t lo = 1, hi = n;
  while (lo <= hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    uint64_t s, t;
    if (bounds(mid, s, t)) {
      if (key < s) {
        hi = mid - 1;
        continue;
      }
      if (key > t) {
        lo = mid + 1;
        continue;
      }
      const auto *r = static_cast<const numrange *>(ranges[mid - 1]);
      if ((r->flags & kStartExcluded) && key == load_key(r->start)) {
        if (mid == 1) return nullptr;
        const auto *p = static_cast<const numrange *>(ranges[mid - 2]);
        return num_matches(p, key, mask) ? p : nullptr;
      }
      if ((r->flags & kEndExcluded) && key == load_key(r->end)) {
        if (mid == n) return nullptr;
        const auto *p = static_cast<const numrange *>(ranges[mid]);
        return num_matches(p, key, mask) ? p : nullptr;
      }
      return r;
    }
    const auto *r = static_cast<const numrange *>(ranges[mid - 1]);
    const uint64_t st = load_key(r->start);
    if (key == st && r->type == kRangeNumSingle && accepts(mask, r->type))
      return r;
    if (key < st)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return nullptr;
}

const void *num_binary(const fmtentry *e, uint64_t key, void *const *ranges,
                       int64_t n, unsigned mask) {
  // Ranges read by the XML reader are all of type 1 and come with a dense
  // index of their bounds.
  const auto *index = e->origin == kOriginXml
                          ? static_cast<const numindex *>(e->index)
                          : nullptr;
  if (index != nullptr && index->ranges == ranges && index->n == n &&
      accepts(mask, kRangeNumeric)) {
    const uint64_t *keys = index->keys;
    return num_search(key, ranges, n, mask,
                      [keys](int64_t mid, uint64_t &s, uint64_t &t) {
                        s = keys[2 * mid - 2];
                        t = keys[2 * mid - 1];
                        return true;
                      });
  }
  return num_search(key, ranges, n, mask,
                    [ranges, mask](int64_t mid, uint64_t &s, uint64_t &t) {
                      const auto *r =
                          static_cast<const numrange *>(ranges[mid - 1]);
                      if (r->type != kRangeNumeric || !accepts(mask, r->type))
                        return false;
                      s = load_key(r->startfz);
                      t = load_key(r->endfz);
                      return true;
                    });
}

const fmtentry *entry_of(const void *entry) {
  return static_cast<const fmtentry *>(entry);
}

int32_t numeric_binary(fmtcall *c, const void *entry, void *const *ranges,
                       unsigned mask) {
  if (c == nullptr || entry == nullptr) return VF_ERR_BAD_CALL;
  const fmtentry *e = entry_of(entry);
  const uint64_t key = numkey(value_of(c));
  const int64_t n = ranges != nullptr ? e->nranges : 0;
  return output(c, e, ranges, num_binary(e, key, ranges, n, mask), false);
}

// Search in table order: the first match, or every match under collection.
template <class Matches>
int32_t linear(fmtcall *c, const fmtentry *e, void *const *ranges, int64_t n,
               bool character, Matches matches) {
  if (!collecting(c, e)) {
    for (int64_t i = 0; i < n; ++i)
      if (matches(ranges[i])) return output(c, e, ranges, ranges[i], character);
    return output(c, e, ranges, nullptr, character);
  }
  LabelWriter lw(c, e, ranges, true);
  bool any = false;
  for (int64_t i = 0; i < n; ++i) {
    if (matches(ranges[i])) {
      any = true;
      lw.add_range(ranges[i]);
    }
  }
  if (!any) return output(c, e, ranges, nullptr, character);
  c->options &= ~VF_OPT_DEFAULT_SHOWN;
  return lw.finish();
}

int32_t numeric_linear(fmtcall *c, const void *entry, void *const *ranges) {
  if (c == nullptr || entry == nullptr) return VF_ERR_BAD_CALL;
  const fmtentry *e = entry_of(entry);
  const uint64_t key = numkey(value_of(c));
  const int64_t n = ranges != nullptr ? e->nranges : 0;
  constexpr unsigned mask = bit(kRangeNumeric) | bit(kRangeNumSingle);
  return linear(c, e, ranges, n, false, [key](const void *r) {
    return num_matches(static_cast<const numrange *>(r), key, mask);
  });
}

// --- character matching ------------------------------------------------------

// The input text, and its fixed-length (16-unit) form on demand.
struct CharInput {
  const void *text;
  int32_t len;
  uint16_t fixed[kFixedUnits];
  bool hasfixed = false;

  const void *fixed_text() {
    if (!hasfixed) {
      for (int i = 0; i < kFixedUnits; ++i)
        fixed[i] = i < len ? unit_at(text, i) : kBlank;
      hasfixed = true;
    }
    return fixed;
  }
};

bool is_fixed(uint8_t type) {
  return type == kRangeFixed || type == kRangeFixedSingle;
}
bool is_single(uint8_t type) {
  return type == kRangeCharSingle || type == kRangeFixedSingle;
}

int cmp_start(CharInput &in, const charrange *r) {
  if (is_fixed(r->type))
    return zstrcomu(static_cast<const uint16_t *>(in.fixed_text()), kFixedUnits,
                    range_start(r), kFixedUnits);
  return zstrcomu(static_cast<const uint16_t *>(in.text), in.len,
                  range_start(r), r->startlen);
}
int cmp_end(CharInput &in, const charrange *r) {
  if (is_fixed(r->type))
    return zstrcomu(static_cast<const uint16_t *>(in.fixed_text()), kFixedUnits,
                    range_end(r), kFixedUnits);
  return zstrcomu(static_cast<const uint16_t *>(in.text), in.len, range_end(r),
                  r->endlen);
}

bool char_matches(CharInput &in, const charrange *r, unsigned mask) {
  if (!accepts(mask, r->type)) return false;
  if (is_single(r->type)) return cmp_start(in, r) == 0;
  if (r->type != kRangeChar && r->type != kRangeFixed) return false;
  if (!(r->flags & kLow)) {
    const int s = cmp_start(in, r);
    if (s < 0) return false;
    if (s == 0) return !(r->flags & kStartExcluded);
  }
  if (!(r->flags & kHigh)) {
    const int t = cmp_end(in, r);
    if (t > 0 || (t == 0 && (r->flags & kEndExcluded))) return false;
  }
  return true;
}

const void *char_binary(CharInput &in, void *const *ranges, int64_t n,
                        unsigned mask) {
  int64_t lo = 1, hi = n;
  while (lo <= hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    const auto *r = static_cast<const charrange *>(ranges[mid - 1]);
    if (!accepts(mask, r->type) || is_single(r->type) ||
        (r->type != kRangeChar && r->type != kRangeFixed)) {
      const int s = cmp_start(in, r);
      if (s == 0 && is_single(r->type) && accepts(mask, r->type)) return r;
      if (s < 0)
        hi = mid - 1;
      else
        lo = mid + 1;
      continue;
    }
    const int s = (r->flags & kLow) ? 1 : cmp_start(in, r);
    if (s < 0) {
      hi = mid - 1;
      continue;
    }
    const int t = (r->flags & kHigh) ? -1 : cmp_end(in, r);
    if (t > 0) {
      lo = mid + 1;
      continue;
    }
    if (s == 0 && (r->flags & kStartExcluded)) {
      if (mid == 1) return nullptr;
      const auto *p = static_cast<const charrange *>(ranges[mid - 2]);
      return char_matches(in, p, mask) ? p : nullptr;
    }
    if (t == 0 && (r->flags & kEndExcluded)) {
      if (mid == n) return nullptr;
      const auto *p = static_cast<const charrange *>(ranges[mid]);
      return char_matches(in, p, mask) ? p : nullptr;
    }
    return r;
  }
  return nullptr;
}

CharInput input_of(const fmtcall *c) {
  CharInput in;
  in.text = c->value;
  in.len = (c->value != nullptr && c->valuelen > 0) ? c->valuelen : 0;
  if (in.text == nullptr) in.text = in.fixed; // empty, never read
  return in;
}

int32_t character_binary(fmtcall *c, const void *entry, void *const *ranges,
                         unsigned mask) {
  if (c == nullptr || entry == nullptr) return VF_ERR_BAD_CALL;
  const fmtentry *e = entry_of(entry);
  CharInput in = input_of(c);
  const int64_t n = ranges != nullptr ? e->nranges : 0;
  return output(c, e, ranges, char_binary(in, ranges, n, mask), true);
}

int32_t character_linear(fmtcall *c, const void *entry, void *const *ranges) {
  if (c == nullptr || entry == nullptr) return VF_ERR_BAD_CALL;
  const fmtentry *e = entry_of(entry);
  CharInput in = input_of(c);
  const int64_t n = ranges != nullptr ? e->nranges : 0;
  constexpr unsigned mask = bit(kRangeCharSingle) | bit(kRangeChar) |
                            bit(kRangeFixedSingle) | bit(kRangeFixed);
  return linear(c, e, ranges, n, true, [&in](const void *r) {
    return char_matches(in, static_cast<const charrange *>(r), mask);
  });
}

thread_local int nesting = 0;

} // namespace

void MPTLU(const uint16_t *src, int32_t n, uint16_t *dst, int32_t width) {
  if (width <= 0) return;
  if (n < 0 || src == nullptr) n = 0;
  const int32_t k = n < width ? n : width;
  if (k > 0) std::memcpy(dst, src, 2 * static_cast<std::size_t>(k));
  for (int32_t i = k; i < width; ++i) put_unit(dst, i, kBlank);
}

int zstrcomu(const uint16_t *a, int32_t la, const uint16_t *b, int32_t lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  const int32_t n = la < lb ? la : lb;
  for (int32_t i = 0; i < n; ++i) {
    const auto ua = static_cast<int16_t>(unit_at(a, i));
    const auto ub = static_cast<int16_t>(unit_at(b, i));
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  for (int32_t i = n; i < la; ++i)
    if (unit_at(a, i) != kBlank) return 1;
  for (int32_t i = n; i < lb; ++i)
    if (unit_at(b, i) != kBlank) return -1;
  return 0;
}

int32_t getmulti(bool collect, fmtcall *call, int64_t count,
                 const void *const *noted, const fmtentry *entry,
                 void *const *ranges) {
  LabelWriter lw(call, entry, ranges, collect);
  for (int64_t i = 0; i < count; ++i) lw.add_range(noted[i]);
  return lw.finish();
}

int32_t yfmtlbl(fmtcall *call, const fmtentry *entry, void *const *ranges,
                const void *label) {
  const auto *fl = static_cast<const formatlabel *>(label);
  if (nesting >= kMaxNesting) {
    stars(call);
    return VF_OK;
  }
  // The head of the memory-resident array the entry belongs to.
  fmtcontext ctx;
  std::memset(&ctx, 0, sizeof ctx);
  const fmtcontext *pctx = nullptr;
  if (entry != nullptr && entry->origin != kOriginXml && ranges != nullptr) {
    const fmtentry *e = entry;
    void *const *r = ranges;
    while (std::memcmp(e->shortname, "00000000", 8) != 0) {
      --e;
      r -= e->nranges;
    }
    ctx.catkind = VF_CATALOG_RESIDENT;
    ctx.entry = e;
    ctx.ranges = r;
    pctx = &ctx;
  }
  const int32_t len = zstrip(fl->name, sizeof fl->name);
  fmthandle_storage storage;
  fmthandle *h = &storage.builtin;
  fmtattr attrs{};
  if (len <= 0 || xfname3(fl->name, len, 'F', &attrs, &h, pctx) != 0) {
    stars(call);
    return VF_OK;
  }
  const int32_t width = fl->width < 0 ? -fl->width : fl->width;
  int32_t ww = width <= call->w ? width : call->w;
  if (ww < attrs.minw) ww = attrs.minw;
  if (ww > attrs.maxw) ww = attrs.maxw;
  fmtcall sub = *call;
  sub.options = 0;
  sub.w = ww;
  sub.d = fl->decimals;
  const int64_t limit =
      static_cast<int64_t>(width) * (call->reqenc == VF_ENC_UCS2 ? 2 : 1);
  if (limit < sub.outsize) sub.outsize = static_cast<int32_t>(limit);
  ++nesting;
  xffmt(&sub, h);
  --nesting;
  xfdel(h);
  call->outlen = sub.outlen;
  call->outenc = sub.outenc;
  return VF_OK;
}

} // namespace valfmt

using namespace valfmt;

namespace {
constexpr unsigned kNum = bit(kRangeNumeric) | bit(kRangeNumSingle);
constexpr unsigned kChar = bit(kRangeCharSingle) | bit(kRangeChar);
} // namespace

extern "C" {

VF_API int32_t yfpfnfm(fmtcall *c, const void *e, void *const *r) {
  return numeric_binary(c, e, r, kNum);
}
VF_API int32_t yfpfnfn(fmtcall *c, const void *e, void *const *r) {
  return numeric_linear(c, e, r);
}
VF_API int32_t yfpfnfs(fmtcall *c, const void *e, void *const *r) {
  return numeric_binary(c, e, r, bit(kRangeNumSingle));
}
VF_API int32_t yfpfnfr(fmtcall *c, const void *e, void *const *r) {
  return numeric_binary(c, e, r, bit(kRangeNumeric));
}
VF_API int32_t yfpfcfm(fmtcall *c, const void *e, void *const *r) {
  return character_binary(c, e, r, kChar);
}
VF_API int32_t yfpfcfn(fmtcall *c, const void *e, void *const *r) {
  return character_linear(c, e, r);
}
VF_API int32_t yfpfcfs(fmtcall *c, const void *e, void *const *r) {
  return character_binary(c, e, r, bit(kRangeCharSingle));
}
VF_API int32_t yfpfcfr(fmtcall *c, const void *e, void *const *r) {
  return character_binary(c, e, r, bit(kRangeChar));
}
VF_API int32_t yfpfcfx(fmtcall *c, const void *e, void *const *r) {
  return character_binary(c, e, r, bit(kRangeFixedSingle));
}
VF_API int32_t yfpfcfy(fmtcall *c, const void *e, void *const *r) {
  return character_binary(c, e, r, bit(kRangeFixed));
}
VF_API int32_t yfpfcfz(fmtcall *c, const void *e, void *const *r) {
  return character_binary(c, e, r, bit(kRangeFixedSingle) | bit(kRangeFixed));
}

} // extern "C"
