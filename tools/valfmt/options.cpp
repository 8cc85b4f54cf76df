// Option parsing of the valfmt tool and format references.
#include "options.h"

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
    "  --show FORMAT                 input: render each value read with\n"
    "                                FORMAT (input --show DATE9. YYMMDD10.\n"
    "                                2022-12-21 prints 21DEC2022)\n"
    "  --hex                         also print the result bytes in hex;\n"
    "                                binary informats (PD, IB, S370FPD ...)\n"
    "                                read their TEXT as hex bytes\n"
    "  -h, --help                    this text\n"
    "  --                            end of options (values may then\n"
    "                                begin with '-')\n";

namespace {

constexpr int kGoOn = -1;
constexpr int kUsageError = 2;
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

int parse_encoding(const std::string &e, Options *opt) {
  if (e == "narrow")
    opt->reqenc = VF_ENC_NARROW;
  else if (e == "utf8")
    opt->reqenc = VF_ENC_UTF8;
  else if (e == "ucs2")
    opt->reqenc = VF_ENC_UCS2;
  else {
    std::fprintf(stderr, "valfmt: --encoding: expected narrow, utf8 or ucs2\n");
    return kUsageError;
  }
  return kGoOn;
}

int parse_locale(const std::string &l, Options *opt) {
  char *end = nullptr;
  const long id = std::strtol(l.c_str(), &end, 10);
  if (end == l.c_str() || *end != '\0') {
    std::fprintf(stderr, "valfmt: --locale: give a locale record number "
                         "(1..133); locale names arrive with the locale "
                         "database\n");
    return kUsageError;
  }
  opt->localeid = static_cast<int32_t>(id);
  return kGoOn;
}

int load_catalog(const std::string &path, Options *opt) {
  if (!read_file(path, &opt->catalog_text)) {
    std::fprintf(stderr, "valfmt: %s: cannot read the catalogue: %s\n",
                 path.c_str(), std::strerror(errno));
    return kUsageError;
  }
  opt->has_catalog = true;
  return kGoOn;
}

// The value of an option that takes one; a missing value ends the tool.
std::string option_value(int argc, char **argv, int *i, const char *what) {
  if (*i + 1 >= argc) {
    std::fprintf(stderr, "valfmt: %s needs a value\n", what);
    std::exit(kUsageError);
  }
  return argv[++*i];
}

// One option at argv[*i] (advancing *i past its value); kGoOn or an exit
// code.  Anything that is not an option is an argument.
int parse_option(int argc, char **argv, int *i, CommandLine *line) {
  const std::string a = argv[*i];
  Options *opt = &line->options;
  if (a == "-h" || a == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (a == "--encoding")
    return parse_encoding(option_value(argc, argv, i, "--encoding"), opt);
  if (a == "--locale")
    return parse_locale(option_value(argc, argv, i, "--locale"), opt);
  if (a == "--catalog")
    return load_catalog(option_value(argc, argv, i, "--catalog"), opt);
  if (a == "--show") {
    opt->show = option_value(argc, argv, i, "--show");
    if (opt->show.empty()) {
      std::fprintf(stderr, "valfmt: --show needs a format name\n");
      return kUsageError;
    }
    return kGoOn;
  }
  if (a == "--informat") {
    opt->informat = true;
  } else if (a == "--hex") {
    opt->hex = true;
  } else if (a.size() > 2 && a[0] == '-' && a[1] == '-') {
    std::fprintf(stderr, "valfmt: unknown option %s (see valfmt --help)\n",
                 a.c_str());
    return kUsageError;
  } else {
    line->args.push_back(a);
  }
  return kGoOn;
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
    return kUsageError;
  }
  line->command = argv[1];
  const std::string &cmd = line->command;
  if (cmd == "-h" || cmd == "--help" || cmd == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
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
