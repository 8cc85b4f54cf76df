// Label output of the user-format evaluators.
//
// Decisions taken here:
//  - 16-bit labels need 2w bytes.  When outsize is smaller and the caller
//    wants narrow text (reqenc 0), the label is written directly as UTF-8,
//    whole characters only, as far as outsize allows (outenc 0); for any
//    other reqenc the field is narrowed to outsize / 2 units.
//  - Pictures and the default numeric display are cut to outsize (the
//    rightmost positions are kept, as for a field wider than w).
//  - A picture with too few digit positions for the value shows asterisks
//    and the status is VF_NO_FIT, as for labels that do not fit; under
//    collection the other labels are still written.
//  - Under collection the labels of all matching ranges are written as the
//    search finds them, into consecutive fields.  The result's outenc is
//    that of the labels (a catalogue entry has either plain or picture
//    labels).
#include "userfmt/label_output.h"

#include "core/units.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

// The default display renders numbers through the fixed renderer, at most
// as wide as it goes, with the BEST decimals code when d is 0.
constexpr RowLimits kFixedLimits = row_limits("F");
constexpr int32_t kBestDecimals = 99;

// w units of narrow UTF-8, whole characters only, as far as outsize allows.
void put_text_as_utf8(fmtcall *c, const void *src, int32_t n, int32_t w) {
  const int32_t cap = out_capacity(c);
  auto *out = static_cast<uint8_t *>(c->out);
  int32_t used = 0;
  for (int32_t i = 0; i < w; ++i) {
    const uint16_t u = i < n ? unit_at(src, i) : kBlankUnit;
    const int len = utf8_unit_length(u);
    if (used + len > cap) break;
    put_utf8_unit(u, out + used);
    used += len;
  }
  c->outlen = used;
  c->outenc = VF_ENC_NARROW;
}

// A text of n units padded with blanks to w units, written as 16-bit text
// when 2w bytes fit, else as described at the top.
void put_text(fmtcall *c, const void *src, int32_t n, int32_t w) {
  const int32_t cap = out_capacity(c);
  if (n < 0) n = 0;
  if (static_cast<int64_t>(w) * 2 > cap && c->reqenc == VF_ENC_NARROW) {
    put_text_as_utf8(c, src, n, w);
    return;
  }
  const int32_t units = static_cast<int64_t>(w) * 2 <= cap ? w : cap / 2;
  copy_units_padded(static_cast<const uint16_t *>(src), n,
                    static_cast<uint16_t *>(c->out), units);
  c->outlen = 2 * units;
  c->outenc = VF_ENC_UCS2;
}

// A picture into the caller's field, cut to outsize.
int32_t put_picture(fmtcall *c, const picturelabel *l, uint8_t round) {
  const int32_t w = field_width(c);
  const int32_t cap = out_capacity(c);
  const int32_t n = w < cap ? w : cap;
  const bool fits =
      n <= 0 ||
      render_picture(call_number(c), n, static_cast<char *>(c->out), l, round);
  c->outlen = n;
  c->outenc = VF_ENC_NARROW;
  return fits ? VF_OK : VF_NO_FIT;
}

// One label.
int32_t put_label(fmtcall *c, const fmtentry *e, void *const *ranges,
                  const void *label) {
  const uint8_t type = *static_cast<const uint8_t *>(label);
  if (type == kLabelPlain) {
    const auto *l = static_cast<const plainlabel *>(label);
    put_text(c, label_text(l), l->len, field_width(c));
    return VF_OK;
  }
  if (type == kLabelPicture)
    return put_picture(c, static_cast<const picturelabel *>(label), e->rflag);
  return format_nested_label(c, e, ranges, label);
}

// The number in the last min(w, 32) positions of the field, blanks before
// it, cut to outsize from the left.
int32_t show_default_number(fmtcall *c) {
  const int32_t w = field_width(c);
  char field[kFixedLimits.maxw];
  const int32_t ww = w < kFixedLimits.maxw ? w : kFixedLimits.maxw;
  const double v = call_number(c);
  fmtcall sub = *c;
  sub.w = ww;
  sub.d = c->d == 0 ? kBestDecimals : c->d;
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

} // namespace

int32_t show_search_result(fmtcall *c, const fmtentry *e, void *const *ranges,
                           const void *range, bool character) {
  c->options &= ~VF_OPT_DEFAULT_SHOWN;
  c->outlen = field_width(c);
  if (range != nullptr) {
    const auto *r = static_cast<const numrange *>(range); // label at 8
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
  if (!character) return show_default_number(c);
  put_text(c, c->value, c->value ? c->valuelen : 0, field_width(c));
  return VF_OK;
}

LabelWriter::LabelWriter(fmtcall *c, const fmtentry *e, void *const *ranges,
                         bool collect)
    : c_(c), e_(e), ranges_(ranges), collect_(collect), w_(field_width(c)),
      cap_(out_capacity(c)) {}

void LabelWriter::add_range(const void *range) {
  const auto *r = static_cast<const numrange *>(range); // label at 8
  if (r->flags & kMultiLabel) {
    const auto *list = static_cast<const multilabel *>(r->label);
    const int32_t n = collect_ ? list->count : (list->count > 0 ? 1 : 0);
    for (int32_t i = 0; i < n; ++i) add_label(list->labels[i]);
  } else {
    add_label(r->label);
  }
}

int32_t LabelWriter::finish() {
  if (overflow_) {
    fill_field_stars(c_);
    return VF_NO_FIT;
  }
  c_->outlen = static_cast<int32_t>(used_);
  c_->outenc = enc_;
  return unfit_ ? VF_NO_FIT : VF_OK;
}

void LabelWriter::add_label(const void *label) {
  if (overflow_ || label == nullptr) return;
  const uint8_t type = *static_cast<const uint8_t *>(label);
  char *at = static_cast<char *>(c_->out) + used_;
  // Pictures take w bytes, every other label w 16-bit units.
  const int64_t need =
      type == kLabelPicture ? w_ : 2 * static_cast<int64_t>(w_);
  if (used_ + need > cap_) {
    overflow_ = true;
    return;
  }
  if (type == kLabelPicture) {
    if (w_ > 0 &&
        !render_picture(call_number(c_), w_, at,
                        static_cast<const picturelabel *>(label), e_->rflag))
      unfit_ = true;
    enc_ = VF_ENC_NARROW;
  } else if (type == kLabelPlain) {
    const auto *l = static_cast<const plainlabel *>(label);
    copy_units_padded(label_text(l), l->len, reinterpret_cast<uint16_t *>(at),
                      w_);
    enc_ = VF_ENC_UCS2;
  } else {
    add_nested_label(at, label);
    enc_ = VF_ENC_UCS2;
  }
  used_ += need;
}

// A named format, asked for 16-bit text and padded to w units.
void LabelWriter::add_nested_label(char *at, const void *label) {
  fmtcall sub = *c_;
  sub.out = at;
  sub.outsize = static_cast<int32_t>(2 * static_cast<int64_t>(w_));
  sub.outlen = 0;
  sub.reqenc = VF_ENC_UCS2;
  format_nested_label(&sub, e_, ranges_, label);
  int32_t got = sub.outlen;
  if (sub.outenc != VF_ENC_UCS2) { // narrow after all: widen in place
    if (got > w_) got = w_;
    for (int32_t i = got - 1; i >= 0; --i)
      put_unit(at, i, static_cast<uint8_t>(at[i]));
    got *= 2;
  }
  for (int64_t i = got / 2; i < w_; ++i) put_unit(at, i, kBlankUnit);
}

void copy_units_padded(const uint16_t *src, int32_t n, uint16_t *dst,
                       int32_t width) {
  if (width <= 0) return;
  if (n < 0 || src == nullptr) n = 0;
  const int32_t k = n < width ? n : width;
  if (k > 0) std::memcpy(dst, src, 2 * static_cast<std::size_t>(k));
  for (int32_t i = k; i < width; ++i) put_unit(dst, i, kBlankUnit);
}

} // namespace valfmt
