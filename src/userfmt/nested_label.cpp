// Labels that name another format, such as a range shown through DATE9. or
// through another user format of the same catalogue.
//
// This is the one place where the user-format family calls back up into
// resolution and invocation (xfname3, xffmt, xfdel): the named format can
// be any format, built in or user-defined, and only resolution knows how to
// find it.  Because a named user format may itself carry format labels (a
// label may even name its own format), the calls can loop; a per-thread
// depth counter stops them after kMaxNesting levels with asterisks.
//
// Only entries of a memory-resident array are walked back to the array's
// head, so that the name may be found in the same catalogue; for any other
// entry the named format is resolved without a catalogue.
#include "userfmt/userfmt.h"

namespace valfmt {
namespace {

constexpr int kMaxNesting = 8;
thread_local int nesting_depth = 0;

// The memory-resident catalogue `entry` belongs to, as a context naming
// its head; false when the entry is not in such an array.
bool resident_catalogue_of(const fmtentry *entry, void *const *ranges,
                           fmtcontext *ctx) {
  if (entry == nullptr || entry->origin == kOriginXml || ranges == nullptr)
    return false;
  const fmtentry *e = entry;
  void *const *r = ranges;
  while (std::memcmp(e->shortname, "00000000", 8) != 0) {
    --e;
    r -= e->nranges;
  }
  ctx->catkind = VF_CATALOG_RESIDENT;
  ctx->entry = e;
  ctx->ranges = r;
  return true;
}

} // namespace

int32_t format_nested_label(fmtcall *call, const fmtentry *entry,
                            void *const *ranges, const void *label) {
  const auto *fl = static_cast<const formatlabel *>(label);
  if (nesting_depth >= kMaxNesting) {
    fill_field_stars(call);
    return VF_OK;
  }
  fmtcontext ctx;
  std::memset(&ctx, 0, sizeof ctx);
  const fmtcontext *pctx =
      resident_catalogue_of(entry, ranges, &ctx) ? &ctx : nullptr;
  const int32_t len = zstrip(fl->name, sizeof fl->name);
  fmthandle_storage storage;
  fmthandle *h = &storage.builtin;
  fmtattr attrs{};
  if (len <= 0 || xfname3(fl->name, len, 'F', &attrs, &h, pctx) != 0) {
    fill_field_stars(call);
    return VF_OK;
  }
  // The label's width, within the caller's w and the format's limits.
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
  ++nesting_depth;
  xffmt(&sub, h);
  --nesting_depth;
  xfdel(h);
  call->outlen = sub.outlen;
  call->outenc = sub.outenc;
  return VF_OK;
}

} // namespace valfmt
