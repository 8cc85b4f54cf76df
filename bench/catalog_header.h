#pragma once
// The opening of an in-memory format catalogue: the header and the column
// declarations the reader needs, up to the first row.  Benchmarks append
// their rows and close the table.
#include <iterator>
#include <string>

namespace benchinputs {

inline std::string catalog_header() {
  struct Col {
    const char *name;
    bool numeric;
    int length;
  } cols[] = {{"FMTNAME", false, 32}, {"START", false, 16}, {"END", false, 16},
              {"LABEL", false, 40},   {"MIN", true, 8},     {"MAX", true, 8},
              {"DEFAULT", true, 8},   {"FUZZ", true, 8},    {"TYPE", false, 1},
              {"SEXCL", false, 1},    {"EEXCL", false, 1},  {"HLO", false, 11}};
  int reclen = 0;
  for (const Col &c : cols) reclen += c.numeric ? 8 : c.length;
  std::string s = "<?xml version=\"1.0\" ?>\n<LIBRARY type=\"EXPORT\">\n"
                  "<TABLE name=\"CNTLOUT\">\n<TABLE-HEADER>\n"
                  "<Observations length=\"" +
                  std::to_string(reclen) + "\"/>\n<Variables number=\"" +
                  std::to_string(std::size(cols)) + "\"/>\n</TABLE-HEADER>\n";
  int offset = 0, order = 1;
  for (const Col &c : cols) {
    s += "<COLUMN order=\"" + std::to_string(order++) + "\" name=\"" + c.name +
         "\">\n<TYPE>" + (c.numeric ? "numeric" : "character") +
         "</TYPE>\n<LENGTH>" + std::to_string(c.length) +
         "</LENGTH>\n<Offset>" + std::to_string(offset) +
         "</Offset>\n</COLUMN>\n";
    offset += c.numeric ? 8 : c.length;
  }
  return s;
}

} // namespace benchinputs
