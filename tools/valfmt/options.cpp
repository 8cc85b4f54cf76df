// Option parsing of the valfmt tool and format references.
#include "options.h"

#include "locale_name.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace valfmt_tool {

const char kUsage[] =
    "usage: valfmt COMMAND [options] ...\n"
    "\n"
    "commands:\n"
    "  put FORMAT VALUE...       render each VALUE with FORMAT\n"
    "  input INFORMAT TEXT...    read each TEXT with INFORMAT (without a\n"
    "                            width, the whole TEXT is read)\n"
    "  input --iso TEXT...       read each ISO 8601 point in time, duration\n"
    "                            or interval; print its packed digits and\n"
    "                            its extended text\n"
    "  stream FORMAT [FILE]      render every line of FILE or standard input\n"
    "  stream --csv --col N=FORMAT... [FILE]\n"
    "                            column mode: render or read the given\n"
    "                            columns of a CSV file, copy the others\n"
    "  list [MODULE]             list built-in names with their limits\n"
    "  describe NAME             one name: description, limits, examples\n"
    "  catalog check FILE [NAME] check a format catalogue (and one name)\n"
    "  examples                  run the built-in examples (with\n"
    "                            --catalog, also user-defined ones)\n"
    "\n"
    "FORMAT is written as hosts write it: DATE9.  F8.2  $CHAR10.  BEST.\n"
    "Names may be given in any case.  The width defaults to the format's\n"
    "default width; w and d must lie within the limits that describe\n"
    "shows.  '@DATE9.' or --informat selects an informat.  Numeric\n"
    "values accept the missing notations . ._ .A .. .Z.  Values on the\n"
    "command line are UTF-8; lines of stream reach the library as the\n"
    "bytes they are.\n"
    "\n"
    "options:\n"
    "  --encoding narrow|utf8|ucs2   encoding asked of the library; every\n"
    "                                result is shown as UTF-8 (narrow\n"
    "                                results read as Windows-1252)\n"
    "  --locale NAME|ID              locale for the locale formats: a name\n"
    "                                such as en_US, or a record number\n"
    "  --catalog FILE                XML format catalogue for user formats\n"
    "  --informat                    FORMAT names an informat\n"
    "  --show FORMAT                 input: render each value read with\n"
    "                                FORMAT (input --show DATE9. YYMMDD10.\n"
    "                                2022-12-21 prints 21DEC2022)\n"
    "  --hex                         also print the result bytes in hex;\n"
    "                                binary informats (PD, IB, S370FPD ...)\n"
    "                                read their TEXT as hex bytes\n"
    "  --quiet                       no warnings on standard error\n"
    "  --strict                      any warning fails the run (status 1)\n"
    "  --progress, --no-progress     force or suppress the progress line\n"
    "                                (shown by default when standard error\n"
    "                                is a terminal and the run takes > 1 s)\n"
    "column mode (stream --csv):\n"
    "  --col N=FORMAT                column N (from 1) with FORMAT, or\n"
    "                                N=@INFORMAT; repeat for more columns\n"
    "  --header                      the first row is copied unchanged\n"
    "  --delimiter C                 cell delimiter (default ,; 'tab')\n"
    "  --trim                        drop the blanks that pad a result\n"
    "  --empty-as-missing            an empty cell is a missing value\n"
    "  --bad-as-empty                a cell that fails is written empty\n"
    "                                (else it keeps its original text)\n"
    "list:\n"
    "  --built                       only names that run\n"
    "  --markdown                    a Markdown table\n"
    "\n"
    "  -h, --help                    this text\n"
    "  --version                     the tool's version\n"
    "  --                            end of options (values may then\n"
    "                                begin with '-')\n"
    "\n"
    "exit status:\n"
    "  0  done (warnings, if any, were shown on standard error)\n"
    "  1  a value or cell failed, an output error, or --strict and a\n"
    "     warning; catalog check found errors\n"
    "  2  bad command line, unknown or unbuilt name, unreadable file\n";

namespace {

constexpr std::size_t kMaxWidthDigits = 5;
constexpr std::size_t kMaxDecimalsDigits = 2;
constexpr std::size_t kMaxNameLength = 32;

bool read_file(const std::string &path, std::string *text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *text = ss.str();
  return true;
}

int usage_error(const char *fmt, const std::string &what) {
  std::fprintf(stderr, fmt, what.c_str());
  return kExitUsage;
}

int set_encoding(const std::string &e, Options *opt) {
  if (e == "narrow")
    opt->reqenc = VF_ENC_NARROW;
  else if (e == "utf8")
    opt->reqenc = VF_ENC_UTF8;
  else if (e == "ucs2")
    opt->reqenc = VF_ENC_UCS2;
  else
    return usage_error("valfmt: --encoding %s: expected narrow, utf8 or "
                       "ucs2\n",
                       e);
  return kGoOn;
}

int set_locale(const std::string &l, Options *opt) {
  std::string message;
  if (!resolve_locale(l, &opt->localeid, &message)) {
    std::fprintf(stderr, "valfmt: --locale %s: %s\n", l.c_str(),
                 message.c_str());
    return kExitUsage;
  }
  return kGoOn;
}

int load_catalog(const std::string &path, Options *opt) {
  if (!read_file(path, &opt->catalog_text)) {
    std::fprintf(stderr, "valfmt: %s: cannot read the catalogue: %s\n",
                 path.c_str(), std::strerror(errno));
    return kExitUsage;
  }
  opt->catalog_path = path;
  opt->has_catalog = true;
  return kGoOn;
}

int set_show(const std::string &f, Options *opt) {
  if (f.empty()) return usage_error("valfmt: --show needs a format%s\n", "");
  opt->show = f;
  return kGoOn;
}

// "2=F12.2", "3=@DATE9."
int add_column(const std::string &arg, Options *opt) {
  const std::size_t eq = arg.find('=');
  ColumnFormat c;
  if (eq != std::string::npos && eq > 0 && eq <= 9) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < eq; ++i)
      n = arg[i] >= '0' && arg[i] <= '9' && n < 100000000
              ? n * 10 + static_cast<std::size_t>(arg[i] - '0')
              : 0;
    c.column = n;
  }
  if (c.column == 0 || eq + 1 >= arg.size())
    return usage_error("valfmt: --col %s: expected N=FORMAT with N from 1\n",
                       arg);
  c.format = arg.substr(eq + 1);
  for (const ColumnFormat &o : opt->columns)
    if (o.column == c.column)
      return usage_error("valfmt: --col %s: column given twice\n", arg);
  opt->columns.push_back(c);
  opt->csv = true;
  return kGoOn;
}

int set_delimiter(const std::string &d, Options *opt) {
  if (d == "tab" || d == "\\t" || d == "\t") {
    opt->delimiter = '\t';
  } else if (d.size() == 1 && d[0] != '"' && d[0] != '\r' && d[0] != '\n') {
    opt->delimiter = d[0];
  } else {
    return usage_error("valfmt: --delimiter %s: give one character (not a "
                       "quote or line end) or 'tab'\n",
                       d);
  }
  return kGoOn;
}

// Options with a value.  A new option is one row here (and a line of the
// usage text).
struct ValueOption {
  const char *name;
  int (*apply)(const std::string &, Options *);
};
constexpr ValueOption kValueOptions[] = {
    {"--encoding", set_encoding}, {"--locale", set_locale},
    {"--catalog", load_catalog},  {"--show", set_show},
    {"--col", add_column},        {"--delimiter", set_delimiter},
};

// Options without a value: the flag they set.
struct FlagOption {
  const char *name;
  void (*apply)(Options *);
};
constexpr FlagOption kFlagOptions[] = {
    {"--informat", [](Options *o) { o->informat = true; }},
    {"--hex", [](Options *o) { o->hex = true; }},
    {"--iso", [](Options *o) { o->iso = true; }},
    {"--quiet", [](Options *o) { o->quiet = true; }},
    {"--strict", [](Options *o) { o->strict = true; }},
    {"--progress", [](Options *o) { o->progress = Progress::kOn; }},
    {"--no-progress", [](Options *o) { o->progress = Progress::kOff; }},
    {"--csv", [](Options *o) { o->csv = true; }},
    {"--header", [](Options *o) { o->header = true; }},
    {"--trim", [](Options *o) { o->trim = true; }},
    {"--empty-as-missing", [](Options *o) { o->empty_as_missing = true; }},
    {"--bad-as-empty", [](Options *o) { o->bad_as_empty = true; }},
    {"--built", [](Options *o) { o->built_only = true; }},
    {"--markdown", [](Options *o) { o->markdown = true; }},
};

int show_help_or_version(const std::string &a) {
  if (a == "--version") {
    std::printf("valfmt %s\n", VALFMT_VERSION);
    return kExitOk;
  }
  std::fputs(kUsage, stdout);
  return kExitOk;
}

// One option at argv[*i] (advancing *i past its value); kGoOn or an exit
// code.  Anything that is not an option is an argument; "--name=value"
// is the same as "--name value".
int parse_option(int argc, char **argv, int *i, CommandLine *line) {
  std::string a = argv[*i];
  if (a == "-h" || a == "--help" || a == "--version")
    return show_help_or_version(a);
  if (a.size() < 3 || a[0] != '-' || a[1] != '-') {
    line->args.push_back(a);
    return kGoOn;
  }
  std::string value;
  bool has_value = false;
  if (const std::size_t eq = a.find('='); eq != std::string::npos) {
    value = a.substr(eq + 1);
    a.resize(eq);
    has_value = true;
  }
  for (const ValueOption &o : kValueOptions) {
    if (a != o.name) continue;
    if (!has_value) {
      if (*i + 1 >= argc) return usage_error("valfmt: %s needs a value\n", a);
      value = argv[++*i];
    }
    return o.apply(value, &line->options);
  }
  for (const FlagOption &o : kFlagOptions) {
    if (a != o.name) continue;
    if (has_value) return usage_error("valfmt: %s takes no value\n", a);
    o.apply(&line->options);
    return kGoOn;
  }
  return usage_error("valfmt: unknown option %s (see valfmt --help)\n", a);
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

// Takes "w.d" (either part optional) off the end of `s` into `ref`.
bool split_width_and_decimals(std::string *s, FormatRef *ref) {
  const std::size_t dot = s->rfind('.');
  if (dot == std::string::npos) return true;
  const std::string dec = s->substr(dot + 1);
  std::size_t p = dot;
  while (p > 0 && (*s)[p - 1] >= '0' && (*s)[p - 1] <= '9') --p;
  if (p == 0) return false;
  if (p < dot &&
      (ref->w = small_number(s->substr(p, dot - p), kMaxWidthDigits)) < 0)
    return false;
  if (!dec.empty() && (ref->d = small_number(dec, kMaxDecimalsDigits)) < 0)
    return false;
  *s = s->substr(0, p);
  return true;
}

} // namespace

int parse_command_line(int argc, char **argv, CommandLine *line) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  line->command = argv[1];
  const std::string &cmd = line->command;
  if (cmd == "-h" || cmd == "--help" || cmd == "help" || cmd == "--version")
    return show_help_or_version(cmd);
  bool options_done = false;
  for (int i = 2; i < argc; ++i) {
    if (options_done) {
      line->args.push_back(argv[i]);
    } else if (std::strcmp(argv[i], "--") == 0) {
      options_done = true;
    } else if (const int rc = parse_option(argc, argv, &i, line); rc != kGoOn) {
      return rc;
    }
  }
  return kGoOn;
}

bool parse_format_ref(const std::string &text, bool informat, FormatRef *ref) {
  std::string s = text;
  ref->informat = informat;
  if (!s.empty() && s[0] == '@') {
    ref->informat = true;
    s.erase(0, 1);
  }
  if (!split_width_and_decimals(&s, ref)) return false;
  if (s.empty() || s.size() > kMaxNameLength) return false;
  for (char &c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  ref->name = s;
  return true;
}

const fmtcontext *catalogue_context(const Options &opt, fmtcontext *ctx,
                                    fmtinmemory *mem) {
  if (!opt.has_catalog) return nullptr;
  std::memcpy(mem->marker, "INMEMORY", 8);
  mem->text = opt.catalog_text.data();
  mem->length = static_cast<int32_t>(opt.catalog_text.size());
  ctx->inmemory = mem;
  return ctx;
}

} // namespace valfmt_tool
