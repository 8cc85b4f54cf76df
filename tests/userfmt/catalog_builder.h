// Builds format catalogues (XML exports of a format control table) for the
// user-format tests, and resolves names from them.
#pragma once

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "userfmt/entry.h"
#include "valfmt.h"

namespace uftest {

struct Col {
  const char *name;
  bool numeric;
  int length;
};

// The control-table columns, in record order.
inline const std::vector<Col> &columns() {
  static const std::vector<Col> cols = {
      {"FMTNAME", false, 32}, {"START", false, 16},   {"END", false, 16},
      {"LABEL", false, 80},   {"MIN", true, 8},       {"MAX", true, 8},
      {"DEFAULT", true, 8},   {"LENGTH", true, 8},    {"FUZZ", true, 8},
      {"PREFIX", false, 2},   {"MULT", true, 8},      {"FILL", false, 1},
      {"NOEDIT", true, 8},    {"TYPE", false, 1},     {"SEXCL", false, 1},
      {"EEXCL", false, 1},    {"HLO", false, 11},     {"DECSEP", false, 1},
      {"DIG3SEP", false, 1},  {"DATATYPE", false, 8}, {"LANGUAGE", false, 8}};
  return cols;
}

inline int record_length() {
  int n = 0;
  for (const Col &c : columns()) n += c.numeric ? 8 : c.length;
  return n;
}

inline std::string header_open() {
  return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
         "<LIBRARY type=\"EXPORT\" version=\"1\">\n"
         "<HEADER>\n<Provider>valfmt tests</Provider>\n</HEADER>\n"
         "<TABLE name=\"CNTLOUT\" label=\"Format control\">\n"
         "<TABLE-HEADER>\n<Provider>valfmt tests</Provider>\n"
         "<Observations length=\"" +
         std::to_string(record_length()) +
         "\"/>\n"
         "<Compression compressed=\"No\" number=\"1\" />\n"
         "<SortAssertion sorted=\"No\" />\n"
         "<Variables number=\"" +
         std::to_string(columns().size()) + "\"/>\n</TABLE-HEADER>\n";
}

inline std::string column_xml() {
  std::string s;
  int offset = 0, order = 1;
  for (const Col &c : columns()) {
    s += "<COLUMN order=\"" + std::to_string(order++) + "\" name=\"" + c.name +
         "\" label=\"" + c.name + "\">\n";
    s += std::string("<TYPE>") + (c.numeric ? "numeric" : "character") +
         "</TYPE>\n";
    s += std::string("<DATATYPE>") + (c.numeric ? "float" : "string") +
         "</DATATYPE>\n";
    s += "<LENGTH>" + std::to_string(c.length) + "</LENGTH>\n";
    s += "<Offset>" + std::to_string(offset) + "</Offset>\n</COLUMN>\n";
    offset += c.numeric ? 8 : c.length;
  }
  return s;
}

inline std::string header() {
  return header_open() + column_xml();
}
inline std::string footer() {
  return "</TABLE>\n</LIBRARY>\n";
}

struct Row {
  std::string fmtname, start, end, label;
  std::string type = "N";
  std::string hlo, sexcl = "N", eexcl = "N";
  std::string prefix, fill, datatype, language, decsep, dig3sep;
  std::string min = "1", max = "40", def = "10", fuzz = "0", mult = "0",
              noedit = "0", length = "10";
};

inline std::string row_xml(const Row &r) {
  auto el = [](const char *n, const std::string &v) {
    return std::string("<") + n + ">" + v + "</" + n + ">\n";
  };
  std::string s = "<ROW>\n";
  s += el("FMTNAME", r.fmtname);
  s += el("START", r.start);
  s += el("END", r.end);
  s += el("LABEL", r.label);
  s += el("MIN", r.min);
  s += el("MAX", r.max);
  s += el("DEFAULT", r.def);
  s += el("LENGTH", r.length);
  s += el("FUZZ", r.fuzz);
  s += el("PREFIX", r.prefix);
  s += el("MULT", r.mult);
  s += el("FILL", r.fill);
  s += el("NOEDIT", r.noedit);
  s += el("TYPE", r.type);
  s += el("SEXCL", r.sexcl);
  s += el("EEXCL", r.eexcl);
  s += el("HLO", r.hlo);
  s += el("DECSEP", r.decsep);
  s += el("DIG3SEP", r.dig3sep);
  s += el("DATATYPE", r.datatype);
  s += el("LANGUAGE", r.language);
  s += "</ROW>\n";
  return s;
}

inline std::string catalog(const std::vector<Row> &rows) {
  std::string s = header();
  for (const Row &r : rows) s += row_xml(r);
  return s + footer();
}

// A numeric range row.
inline Row nrange(const std::string &name, const std::string &start,
                  const std::string &end, const std::string &label) {
  Row r;
  r.fmtname = name;
  r.start = start;
  r.end = end;
  r.label = label;
  return r;
}

inline Row crange(const std::string &name, const std::string &start,
                  const std::string &end, const std::string &label) {
  Row r = nrange(name, start, end, label);
  r.type = "C";
  return r;
}

// One read of the catalogue for `name`: the reader's result, and the block
// list that holds what it built (released with the object).
struct Read {
  int32_t rc = 0;
  fmtcontext ctx{};
  fmtinmemory mem{};
  void *head = nullptr;
  void **tail = &head;

  Read(const std::string &text, const std::string &name) {
    std::memcpy(mem.marker, "INMEMORY", 8);
    mem.text = text.data();
    mem.length = static_cast<int32_t>(text.size());
    ctx.inmemory = &mem;
    rc = xfrdfmt(nullptr, name.data(), static_cast<int32_t>(name.size()), &ctx,
                 &tail);
  }
  Read(const Read &) = delete;
  Read &operator=(const Read &) = delete;
  ~Read() {
    while (head != nullptr) {
      void *next = *static_cast<void **>(head);
      std::free(head);
      head = next;
    }
  }
  const valfmt::fmtentry *entry() const {
    return static_cast<const valfmt::fmtentry *>(ctx.entry);
  }
  const void *range(int i) const { return ctx.ranges[i]; }
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
      : text(catalog_text) {
    std::memcpy(mem.marker, "INMEMORY", 8);
    mem.text = text.data();
    mem.length = static_cast<int32_t>(text.size());
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

// Output of one call: status, bytes, encoding.
struct Out {
  int32_t status = 0;
  std::string bytes;
  uint32_t enc = 0;
  uint32_t options = 0;
};

inline std::u16string units(const Out &o) {
  std::u16string u(o.bytes.size() / 2, u'\0');
  std::memcpy(u.data(), o.bytes.data(), u.size() * 2);
  return u;
}

// Runs one call into a buffer of outsize bytes followed by 16 guard bytes;
// a changed guard byte turns the status into 0x7777 (overrun).
inline Out run_call(fmthandle *h, fmtcall c, int outsize) {
  std::vector<char> buf(static_cast<size_t>(outsize) + 16, '#');
  c.out = buf.data();
  c.outsize = outsize;
  Out o;
  o.status = xffmt(&c, h);
  o.bytes.assign(buf.data(), static_cast<size_t>(c.outlen > 0 ? c.outlen : 0));
  o.enc = c.outenc;
  o.options = c.options;
  for (int i = outsize; i < outsize + 16; ++i)
    if (buf[static_cast<size_t>(i)] != '#') o.status = 0x7777; // overrun
  return o;
}

inline Out put_number(fmthandle *h, double v, int w, int d = 0,
                      uint32_t reqenc = VF_ENC_UCS2, int outsize = 512,
                      uint32_t options = 0) {
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = &v;
  c.reqenc = reqenc;
  c.options = options;
  return run_call(h, c, outsize);
}

inline Out put_text(fmthandle *h, const void *text, int len, uint32_t inenc,
                    int w, uint32_t reqenc = VF_ENC_UCS2, int outsize = 512,
                    uint32_t options = 0) {
  fmtcall c{};
  c.w = w;
  c.value = text;
  c.valuelen = len;
  c.inenc = inenc;
  c.reqenc = reqenc;
  c.options = options;
  return run_call(h, c, outsize);
}

} // namespace uftest
