// The list and describe commands: the built-in names, their families and
// limits, whether they run, and an example of each rendered by the library.
//
// An example of a format is the family's sample value rendered at the
// default width.  An informat's example reads back the text that the
// format of the same name (without '@') renders from that sample value, at
// the informat's width for that text; names without such a format show
// none.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "names.h"
#include "session.h"

namespace valfmt_tool {
namespace {

// The three pseudo-formats; they are not in the module tables.
constexpr const char *kPseudoFormats[] = {"$IS-INTRINSIC", "INTRINSIC-CRDATE",
                                          "_C_R_A_S_H_"};
constexpr const char *kPseudoMeaning[] = {
    "YES when its text names a built-in format, else NO",
    "the date and time the library was built",
    "writes the single character X (a host's crash probe)"};

struct NameRow {
  std::string module;
  std::string name;
  const fmtinfo_eachfmt *d;
};

std::string table_name(const fmtinfo_eachfmt &d) {
  return std::string(d.name, d.namelen);
}

std::string upper_case(std::string s) {
  for (char &c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

bool is_separator(const std::string &name) {
  return name.rfind("---", 0) == 0;
}

// `fmt` applied to `value`, padding blanks and all; "" when it fails.
std::string render(const std::string &fmt, const std::string &value,
                   bool informat) {
  Options quiet;
  quiet.quiet = true;
  quiet.informat = informat;
  FormatRef ref;
  if (!parse_format_ref(fmt, informat, &ref)) return std::string();
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  fmtattr a{};
  if (xfname3(ref.name.data(), static_cast<int32_t>(ref.name.size()),
              informat ? VF_KIND_INFORMAT : 'F', &a, &h, nullptr) != VF_OK)
    return std::string(); // no such name: no example, and no message
  const bool runs = h->desc.fn != nullptr || h->modname[0] != 'J';
  xfdel(h);
  if (!runs) return std::string();
  Session s(quiet);
  if (!s.resolve(fmt)) return std::string();
  const Result r = s.apply(value, ValueText::kTerminal);
  return r.usable ? r.shown : std::string();
}

// The example of one built-in name, "" when it has none.
std::string example_of(const NameRow &row) {
  if (row.d->fn == nullptr) return std::string();
  const bool informat = row.name[0] == '@';
  const std::string base = informat ? row.name.substr(1) : row.name;
  const std::string value = sample_value(row.module, base);
  if (!informat)
    return render(row.name + std::to_string(row.d->defw) + ".", value, false);
  const std::string text = render(base + ".", value, false);
  if (text.empty()) return std::string();
  const std::string start = text.find_first_not_of(' ') == std::string::npos
                                ? text
                                : text.substr(text.find_first_not_of(' '));
  const std::string read = render(row.name + ".", start, true);
  return read.empty() ? std::string() : "\"" + start + "\" -> " + read;
}

std::vector<NameRow> rows_of(const std::string &module, bool built_only) {
  std::vector<NameRow> rows;
  for (const fmtmodule_row &m : names_and_entries) {
    if (!module.empty() && module != m.name) continue;
    const fmtinfo *info = m.entry();
    for (uint32_t i = 0; i < info->count; ++i) {
      const fmtinfo_eachfmt &d = info->first[i];
      const std::string name = table_name(d);
      if (is_separator(name) || (built_only && d.fn == nullptr)) continue;
      rows.push_back({m.name, name, &d});
    }
  }
  return rows;
}

std::string markdown_cell(const std::string &s) {
  std::string out;
  for (char c : s) {
    if (c == '|') out += '\\';
    if (c == ' ')
      out += "\u00B7"; // padding blanks made visible
    else
      out += c;
  }
  return out;
}

void print_markdown(const std::vector<NameRow> &rows, bool with_pseudo) {
  std::printf("| name | family | module | width | default | decimals | runs "
              "| example |\n|---|---|---|---|---|---|---|---|\n");
  for (const NameRow &r : rows) {
    const std::string ex = example_of(r);
    std::printf("| `%s` | %s | %s | %u-%u | %u | %u | %s | %s |\n",
                r.name.c_str(), name_family(r.module, r.name).c_str(),
                r.module.c_str(), r.d->minw, r.d->maxw, r.d->defw, r.d->maxd,
                r.d->fn ? "yes" : "no",
                ex.empty() ? "" : ("`" + markdown_cell(ex) + "`").c_str());
  }
  if (!with_pseudo) return;
  for (std::size_t i = 0; i < std::size(kPseudoFormats); ++i)
    std::printf("| `%s` | pseudo-format: %s | | | | | yes | |\n",
                kPseudoFormats[i], kPseudoMeaning[i]);
}

void print_text(const std::vector<NameRow> &rows, bool with_pseudo) {
  std::string module;
  for (const NameRow &r : rows) {
    if (r.module != module) {
      module = r.module;
      std::size_t count = 0;
      for (const NameRow &o : rows) count += o.module == module;
      std::printf("%s  %s (%zu names)\n  %-16s %5s %5s %5s %5s  %s\n",
                  module.c_str(), module_family(module), count, "name", "minw",
                  "maxw", "defw", "maxd", "built");
    }
    std::printf("  %-16s %5u %5u %5u %5u  %s\n", r.name.c_str(), r.d->minw,
                r.d->maxw, r.d->defw, r.d->maxd, r.d->fn ? "yes" : "no");
  }
  if (!with_pseudo) return;
  std::printf("pseudo-formats\n");
  for (std::size_t i = 0; i < std::size(kPseudoFormats); ++i)
    std::printf("  %-16s %s\n", kPseudoFormats[i], kPseudoMeaning[i]);
}

void describe_user_format(const FormatRef &ref, char kind, const fmtattr &a) {
  std::printf("name:     %s\n", ref.name.c_str());
  std::printf("kind:     user-defined %s format\n",
              kind == '+' ? "character" : "numeric");
  std::printf("width:    %u..%u, default %u\n", a.minw, a.maxw, a.defw);
}

void print_example(const std::string &fmt, const std::string &value,
                   bool informat) {
  const std::string shown = render(fmt, value, informat);
  if (!shown.empty())
    std::printf("example:  %s \"%s\" -> \"%s\"\n", fmt.c_str(), value.c_str(),
                shown.c_str());
}

void describe_builtin(const FormatRef &ref, const fmthandle *h,
                      const fmtattr &a) {
  const std::string name(h->desc.name, h->desc.namelen);
  const std::string module = h->modname;
  const bool pseudo = h->modname[0] != 'J';
  std::printf("name:     %s\n", name.c_str());
  if (pseudo) {
    for (std::size_t i = 0; i < std::size(kPseudoFormats); ++i)
      if (name == kPseudoFormats[i])
        std::printf("about:    pseudo-format: %s\n", kPseudoMeaning[i]);
  } else {
    const std::string base = ref.informat ? name.substr(1) : name;
    std::printf(
        "about:    one of the %s; %s %s\n", name_family(module, name).c_str(),
        ref.informat ? "reads text into" : "shows",
        ref.informat && base[0] == '$' ? "character text"
                                       : sample_meaning(module, base).c_str());
  }
  std::printf("kind:     %s\n", pseudo ? "pseudo-format"
                                       : (ref.informat ? "built-in informat"
                                                       : "built-in format"));
  if (!pseudo) std::printf("module:   %s\n", h->modname);
  std::printf("width:    %u..%u, default %u\n", a.minw, a.maxw, a.defw);
  std::printf("decimals: 0..%u\n", a.maxd);
  std::printf("flags:    %u %u\n", a.flag1, a.flag2);
  std::printf("aux:      %u\n", a.aux_lo | (a.aux_hi << 16));
  std::printf("built:    %s\n", h->desc.fn ? "yes" : "no");
  if (pseudo || h->desc.fn == nullptr) return;
  const NameRow row{module, name, &h->desc};
  if (ref.informat) {
    const std::string ex = example_of(row);
    if (!ex.empty())
      std::printf("example:  %s. %s\n", name.c_str(), ex.c_str());
    return;
  }
  const std::string value = sample_value(module, name);
  print_example(name + std::to_string(a.defw) + ".", value, false);
  if (a.maxw > a.defw)
    print_example(
        name + std::to_string(a.maxw < a.defw + 4 ? a.maxw : a.defw + 4) + ".",
        value, false);
}

} // namespace

int run_describe(const Options &opt, const std::string &text) {
  FormatRef ref;
  if (!parse_format_ref(text, opt.informat, &ref)) {
    std::fprintf(stderr, "valfmt: %s: not a name\n", text.c_str());
    return kExitUsage;
  }
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  fmtattr a{};
  fmtcontext ctx{};
  fmtinmemory mem{};
  const int32_t st =
      xfname3(ref.name.data(), static_cast<int32_t>(ref.name.size()),
              ref.informat ? VF_KIND_INFORMAT : 'F', &a, &h,
              catalogue_context(opt, &ctx, &mem));
  if (st != VF_OK) {
    print_status(text, st, ref.informat);
    return kExitUsage;
  }
  const char k = h->modname[0];
  if (k == '-' || k == '+')
    describe_user_format(ref, k, a);
  else
    describe_builtin(ref, h, a);
  xfdel(h);
  return kExitOk;
}

int run_list(const Options &opt, const std::vector<std::string> &args) {
  const std::string wanted = args.empty() ? std::string() : upper_case(args[0]);
  const std::vector<NameRow> rows = rows_of(wanted, opt.built_only);
  if (rows.empty() && !wanted.empty() && *module_family(wanted) == '\0') {
    std::fprintf(stderr,
                 "valfmt: %s: no such module (modules: JAZWFBIN "
                 "JAZWFDTE JAZWFMSC JAZWFNLS JAZWFTME JAZWFUWF "
                 "JAZWIBIN JAZWIDTE JAZWIMSC JAZWIUWI)\n",
                 args[0].c_str());
    return kExitUsage;
  }
  if (opt.markdown)
    print_markdown(rows, wanted.empty());
  else
    print_text(rows, wanted.empty());
  return kExitOk;
}

} // namespace valfmt_tool
