// catalog check FILE [NAME]: why a user-defined format is not found or
// looks wrong.  The checker reads the catalogue the way the library's
// reader does (lines of at most 255 bytes, one element per line, the
// header's COLUMN declarations, then ROW elements) and reports, with line
// numbers, what would make the reader refuse the catalogue or skip a row:
// errors (exit status 1) for what loses formats or rows, warnings for what
// is accepted but probably not meant.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "commands.h"
#include "session.h"

namespace valfmt_tool {
namespace {

constexpr std::size_t kMaxLineBytes = 255;
constexpr const char *kRequiredColumns[] = {
    "FMTNAME",  "START", "END",    "LABEL",   "MIN",   "MAX",    "DEFAULT",
    "FUZZ",     "TYPE",  "HLO",    "SEXCL",   "EEXCL", "PREFIX", "LANGUAGE",
    "DATATYPE", "FILL",  "DECSEP", "DIG3SEP", "MULT",  "NOEDIT"};

struct Row {
  std::size_t line = 0;
  std::map<std::string, std::string> cells;
};

struct Checker {
  std::string file;
  std::size_t errors = 0;
  std::size_t warnings = 0;
  void error(std::size_t line, const std::string &m) {
    ++errors;
    say(line, "error", m);
  }
  void warning(std::size_t line, const std::string &m) {
    ++warnings;
    say(line, "warning", m);
  }
  // "FILE:LINE: what: message"; without a line for the file as a whole.
  void say(std::size_t line, const char *what, const std::string &m) const {
    if (line == 0)
      std::printf("%s: %s: %s\n", file.c_str(), what, m.c_str());
    else
      std::printf("%s:%zu: %s: %s\n", file.c_str(), line, what, m.c_str());
  }
};

// The value of attribute `name` in `line`, or false.
bool attribute(const std::string &line, const std::string &name,
               std::string *value) {
  const std::size_t p = line.find(" " + name + "=");
  if (p == std::string::npos) return false;
  const std::size_t q = p + name.size() + 2;
  if (q >= line.size() || (line[q] != '"' && line[q] != '\'')) return false;
  const std::size_t e = line.find(line[q], q + 1);
  if (e == std::string::npos) return false;
  *value = line.substr(q + 1, e - q - 1);
  return true;
}

// "<TAG ...>text</TAG>": the tag and the decoded text.
bool element(const std::string &line, std::string *tag, std::string *text) {
  const std::size_t lt = line.find('<');
  if (lt == std::string::npos || lt + 1 >= line.size() || line[lt + 1] == '/')
    return false;
  std::size_t e = lt + 1;
  while (e < line.size() && line[e] != '>' && line[e] != ' ' && line[e] != '/')
    ++e;
  *tag = line.substr(lt + 1, e - lt - 1);
  text->clear();
  const std::size_t gt = line.find('>', e);
  if (gt == std::string::npos || line[gt - 1] == '/') return true;
  const std::size_t end = line.find('<', gt);
  const std::string raw =
      line.substr(gt + 1, end == std::string::npos ? end : end - gt - 1);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    static const std::pair<const char *, char> kRefs[] = {{"&amp;", '&'},
                                                          {"&lt;", '<'},
                                                          {"&gt;", '>'},
                                                          {"&apos;", '\''},
                                                          {"&quot;", '"'}};
    bool done = false;
    for (const auto &[ref, c] : kRefs)
      if (raw.compare(i, std::char_traits<char>::length(ref), ref) == 0) {
        text->push_back(c);
        i += std::char_traits<char>::length(ref) - 1;
        done = true;
        break;
      }
    if (!done) text->push_back(raw[i]);
  }
  return true;
}

bool valid_utf8(const std::string &s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80         ? 1
                          : (c >> 5) == 6  ? 2
                          : (c >> 4) == 14 ? 3
                          : (c >> 3) == 30 ? 4
                                           : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

bool number(const std::string &s, double *v) {
  char *end = nullptr;
  *v = std::strtod(s.c_str(), &end);
  return !s.empty() && s[0] != '.' && end != nullptr && *end == '\0';
}

std::string upper(const std::string &s) {
  std::string u = s;
  for (char &ch : u)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return u;
}

std::string cell(const Row &r, const char *name) {
  const auto it = r.cells.find(name);
  return it == r.cells.end() ? std::string() : it->second;
}

void check_row(Checker &c, const Row &r,
               const std::map<std::string, std::size_t> &lengths) {
  const std::string name = cell(r, "FMTNAME");
  const std::string type = cell(r, "TYPE");
  for (const auto &[col, text] : r.cells) {
    const auto it = lengths.find(col);
    if (it == lengths.end())
      c.error(r.line, "column " + col + " is not declared in the header");
    else if (it->second > 0 && text.size() > it->second)
      c.error(r.line, col + " text of " + std::to_string(text.size()) +
                          " bytes is longer than the column (LENGTH " +
                          std::to_string(it->second) + ")");
  }
  if (name.empty()) c.error(r.line, "row without FMTNAME");
  if (name != upper(name))
    c.error(r.line, "FMTNAME " + name +
                        " has lower-case letters; hosts ask "
                        "for upper-case names, so this row is never found "
                        "(write " +
                        upper(name) + ")");
  if (!name.empty() && name[0] == '$')
    c.error(r.line, "FMTNAME " + name +
                        " begins with '$'; write the name "
                        "without it: TYPE C makes it the character format $" +
                        name.substr(1));
  if (type != "N" && type != "C" && type != "P") {
    if (type == "I" || type == "J")
      c.warning(r.line, "TYPE " + type + ": informat rows are not read");
    else
      c.error(r.line, "TYPE \"" + type +
                          "\": expected N (numeric), C "
                          "(character) or P (picture)");
  }
  const std::string hlo = cell(r, "HLO");
  for (char h : hlo)
    if (std::string("LHOSRMF ").find(h) == std::string::npos)
      c.warning(r.line, std::string("HLO letter ") + h + " has no meaning");
  if (hlo.find('F') != std::string::npos)
    c.error(r.line, "HLO F (a label that names a format) is refused");
  for (const char *col : {"SEXCL", "EEXCL"}) {
    const std::string v = cell(r, col);
    if (!v.empty() && v != "Y" && v != "N")
      c.warning(r.line, std::string(col) + " \"" + v + "\": expected Y or N");
  }
  if (!valid_utf8(cell(r, "LABEL")))
    c.error(r.line, "LABEL is not valid UTF-8, the catalogue's encoding");
}

// Numeric ranges of one format: reversed and overlapping ranges.
void check_ranges(Checker &c, const std::vector<const Row *> &rows) {
  struct Range {
    double lo, hi;
    bool lo_open, hi_open;
    std::size_t line;
  };
  std::vector<Range> ranges;
  bool multilabel = false;
  for (const Row *r : rows) {
    const std::string hlo = cell(*r, "HLO");
    multilabel |= hlo.find('M') != std::string::npos;
    if (hlo.find('O') != std::string::npos) continue;
    double lo = -1e308, hi = 1e308;
    const bool low = hlo.find('L') != std::string::npos;
    const bool high = hlo.find('H') != std::string::npos;
    if ((!low && !number(cell(*r, "START"), &lo)) ||
        (!high && !number(cell(*r, "END"), &hi)))
      continue; // missing values and texts are not ordered here
    if (lo > hi) {
      c.error(r->line, "reversed range: START " + cell(*r, "START") +
                           " is above END " + cell(*r, "END") +
                           "; no value falls in it");
      continue;
    }
    ranges.push_back(
        {lo, hi, cell(*r, "SEXCL") == "Y", cell(*r, "EEXCL") == "Y", r->line});
  }
  for (std::size_t i = 1; i < ranges.size(); ++i)
    if (ranges[i].lo < ranges[i - 1].lo)
      c.warning(ranges[i].line, "range starts below the range of line " +
                                    std::to_string(ranges[i - 1].line) +
                                    "; write the rows in ascending order");
  if (multilabel) return; // several labels per value are meant
  for (std::size_t i = 0; i < ranges.size(); ++i)
    for (std::size_t j = i + 1; j < ranges.size(); ++j) {
      const Range &a = ranges[i];
      const Range &b = ranges[j];
      const bool apart = a.hi < b.lo || b.hi < a.lo ||
                         (a.hi == b.lo && (a.hi_open || b.lo_open)) ||
                         (b.hi == a.lo && (b.hi_open || a.lo_open));
      if (!apart)
        c.warning(b.line, "range overlaps the range of line " +
                              std::to_string(a.line) +
                              "; values in both get the first one's label");
    }
}

struct Header {
  std::map<std::string, std::size_t> lengths; // column -> LENGTH
  std::set<std::string> numeric;              // numeric columns
  std::size_t declared = 0;                   // Variables number
  std::size_t variables_line = 0;
  bool library = false;
};

void header_line(Checker &c, const std::string &line, std::size_t n, Header &h,
                 std::string *column) {
  std::string tag, text, v;
  if (!element(line, &tag, &text)) return;
  if (tag == "LIBRARY") {
    h.library = true;
    if (!attribute(line, "type", &v) || v != "EXPORT")
      c.error(n, "LIBRARY needs type=\"EXPORT\"");
  } else if (tag == "COLUMN") {
    if (!attribute(line, "name", column) || !attribute(line, "order", &v))
      c.error(n, "COLUMN needs the attributes order and name");
    h.lengths[*column] = 0;
  } else if (tag == "TYPE" && text == "numeric") {
    h.numeric.insert(*column);
  } else if (tag == "LENGTH" && !column->empty() && !h.numeric.count(*column)) {
    h.lengths[*column] = std::strtoul(text.c_str(), nullptr, 10);
  } else if (tag == "Variables") {
    if (attribute(line, "number", &v))
      h.declared = std::strtoul(v.c_str(), nullptr, 10);
    h.variables_line = n;
  } else if (tag == "SortAssertion" && attribute(line, "sorted", &v) &&
             v != "No") {
    c.error(n, "SortAssertion must say sorted=\"No\"");
  }
}

void check_header(Checker &c, const Header &h, std::size_t first_row) {
  if (!h.library) c.error(1, "no LIBRARY element with type=\"EXPORT\"");
  for (const char *col : kRequiredColumns)
    if (h.lengths.find(col) == h.lengths.end())
      c.error(first_row, std::string("column ") + col +
                             " is not declared; the reader needs it");
  if (h.declared != h.lengths.size())
    c.error(h.variables_line,
            "Variables number=\"" + std::to_string(h.declared) + "\" but " +
                std::to_string(h.lengths.size()) + " COLUMN elements");
}

// Reads the file into the header and rows; false when it cannot be read.
bool read_catalogue(Checker &c, const std::string &path, Header &h,
                    std::vector<Row> &rows) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line, column, tag, text;
  std::size_t n = 0, first_row = 0;
  bool in_row = false;
  while (std::getline(in, line)) {
    ++n;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLineBytes)
      c.error(n, "line of " + std::to_string(line.size()) +
                     " bytes; the reader reads at most 255 bytes a line, so "
                     "this element is cut");
    if (line.find("<ROW") != std::string::npos) {
      in_row = true;
      if (first_row == 0) first_row = n;
      rows.push_back(Row{n, {}});
    } else if (line.find("</ROW>") != std::string::npos) {
      in_row = false;
    } else if (in_row && element(line, &tag, &text)) {
      rows.back().cells[tag] = text;
    } else if (!in_row) {
      header_line(c, line, n, h, &column);
    }
  }
  check_header(c, h, first_row == 0 ? n : first_row);
  return true;
}

// NAME: found or not, and why.
void check_name(Checker &c, const Options &opt, const std::vector<Row> &rows,
                const std::string &name) {
  const bool character = !name.empty() && name[0] == '$';
  const std::string bare = upper(character ? name.substr(1) : name);
  std::set<std::string> types, spelled;
  for (const Row &r : rows)
    if (upper(cell(r, "FMTNAME")) == bare) {
      types.insert(cell(r, "TYPE"));
      spelled.insert(cell(r, "FMTNAME"));
    }
  Options o = opt;
  o.quiet = true;
  Session s(o);
  std::printf("%s: ", name.c_str());
  std::fflush(stdout);
  if (s.resolve(upper(name) + ".")) {
    std::printf("found\n");
    return;
  }
  if (types.empty())
    c.error(0, "no row has FMTNAME " + bare);
  else if (spelled.count(bare) == 0)
    c.error(0, "the rows of " + bare + " spell it " + *spelled.begin() +
                   "; write the name in upper case");
  else if (!character && types.count("C") && !types.count("N") &&
           !types.count("P"))
    c.error(0, bare + " is a character format (TYPE C): ask for $" + bare);
  else if (character && !types.count("C"))
    c.error(0, bare + " has no TYPE C rows: ask for " + bare);
  else
    c.error(0, bare + " is in the catalogue but the reader refuses it; see "
                      "the errors above");
}

} // namespace

int run_catalog(const Options &opt, const std::vector<std::string> &args) {
  if (args.size() < 2 || args.size() > 3 || args[0] != "check") {
    std::fprintf(stderr, "valfmt catalog: usage: valfmt catalog check FILE "
                         "[NAME]\n");
    return kExitUsage;
  }
  Checker c;
  c.file = args[1];
  Header h;
  std::vector<Row> rows;
  if (!read_catalogue(c, args[1], h, rows)) {
    std::fprintf(stderr, "valfmt: %s: cannot read the catalogue\n",
                 args[1].c_str());
    return kExitUsage;
  }
  std::map<std::string, std::vector<const Row *>> formats;
  for (const Row &r : rows) {
    check_row(c, r, h.lengths);
    formats[cell(r, "FMTNAME") + "/" + cell(r, "TYPE")].push_back(&r);
  }
  for (const auto &[key, list] : formats) {
    if (key.back() != 'C') {
      check_ranges(c, list);
      continue;
    }
    for (std::size_t i = 1; i < list.size(); ++i)
      if (cell(*list[i], "HLO").find('O') == std::string::npos &&
          cell(*list[i], "START") < cell(*list[i - 1], "START"))
        c.warning(list[i]->line, "range starts below the one of line " +
                                     std::to_string(list[i - 1]->line) +
                                     "; write the rows in ascending order");
  }
  if (args.size() == 3) {
    Options o = opt;
    std::ifstream in(args[1], std::ios::binary);
    o.catalog_text.assign(std::istreambuf_iterator<char>(in), {});
    o.has_catalog = true;
    check_name(c, o, rows, args[2]);
  }
  std::printf("%s: %zu rows, %zu formats, %zu errors, %zu warnings\n",
              args[1].c_str(), rows.size(), formats.size(), c.errors,
              c.warnings);
  return c.errors > 0 ? kExitFailed : kExitOk;
}

} // namespace valfmt_tool
