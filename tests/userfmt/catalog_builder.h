// Builds format catalogues (XML exports of a format control table) for the
// user-format tests, reads or resolves names from them, and shows values
// through the resolved handles with the guarded runner.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/call_runner.h"
#include "userfmt/entry.h"
#include "valfmt.h"

namespace uftest {

struct Col {
  const char *name;
  bool numeric;
  int length;
};

// The control-table columns, in record order.
inline const std::vector<Col> kColumns = {
    {"FMTNAME", false, 32}, {"START", false, 16},   {"END", false, 16},
    {"LABEL", false, 80},   {"MIN", true, 8},       {"MAX", true, 8},
    {"DEFAULT", true, 8},   {"LENGTH", true, 8},    {"FUZZ", true, 8},
    {"PREFIX", false, 2},   {"MULT", true, 8},      {"FILL", false, 1},
    {"NOEDIT", true, 8},    {"TYPE", false, 1},     {"SEXCL", false, 1},
    {"EEXCL", false, 1},    {"HLO", false, 11},     {"DECSEP", false, 1},
    {"DIG3SEP", false, 1},  {"DATATYPE", false, 8}, {"LANGUAGE", false, 8}};

// Everything up to the first ROW: record length 235, 21 columns.
inline std::string header() {
  int reclen = 0;
  for (const Col &c : kColumns) reclen += c.numeric ? 8 : c.length;
  std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
                  "<LIBRARY type=\"EXPORT\" version=\"1\">\n"
                  "<HEADER>\n<Provider>valfmt tests</Provider>\n</HEADER>\n"
                  "<TABLE name=\"CNTLOUT\" label=\"Format control\">\n"
                  "<TABLE-HEADER>\n<Observations length=\"" +
                  std::to_string(reclen) +
                  "\"/>\n<Compression compressed=\"No\" number=\"1\" />\n"
                  "<SortAssertion sorted=\"No\" />\n<Variables number=\"" +
                  std::to_string(kColumns.size()) + "\"/>\n</TABLE-HEADER>\n";
  int offset = 0, order = 1;
  for (const Col &c : kColumns) {
    s += "<COLUMN order=\"" + std::to_string(order++) + "\" name=\"" + c.name +
         "\" label=\"" + c.name + "\">\n<TYPE>" +
         (c.numeric ? "numeric" : "character") + "</TYPE>\n<DATATYPE>" +
         (c.numeric ? "float" : "string") + "</DATATYPE>\n<LENGTH>" +
         std::to_string(c.length) + "</LENGTH>\n<Offset>" +
         std::to_string(offset) + "</Offset>\n</COLUMN>\n";
    offset += c.numeric ? 8 : c.length;
  }
  return s;
}

inline const std::string kFooter = "</TABLE>\n</LIBRARY>\n";

struct Row {
  std::string fmtname, start, end, label;
  std::string type = "N";
  std::string hlo, sexcl = "N", eexcl = "N";
  std::string prefix, fill, datatype, language, mult = "0", noedit = "0",
                                                fuzz = "0";
  std::string min = "1", max = "40", def = "10";
};

inline std::string row_xml(const Row &r) {
  const std::pair<const char *, const std::string *> cols[] = {
      {"FMTNAME", &r.fmtname},   {"START", &r.start},
      {"END", &r.end},           {"LABEL", &r.label},
      {"MIN", &r.min},           {"MAX", &r.max},
      {"DEFAULT", &r.def},       {"FUZZ", &r.fuzz},
      {"PREFIX", &r.prefix},     {"MULT", &r.mult},
      {"FILL", &r.fill},         {"NOEDIT", &r.noedit},
      {"TYPE", &r.type},         {"SEXCL", &r.sexcl},
      {"EEXCL", &r.eexcl},       {"HLO", &r.hlo},
      {"DATATYPE", &r.datatype}, {"LANGUAGE", &r.language}};
  std::string s = "<ROW>\n";
  for (const auto &[name, value] : cols)
    s += std::string("<") + name + ">" + *value + "</" + name + ">\n";
  return s + "</ROW>\n";
}

inline std::string catalog(const std::vector<Row> &rows) {
  std::string s = header();
  for (const Row &r : rows) s += row_xml(r);
  return s + kFooter;
}

// A numeric range row, with HLO letters.
inline Row nrange(const std::string &name, const std::string &start,
                  const std::string &end, const std::string &label,
                  const std::string &hlo = "") {
  Row r;
  r.fmtname = name;
  r.start = start;
  r.end = end;
  r.label = label;
  r.hlo = hlo;
  return r;
}

inline Row crange(const std::string &name, const std::string &start,
                  const std::string &end, const std::string &label,
                  const std::string &hlo = "") {
  Row r = nrange(name, start, end, label, hlo);
  r.type = "C";
  return r;
}

inline Row picture(const std::string &name, const std::string &start,
                   const std::string &end, const std::string &pic,
                   const std::string &hlo) {
  Row r = nrange(name, start, end, pic, hlo);
  r.type = "P";
  return r;
}

// Names an entry of a memory-resident array (blank padded).
inline void name_entry(valfmt::fmtentry &e, const char *n, int16_t type,
                       int64_t nranges) {
  std::memset(e.shortname, ' ', 8);
  std::memset(e.fullname, ' ', 32);
  std::memcpy(e.shortname, n, std::min<size_t>(8, std::strlen(n)));
  std::memcpy(e.fullname, n, std::strlen(n));
  e.type = type;
  e.nranges = nranges;
}

inline fmtinmemory in_memory(const std::string &text) {
  fmtinmemory mem{};
  std::memcpy(mem.marker, "INMEMORY", 8);
  mem.text = text.data();
  mem.length = static_cast<int32_t>(text.size());
  return mem;
}

inline void free_blocks(void *head) {
  while (head != nullptr) {
    void *next = *static_cast<void **>(head);
    std::free(head);
    head = next;
  }
}

// One read of the catalogue for `name`: the reader's result, and the block
// list that holds what it built (released with the object).
struct Read {
  int32_t rc = 0;
  fmtcontext ctx{};
  fmtinmemory mem{};
  void *head = nullptr;
  void **tail = &head;

  Read(const std::string &text, const std::string &name)
      : mem(in_memory(text)) {
    ctx.inmemory = &mem;
    rc = xfrdfmt(nullptr, name.data(), static_cast<int32_t>(name.size()), &ctx,
                 &tail);
  }
  Read(const Read &) = delete;
  Read &operator=(const Read &) = delete;
  ~Read() { free_blocks(head); }
  const valfmt::fmtentry *entry() const {
    return static_cast<const valfmt::fmtentry *>(ctx.entry);
  }
  const valfmt::numrange *num(int i) const {
    return static_cast<const valfmt::numrange *>(ctx.ranges[i]);
  }
  const valfmt::charrange *chr(int i) const {
    return static_cast<const valfmt::charrange *>(ctx.ranges[i]);
  }
};

// A handle resolved through xfname3 from an in-memory catalogue.
struct Handle {
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  fmtattr attrs{};
  int32_t rc = 1;
  std::string text;
  fmtinmemory mem{};
  fmtcontext ctx{};

  Handle(const std::string &catalog_text, const std::string &name)
      : text(catalog_text), mem(in_memory(text)) {
    ctx.inmemory = &mem;
    rc = xfname3(name.data(), static_cast<int32_t>(name.size()), 'F', &attrs,
                 &h, &ctx);
  }
  Handle(const Handle &) = delete;
  Handle &operator=(const Handle &) = delete;
  ~Handle() {
    if (rc == 0) xfdel(h);
  }
  fmtuhandle *user() { return reinterpret_cast<fmtuhandle *>(h); }
};

inline std::u16string units(const vftest::Run &r) {
  std::u16string u(r.text.size() / 2, u'\0');
  std::memcpy(u.data(), r.text.data(), u.size() * 2);
  return u;
}

// A number through a handle into a guarded buffer (512 bytes unless given).
inline vftest::Run number(fmthandle *h, double v, int w,
                          uint32_t reqenc = VF_ENC_UCS2, int outsize = 512,
                          uint32_t options = 0, int d = 0) {
  return vftest::invoke(h, vftest::bytes_of(v), w, d, outsize, VF_ENC_NARROW,
                        reqenc, options);
}
// The narrow text of a number shown in w columns.
inline std::string narrow(fmthandle *h, double v, int w, int outsize = 512) {
  return number(h, v, w, VF_ENC_NARROW, outsize).text;
}
// The 16-bit text of a number shown in w columns.
inline std::u16string wide(fmthandle *h, double v, int w, int outsize = 512) {
  return units(number(h, v, w, VF_ENC_UCS2, outsize));
}
// A narrow text shown in w narrow columns.
inline std::string text(fmthandle *h, std::string_view t, int w) {
  return vftest::invoke(h, t, w, 0, 512, VF_ENC_NARROW, VF_ENC_NARROW).text;
}

// A 16-bit text (valuelen counts its units) shown as 16-bit text.
inline std::u16string ucs2_text(fmthandle *h, const std::u16string &t, int w) {
  const vftest::FencedBytes in(
      std::string_view(reinterpret_cast<const char *>(t.data()), 2 * t.size()));
  fmtcall c{};
  c.w = w;
  c.value = in.data();
  c.valuelen = static_cast<int32_t>(t.size());
  c.inenc = VF_ENC_UCS2;
  c.reqenc = VF_ENC_UCS2;
  return units(vftest::run_block(nullptr, h, c, 512));
}

// True when the call leaves VF_OPT_DEFAULT_SHOWN set (the value was shown
// without a label).  The flag is set on entry, so a match must clear it.
inline bool shown_by_default(fmthandle *h, double v, int w,
                             uint32_t options = 0) {
  char out[512];
  fmtcall c{};
  c.w = w;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  c.options = options | VF_OPT_DEFAULT_SHOWN;
  xffmt(&c, h);
  return (c.options & VF_OPT_DEFAULT_SHOWN) != 0;
}

} // namespace uftest
