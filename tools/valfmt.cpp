// valfmt: the command-line host of the value-format library.
//
//   valfmt put [options] FORMAT VALUE...      render values
//   valfmt input [options] INFORMAT TEXT...   read texts into values
//   valfmt stream [options] FORMAT            render each line of stdin
//   valfmt list [MODULE]                      every built-in name and limits
//   valfmt describe NAME                      one name in detail
//   valfmt examples [--catalog FILE]          the built-in examples
//
// Formats are written as hosts write them: DATE9.  F8.2  $CHAR10.  BEST.
// A leading '@' (or --informat) asks for an informat.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/missing.h"
#include "core/status.h"
#include "valfmt.h"

namespace {

const char kUsage[] =
    "usage: valfmt COMMAND [options] ...\n"
    "\n"
    "commands:\n"
    "  put FORMAT VALUE...       render each VALUE with FORMAT\n"
    "  input INFORMAT TEXT...    read each TEXT with INFORMAT\n"
    "  stream FORMAT             render every line of standard input\n"
    "  list [MODULE]             list built-in names with their limits\n"
    "  describe NAME             show one name's descriptor\n"
    "  examples                  run the built-in examples (with\n"
    "                            --catalog, also user-defined ones)\n"
    "\n"
    "FORMAT is written as hosts write it: DATE9.  F8.2  $CHAR10.  BEST.\n"
    "Names may be given in any case.  The width defaults to the format's\n"
    "default width; w and d must lie within the limits that describe\n"
    "shows.  '@DATE9.' or --informat selects an informat.  Numeric\n"
    "values accept the missing notations . ._ .A .. .Z; character values\n"
    "are taken as given.\n"
    "\n"
    "options:\n"
    "  --encoding narrow|utf8|ucs2   encoding asked for the result\n"
    "                                (UCS-2 is shown as UTF-8)\n"
    "  --locale ID                   locale record number (1..133)\n"
    "  --catalog FILE                XML format catalogue for user formats\n"
    "  --informat                    FORMAT names an informat\n"
    "  --hex                         also print the result bytes in hex\n"
    "  -h, --help                    this text\n"
    "  --                            end of options (values may then\n"
    "                                begin with '-')\n";

struct Options {
  uint32_t reqenc = VF_ENC_NARROW;
  int32_t localeid = 0;
  bool informat = false;
  bool hex = false;
  std::string catalog_text;
  bool has_catalog = false;
};

struct FormatRef {
  std::string name;
  int32_t w = -1; // -1: descriptor default
  int32_t d = 0;
  bool informat = false;
};

// The tool's own result for a value argument that is not a number.
constexpr int32_t kNotANumber = INT32_MIN;

void print_status(const std::string &what, int32_t st) {
  if (st == kNotANumber) {
    std::fprintf(stderr, "valfmt: %s: not a number\n",
                 what.empty() ? "empty value" : what.c_str());
    return;
  }
  std::fprintf(stderr, "valfmt: %s: %s (status 0x%08X)\n", what.c_str(),
               valfmt::status_words(st), static_cast<uint32_t>(st));
}

// A width or decimals count of at most `digits` digits, or -1.
int32_t small_number(const std::string &s, std::size_t digits) {
  if (s.empty() || s.size() > digits) return -1;
  int32_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// "DATE9." -> DATE, 9, 0; "F8.2" -> F, 8, 2; "$CHAR." -> $CHAR, default.
// Names are upper-cased the way hosts do before they look a format up.
bool parse_format_ref(const std::string &text, bool informat, FormatRef *ref) {
  std::string s = text;
  ref->informat = informat;
  if (!s.empty() && s[0] == '@') {
    ref->informat = true;
    s.erase(0, 1);
  }
  const std::size_t dot = s.rfind('.');
  if (dot != std::string::npos) {
    const std::string dec = s.substr(dot + 1);
    std::size_t p = dot;
    while (p > 0 && s[p - 1] >= '0' && s[p - 1] <= '9') --p;
    if (p == 0) return false;
    if (p < dot && (ref->w = small_number(s.substr(p, dot - p), 5)) < 0)
      return false;
    if (!dec.empty() && (ref->d = small_number(dec, 2)) < 0) return false;
    s = s.substr(0, p);
  }
  if (s.empty() || s.size() > 32) return false;
  for (char &c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  ref->name = s;
  return true;
}

// UTF-8 argument -> narrow Windows-1252 bytes when every character has
// one, else UCS-2 units.
bool to_host_text(const std::string &utf8, std::string *narrow,
                  std::vector<uint16_t> *wide) {
  wide->assign(utf8.size() + 1, 0);
  int32_t units = 0;
  UTF8ToUNICODE(reinterpret_cast<const uint8_t *>(utf8.data()),
                static_cast<int32_t>(utf8.size()), wide->data(),
                static_cast<int32_t>(wide->size() * 2), &units, nullptr);
  wide->resize(static_cast<std::size_t>(units));
  narrow->clear();
  for (uint16_t u : *wide) {
    int byte = -1;
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
      byte = u;
    else
      for (int b = 0x80; b < 0xA0; ++b) {
        uint16_t back = 0;
        const uint8_t bb = static_cast<uint8_t>(b);
        LATIN1ToUNICODE(&bb, 1, &back, 2, nullptr);
        if (back == u) byte = b;
      }
    if (byte < 0) return false;
    narrow->push_back(static_cast<char>(byte));
  }
  return true;
}

std::string units_to_utf8(const uint16_t *u, int32_t bytes) {
  std::string out(static_cast<std::size_t>(bytes) * 3 / 2 + 4, '\0');
  int32_t n = 0;
  UNICODEToUTF8(u, bytes, reinterpret_cast<uint8_t *>(out.data()),
                static_cast<int32_t>(out.size()), nullptr, &n);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

// The result as terminal text: narrow bytes through Windows-1252.
std::string display(const char *out, int32_t len, uint32_t enc) {
  if (len <= 0) return std::string();
  if (enc == VF_ENC_UCS2)
    return units_to_utf8(reinterpret_cast<const uint16_t *>(out), len);
  if (enc == VF_ENC_UTF8)
    return std::string(out, static_cast<std::size_t>(len));
  std::vector<uint16_t> wide(static_cast<std::size_t>(len));
  LATIN1ToUNICODE(reinterpret_cast<const uint8_t *>(out), len, wide.data(),
                  len * 2, nullptr);
  return units_to_utf8(wide.data(), len * 2);
}

std::string hex_of(const char *p, int32_t n) {
  std::string s;
  char buf[4];
  for (int32_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(p[i]));
    if (i) s += ' ';
    s += buf;
  }
  return s;
}

// The shortest %g text that reads back as exactly the stored double.
void shortest_round_trip(double v, char *buf, std::size_t size) {
  for (int prec = 15; prec <= 17; ++prec) {
    std::snprintf(buf, size, "%.*g", prec, v);
    if (std::strtod(buf, nullptr) == v) return;
  }
}

// ".", "._", ".A".."Z" (any case) and ".." name missing values.  Blanks
// around the value (padded columns) are ignored.
bool parse_number(const std::string &text, double *v) {
  const std::size_t first = text.find_first_not_of(" \t");
  const std::string s =
      first == std::string::npos
          ? std::string()
          : text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (s == "." || s == "..") {
    *v = valfmt::standard_missing();
    return true;
  }
  if (s.size() == 2 && s[0] == '.') {
    const int code = valfmt::missing_code(static_cast<unsigned char>(s[1]));
    if (code < 0) return false;
    *v = valfmt::missing_value(static_cast<uint8_t>(code));
    return true;
  }
  char *end = nullptr;
  errno = 0;
  *v = std::strtod(s.c_str(), &end);
  return !s.empty() && end && *end == '\0';
}

class Session {
public:
  explicit Session(const Options &o) : opt_(o) {
    if (opt_.has_catalog) {
      std::memcpy(mem_.marker, "INMEMORY", 8);
      mem_.text = opt_.catalog_text.data();
      mem_.length = static_cast<int32_t>(opt_.catalog_text.size());
      ctx_.inmemory = &mem_;
    }
  }
  ~Session() {
    if (resolved_) xfdel(handle_);
  }

  // Resolves the format; prints an error and returns false when not found.
  bool resolve(const std::string &text) {
    if (!parse_format_ref(text, opt_.informat, &ref_)) {
      std::fprintf(stderr,
                   "valfmt: %s: not a format name "
                   "(expected NAME, NAMEw. or NAMEw.d)\n",
                   text.c_str());
      return false;
    }
    handle_ = &storage_.builtin;
    const int32_t st =
        xfname3(ref_.name.data(), static_cast<int32_t>(ref_.name.size()),
                ref_.informat ? VF_KIND_INFORMAT : 'F', &attrs_, &handle_,
                opt_.has_catalog ? &ctx_ : nullptr);
    if (st != VF_OK) {
      print_status(text, st);
      return false;
    }
    resolved_ = true;
    if (ref_.w < 0) ref_.w = attrs_.defw;
    // The library leaves the limits to its host: keep w and d inside them,
    // and refuse a name that has no implementation before any value.
    if (handle_->modname[0] == 'J') {
      if (handle_->desc.fn == nullptr) {
        print_status(text, VF_ERR_NO_FUNCTION);
        return false;
      }
      if (ref_.w < attrs_.minw || ref_.w > attrs_.maxw) {
        std::fprintf(stderr, "valfmt: %s: width %d outside %u..%u\n",
                     text.c_str(), ref_.w, attrs_.minw, attrs_.maxw);
        return false;
      }
      if (ref_.d > attrs_.maxd) {
        std::fprintf(stderr, "valfmt: %s: decimals %d outside 0..%u\n",
                     text.c_str(), ref_.d, attrs_.maxd);
        return false;
      }
    }
    return true;
  }

  const fmthandle *handle() const { return handle_; }
  const fmtattr &attrs() const { return attrs_; }

  // Renders or reads one value; prints the result line.  Returns status.
  int32_t apply(const std::string &value, std::string *shown) {
    const bool character_in = ref_.informat || ref_.name[0] == '$';
    double number = 0;
    std::string narrow;
    std::vector<uint16_t> wide;
    fmtcall call{};
    call.w = ref_.w;
    call.d = ref_.d;
    call.localeid = opt_.localeid;
    call.reqenc = opt_.reqenc;
    if (character_in) {
      if (to_host_text(value, &narrow, &wide) || ref_.informat) {
        call.value = narrow.data();
        call.valuelen = static_cast<int32_t>(narrow.size());
        if (ref_.informat && narrow.size() != wide.size()) {
          narrow = value; // informats read bytes as given
          call.value = narrow.data();
          call.valuelen = static_cast<int32_t>(narrow.size());
        }
      } else {
        call.value = wide.data();
        call.valuelen = static_cast<int32_t>(wide.size());
        call.inenc = VF_ENC_UCS2;
      }
    } else {
      if (!parse_number(value, &number)) return kNotANumber;
      call.value = &number;
    }
    const std::size_t cap =
        4 * static_cast<std::size_t>(ref_.w > 64 ? ref_.w : 64) + 16;
    std::vector<char> out(cap, '\0');
    double stored = 0;
    const bool numeric_informat = ref_.informat && ref_.name[0] != '$';
    if (numeric_informat) {
      call.out = &stored;
      call.outsize = sizeof stored;
    } else {
      call.out = out.data();
      call.outsize = static_cast<int32_t>(cap);
    }
    const int32_t st = xffmt(&call, handle_);
    if (st != VF_OK && st != VF_WARN) return st;
    if (numeric_informat) {
      if (valfmt::is_missing(stored)) {
        const char c = valfmt::missing_char(stored);
        *shown = c == '.' ? std::string(".") : std::string(".") + c;
      } else {
        char buf[64];
        shortest_round_trip(stored, buf, sizeof buf);
        *shown = buf;
      }
      // The stored double's bytes, e.g. to see a missing value's code.
      if (opt_.hex)
        *shown +=
            "  [" +
            hex_of(reinterpret_cast<const char *>(&stored), sizeof stored) +
            "]";
    } else {
      *shown = display(out.data(), call.outlen, call.outenc);
      if (opt_.hex) *shown += "  [" + hex_of(out.data(), call.outlen) + "]";
    }
    return st;
  }

  const FormatRef &ref() const { return ref_; }

private:
  Options opt_;
  FormatRef ref_;
  fmthandle_storage storage_{};
  fmthandle *handle_ = nullptr;
  fmtattr attrs_{};
  fmtcontext ctx_{};
  fmtinmemory mem_{};
  bool resolved_ = false;
};

int run_values(const Options &opt, const std::string &fmt,
               const std::vector<std::string> &values) {
  Session s(opt);
  if (!s.resolve(fmt)) return 2;
  int rc = 0;
  for (const std::string &v : values) {
    std::string shown;
    const int32_t st = s.apply(v, &shown);
    if (st != VF_OK && st != VF_WARN) {
      print_status(st == kNotANumber ? v : fmt + " " + v, st);
      rc = 1;
      continue;
    }
    std::printf("%s\n", shown.c_str());
  }
  return rc;
}

int run_stream(const Options &opt, const std::string &fmt) {
  Session s(opt);
  if (!s.resolve(fmt)) return 2;
  int rc = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string shown;
    const int32_t st = s.apply(line, &shown);
    if (st != VF_OK && st != VF_WARN) {
      print_status(st == kNotANumber ? line : fmt + " " + line, st);
      std::printf("\n");
      rc = 1;
      continue;
    }
    std::printf("%s\n", shown.c_str());
  }
  return rc;
}

std::string trimmed(const char *name, uint32_t len) {
  return std::string(name, len);
}

int run_list(const std::vector<std::string> &args) {
  std::string wanted = args.empty() ? std::string() : args[0];
  for (char &c : wanted)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  bool any = false;
  for (const fmtmodule_row &m : names_and_entries) {
    if (!args.empty() && wanted != m.name) continue;
    any = true;
    const fmtinfo *info = m.entry();
    std::printf("%s (%u names)\n", m.name, info->count);
    std::printf("  %-16s %5s %5s %5s %5s  %s\n", "name", "minw", "maxw", "defw",
                "maxd", "built");
    for (uint32_t i = 0; i < info->count; ++i) {
      const fmtinfo_eachfmt &d = info->first[i];
      std::printf("  %-16s %5u %5u %5u %5u  %s\n",
                  trimmed(d.name, d.namelen).c_str(), d.minw, d.maxw, d.defw,
                  d.maxd, d.fn ? "yes" : "no");
    }
  }
  if (!any) {
    std::fprintf(stderr,
                 "valfmt: %s: no such module (modules: JAZWFBIN "
                 "JAZWFDTE JAZWFMSC JAZWFNLS JAZWFTME JAZWFUWF "
                 "JAZWIBIN JAZWIDTE JAZWIMSC JAZWIUWI)\n",
                 args[0].c_str());
    return 2;
  }
  return 0;
}

int run_describe(const Options &opt, const std::string &text) {
  FormatRef ref;
  if (!parse_format_ref(text, opt.informat, &ref)) {
    std::fprintf(stderr, "valfmt: %s: not a name\n", text.c_str());
    return 2;
  }
  const int32_t kind = ref.informat ? VF_KIND_INFORMAT : 'F';
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  fmtattr a{};
  fmtcontext ctx{};
  fmtinmemory mem{};
  if (opt.has_catalog) {
    std::memcpy(mem.marker, "INMEMORY", 8);
    mem.text = opt.catalog_text.data();
    mem.length = static_cast<int32_t>(opt.catalog_text.size());
    ctx.inmemory = &mem;
  }
  const int32_t st =
      xfname3(ref.name.data(), static_cast<int32_t>(ref.name.size()), kind, &a,
              &h, opt.has_catalog ? &ctx : nullptr);
  if (st != VF_OK) {
    print_status(text, st);
    return 2;
  }
  const char k = h->modname[0];
  if (k == '-' || k == '+') {
    std::printf("name:     %s\n", ref.name.c_str());
    std::printf("kind:     user-defined %s format\n",
                k == '+' ? "character" : "numeric");
    std::printf("width:    %u..%u, default %u\n", a.minw, a.maxw, a.defw);
    xfdel(h);
    return 0;
  }
  std::printf("name:     %s\n", trimmed(h->desc.name, h->desc.namelen).c_str());
  std::printf("kind:     %s\n", k == 'J' ? (ref.informat ? "built-in informat"
                                                         : "built-in format")
                                         : "pseudo-format");
  if (k == 'J') std::printf("module:   %s\n", h->modname);
  std::printf("width:    %u..%u, default %u\n", a.minw, a.maxw, a.defw);
  std::printf("decimals: 0..%u\n", a.maxd);
  std::printf("flags:    %u %u\n", a.flag1, a.flag2);
  std::printf("aux:      %u\n", a.aux_lo | (a.aux_hi << 16));
  std::printf("built:    %s\n", h->desc.fn ? "yes" : "no");
  xfdel(h);
  return 0;
}

// Each example shows a format at work and checks the text it expects, so
// that the examples double as an end-to-end test of the library.
int run_examples(const Options &base) {
  struct Example {
    const char *fmt;
    const char *value;
    uint32_t enc;
    const char *expect;
    bool catalogue = false;
  } examples[] = {
      {"$CHAR5.", "abc", VF_ENC_NARROW, "abc  "},
      {"$CHAR3.", "\xC3\xA9", VF_ENC_UCS2, "\xC3\xA9  "},
      {"$UPCASE8.", "mixed Ca", VF_ENC_NARROW, "MIXED CA"},
      {"$IS-INTRINSIC3.", "DATE", VF_ENC_NARROW, "YES"},
      {"$IS-INTRINSIC3.", "NOSUCH", VF_ENC_NARROW, "NO "},
      {"INTRINSIC-CRDATE20.", "0", VF_ENC_NARROW, "Apr 15 2012 23:17:00"},
      {"_C_R_A_S_H_1.", "0", VF_ENC_NARROW, "X"},
      {"F8.2", "3.14159", VF_ENC_NARROW, "    3.14"},
      {"F8.2", "0.125", VF_ENC_NARROW, "    0.13"},
      {"F8.2", ".A", VF_ENC_NARROW, "     A  "},
      {"BEST12.", "3.14159265358979", VF_ENC_NARROW, "3.1415926536"},
      {"E10.", "12345.678", VF_ENC_NARROW, " 1.235E+04"},
      {"Z6.2", "-3.14159", VF_ENC_NARROW, "-03.14"},
      {"DATE9.", "0", VF_ENC_NARROW, "01JAN1960"},
      {"DATE9.", "0", VF_ENC_UCS2, "01JAN1960"},
      {"YYMMDD10.", "23000", VF_ENC_NARROW, "2022-12-21"},
      {"WEEKDAY1.", "0", VF_ENC_NARROW, "6"},
      {"YYQ6.", "-1", VF_ENC_NARROW, "1959Q4"},
      {"@F8.", "1234.5", VF_ENC_NARROW, "1234.5"},
      {"@COMMA10.", "1,234.56", VF_ENC_NARROW, "1234.56"},
      {"@$QUOTE8.", "'it''s'", VF_ENC_NARROW, "it's"},
      {"AGEGRP.", "42", VF_ENC_NARROW, "adult   ", true},
      {"$GRADE.", "B", VF_ENC_NARROW, "good        ", true},
      {"AMOUNT15.", "1234567.891", VF_ENC_NARROW, "   1,234,567.89", true},
      {"ISODAY10.", "0", VF_ENC_NARROW, "1960-01-01", true},
  };
  int failures = 0;
  for (const Example &e : examples) {
    if (e.catalogue && !base.has_catalog) continue;
    Options opt = base;
    opt.reqenc = e.enc;
    opt.hex = false;
    Session s(opt);
    std::printf(
        "%-20s %-18s ",
        (std::string(e.fmt) + (e.enc == VF_ENC_UCS2 ? " ucs2" : "")).c_str(),
        (std::string("'") + e.value + "'").c_str());
    std::fflush(stdout);
    if (!s.resolve(e.fmt)) {
      ++failures;
      std::printf("\n");
      continue;
    }
    std::string shown;
    const int32_t st = s.apply(e.value, &shown);
    if (st != VF_OK && st != VF_WARN) {
      std::printf("(%s)\n", valfmt::status_words(st));
      ++failures;
      continue;
    }
    const bool ok = shown == e.expect;
    if (!ok) ++failures;
    std::printf("[%s]%s%s%s\n", shown.c_str(), ok ? "" : "  expected [",
                ok ? "" : e.expect, ok ? "" : "]");
  }
  if (!base.has_catalog)
    std::printf("(user-defined format examples need --catalog "
                "examples/cntlout.xml)\n");
  return failures ? 1 : 0;
}

bool read_file(const std::string &path, std::string *text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *text = ss.str();
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string cmd = argv[1];
  if (cmd == "-h" || cmd == "--help" || cmd == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  Options opt;
  std::vector<std::string> args;
  bool options_done = false;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (options_done) {
      args.push_back(a);
      continue;
    }
    auto need = [&](const char *what) -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "valfmt: %s needs a value\n", what);
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--") {
      options_done = true;
    } else if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--encoding") {
      const std::string e = need("--encoding");
      if (e == "narrow")
        opt.reqenc = VF_ENC_NARROW;
      else if (e == "utf8")
        opt.reqenc = VF_ENC_UTF8;
      else if (e == "ucs2")
        opt.reqenc = VF_ENC_UCS2;
      else {
        std::fprintf(stderr,
                     "valfmt: --encoding: expected narrow, utf8 or ucs2\n");
        return 2;
      }
    } else if (a == "--locale") {
      const std::string l = need("--locale");
      char *end = nullptr;
      const long id = std::strtol(l.c_str(), &end, 10);
      if (end == l.c_str() || *end != '\0') {
        std::fprintf(stderr, "valfmt: --locale: give a locale record number "
                             "(1..133); locale names arrive with the locale "
                             "database\n");
        return 2;
      }
      opt.localeid = static_cast<int32_t>(id);
    } else if (a == "--catalog") {
      const std::string path = need("--catalog");
      if (!read_file(path, &opt.catalog_text)) {
        std::fprintf(stderr, "valfmt: %s: cannot read the catalogue: %s\n",
                     path.c_str(), std::strerror(errno));
        return 2;
      }
      opt.has_catalog = true;
    } else if (a == "--informat") {
      opt.informat = true;
    } else if (a == "--hex") {
      opt.hex = true;
    } else if (a.size() > 2 && a[0] == '-' && a[1] == '-') {
      std::fprintf(stderr, "valfmt: unknown option %s (see valfmt --help)\n",
                   a.c_str());
      return 2;
    } else {
      args.push_back(a);
    }
  }
  if (cmd == "put" || cmd == "input") {
    if (cmd == "input") opt.informat = true;
    if (args.size() < 2) {
      std::fprintf(stderr, "valfmt %s: give a %s and at least one value\n",
                   cmd.c_str(), cmd == "put" ? "FORMAT" : "INFORMAT");
      return 2;
    }
    return run_values(opt, args[0],
                      std::vector<std::string>(args.begin() + 1, args.end()));
  }
  if (cmd == "stream") {
    if (args.size() != 1) {
      std::fprintf(stderr, "valfmt stream: give exactly one FORMAT\n");
      return 2;
    }
    return run_stream(opt, args[0]);
  }
  if (cmd == "list") return run_list(args);
  if (cmd == "describe") {
    if (args.size() != 1) {
      std::fprintf(stderr, "valfmt describe: give exactly one NAME\n");
      return 2;
    }
    return run_describe(opt, args[0]);
  }
  if (cmd == "examples") return run_examples(opt);
  std::fprintf(stderr, "valfmt: unknown command %s (see valfmt --help)\n",
               cmd.c_str());
  return 2;
}
