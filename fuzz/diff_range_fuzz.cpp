// libFuzzer target: the search trees of a numeric user format (the start
// tree of ordered chains, the replaying tree otherwise) against the
// binary search over positions.  Input: a range count, then per range two
// bound bytes and a flag byte (excluded start or end, fuzz), then probe
// bytes; the catalogue is built from them as XML, resolved, and every
// probe key (and each bound's neighbours) must find the same range both
// ways.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "userfmt/entry.h"
#include "userfmt/range_search.h"
#include "userfmt/start_tree.h"
#include "valfmt.h"

namespace {

struct Column {
  const char *name;
  bool numeric;
  int length;
};

std::string header() {
  const Column cols[] = {{"FMTNAME", false, 8}, {"START", false, 16},
                         {"END", false, 16},    {"LABEL", false, 8},
                         {"FUZZ", true, 8},     {"SEXCL", false, 1},
                         {"EEXCL", false, 1}};
  int length = 0;
  for (const Column &c : cols) length += c.length;
  std::string s = "<?xml version=\"1.0\" ?>\n<LIBRARY type=\"EXPORT\">\n"
                  "<TABLE name=\"CNTLOUT\">\n<TABLE-HEADER>\n"
                  "<Observations length=\"" +
                  std::to_string(length) +
                  "\"/>\n<Variables number=\"7\"/>\n</TABLE-HEADER>\n";
  int offset = 0, order = 1;
  for (const Column &c : cols) {
    s += "<COLUMN order=\"" + std::to_string(order++) + "\" name=\"" + c.name +
         "\">\n<TYPE>" + (c.numeric ? "numeric" : "character") +
         "</TYPE>\n<LENGTH>" + std::to_string(c.length) +
         "</LENGTH>\n<Offset>" + std::to_string(offset) +
         "</Offset>\n</COLUMN>\n";
    offset += c.length;
  }
  return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const size_t n = data[0] % 64 + 1;
  // The top bit of the count byte asks for an ordered chain: each range
  // starts where the last ended or a little above, and is fuzzed by 0 or
  // 0.25, so the start tree serves it wherever the guard allows.
  const bool chain = (data[0] & 0x80) != 0;
  if (size < 1 + 3 * n) return 0;
  std::string text = header();
  int at = -200;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t *r = data + 1 + 3 * i;
    const uint8_t flags = r[2];
    char fuzz[8];
    int start = static_cast<int>(r[0]) - 128;
    int end = static_cast<int>(r[1]) - 128;
    if (chain) {
      start = at + r[0] % 3;
      end = start + 1 + r[1] % 5;
      at = end;
      std::snprintf(fuzz, sizeof fuzz, "%s", (flags & 4) ? "0.25" : "0");
    } else {
      std::snprintf(fuzz, sizeof fuzz, "%d", (flags >> 2) % 4);
    }
    text += "<ROW>\n<FMTNAME>T</FMTNAME>\n<START>" + std::to_string(start) +
            "</START>\n<END>" + std::to_string(end) + "</END>\n<LABEL>r" +
            std::to_string(i) + "</LABEL>\n<FUZZ>" + fuzz + "</FUZZ>\n<SEXCL>" +
            (flags & 1 ? "Y" : "N") + "</SEXCL>\n<EEXCL>" +
            (flags & 2 ? "Y" : "N") + "</EEXCL>\n</ROW>\n";
  }
  text += "</TABLE>\n</LIBRARY>\n";
  fmtinmemory mem{};
  std::memcpy(mem.marker, "INMEMORY", 8);
  mem.text = text.data();
  mem.length = static_cast<int32_t>(text.size());
  fmtcontext ctx{};
  ctx.inmemory = &mem;
  fmthandle_storage st{};
  fmthandle *h = &st.builtin;
  if (xfname3("T", 1, 'F', nullptr, &h, &ctx) != 0) return 0;
  const auto *u = reinterpret_cast<const fmtuhandle *>(h);
  const auto *e = static_cast<const valfmt::fmtentry *>(u->entry);
  constexpr unsigned kKinds = valfmt::kind_bit(valfmt::kRangeNumeric) |
                              valfmt::kind_bit(valfmt::kRangeNumSingle);
  const auto *index = static_cast<const valfmt::numindex *>(e->index);
  auto same = [&](uint64_t key) {
    if (index != nullptr && index->starts != nullptr) {
      // The rank is the number of starts at or below the key.
      int64_t count = 0;
      for (int64_t i = 0; i < index->n; ++i) count += index->keys[2 * i] <= key;
      if (valfmt::start_tree_rank(index->starts, key) != count)
        __builtin_trap();
    }
    const void *a =
        valfmt::search_numeric(e, key, u->ranges, e->nranges, kKinds);
    const void *b = valfmt::search_numeric_by_halving(e, key, u->ranges,
                                                      e->nranges, kKinds);
    if (a != b) __builtin_trap();
  };
  for (size_t i = 1 + 3 * n; i < size; ++i)
    same(valfmt::order_key(static_cast<double>(data[i]) - 128.0 +
                           (data[i] & 1 ? 0.5 : 0.0)));
  for (int64_t i = 0; i < e->nranges; ++i) {
    const auto *r = static_cast<const valfmt::numrange *>(u->ranges[i]);
    for (const uint8_t *k : {r->start, r->end, r->startfz, r->endfz}) {
      const uint64_t key = valfmt::load_key(k);
      same(key - 1);
      same(key);
      same(key + 1);
    }
  }
  xfdel(h);
  return 0;
}
