// The put, input, stream, list and describe commands.
#include "commands.h"

#include <cstdio>
#include <iostream>

#include "session.h"

namespace valfmt_tool {
namespace {

constexpr int kValueFailed = 1;
constexpr int kUsageError = 2;

std::string table_name(const char *name, uint32_t len) {
  return std::string(name, len);
}

std::string upper_case(std::string s) {
  for (char &c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// Applies the session's format to one value and prints the line; false
// (after the error on stderr) when the value failed.
bool apply_and_print(Session &s, const std::string &fmt,
                     const std::string &value) {
  std::string shown;
  const int32_t st = s.apply(value, &shown);
  if (st != VF_OK && st != VF_WARN) {
    print_status(st == kNotANumber || st == kNotHex ? value : fmt + " " + value,
                 st);
    return false;
  }
  std::printf("%s\n", shown.c_str());
  return true;
}

void print_module(const fmtmodule_row &m) {
  const fmtinfo *info = m.entry();
  std::printf("%s (%u names)\n", m.name, info->count);
  std::printf("  %-16s %5s %5s %5s %5s  %s\n", "name", "minw", "maxw", "defw",
              "maxd", "built");
  for (uint32_t i = 0; i < info->count; ++i) {
    const fmtinfo_eachfmt &d = info->first[i];
    std::printf("  %-16s %5u %5u %5u %5u  %s\n",
                table_name(d.name, d.namelen).c_str(), d.minw, d.maxw, d.defw,
                d.maxd, d.fn ? "yes" : "no");
  }
}

void describe_user_format(const FormatRef &ref, char kind, const fmtattr &a) {
  std::printf("name:     %s\n", ref.name.c_str());
  std::printf("kind:     user-defined %s format\n",
              kind == '+' ? "character" : "numeric");
  std::printf("width:    %u..%u, default %u\n", a.minw, a.maxw, a.defw);
}

void describe_builtin(const FormatRef &ref, const fmthandle *h,
                      const fmtattr &a) {
  const char k = h->modname[0];
  std::printf("name:     %s\n",
              table_name(h->desc.name, h->desc.namelen).c_str());
  std::printf("kind:     %s\n", k == 'J' ? (ref.informat ? "built-in informat"
                                                         : "built-in format")
                                         : "pseudo-format");
  if (k == 'J') std::printf("module:   %s\n", h->modname);
  std::printf("width:    %u..%u, default %u\n", a.minw, a.maxw, a.defw);
  std::printf("decimals: 0..%u\n", a.maxd);
  std::printf("flags:    %u %u\n", a.flag1, a.flag2);
  std::printf("aux:      %u\n", a.aux_lo | (a.aux_hi << 16));
  std::printf("built:    %s\n", h->desc.fn ? "yes" : "no");
}

// input --show FORMAT: each text read with the informat, the value then
// rendered with FORMAT.
int run_shown(const Options &opt, const std::string &fmt,
              const std::vector<std::string> &values) {
  Session reader(opt);
  if (!reader.resolve(fmt)) return kUsageError;
  if (!reader.numeric_informat()) {
    std::fprintf(stderr, "valfmt: %s: --show needs a numeric informat\n",
                 fmt.c_str());
    return kUsageError;
  }
  Options shown_opt = opt;
  shown_opt.informat = false;
  Session shower(shown_opt);
  if (!shower.resolve(opt.show)) return kUsageError;
  if (shower.numeric_informat() || opt.show[0] == '$') {
    std::fprintf(stderr, "valfmt: %s: --show needs a numeric format\n",
                 opt.show.c_str());
    return kUsageError;
  }
  int rc = 0;
  for (const std::string &v : values) {
    std::string text;
    double stored = 0;
    int32_t st = reader.apply(v, &text, &stored);
    if (st != VF_OK && st != VF_WARN) {
      print_status(st == kNotHex ? v : fmt + " " + v, st);
      rc = kValueFailed;
      continue;
    }
    st = shower.render(stored, &text);
    if (st != VF_OK && st != VF_WARN) {
      print_status(opt.show + " " + v, st);
      rc = kValueFailed;
      continue;
    }
    std::printf("%s\n", text.c_str());
  }
  return rc;
}

} // namespace

int run_values(const Options &opt, const std::string &fmt,
               const std::vector<std::string> &values) {
  if (!opt.show.empty()) return run_shown(opt, fmt, values);
  Session s(opt);
  if (!s.resolve(fmt)) return kUsageError;
  int rc = 0;
  for (const std::string &v : values)
    if (!apply_and_print(s, fmt, v)) rc = kValueFailed;
  return rc;
}

int run_stream(const Options &opt, const std::string &fmt) {
  Session s(opt);
  if (!s.resolve(fmt)) return kUsageError;
  int rc = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!apply_and_print(s, fmt, line)) {
      std::printf("\n"); // one output line per input line
      rc = kValueFailed;
    }
  }
  return rc;
}

int run_list(const std::vector<std::string> &args) {
  const std::string wanted = args.empty() ? std::string() : upper_case(args[0]);
  bool any = false;
  for (const fmtmodule_row &m : names_and_entries) {
    if (!args.empty() && wanted != m.name) continue;
    any = true;
    print_module(m);
  }
  if (!any) {
    std::fprintf(stderr,
                 "valfmt: %s: no such module (modules: JAZWFBIN "
                 "JAZWFDTE JAZWFMSC JAZWFNLS JAZWFTME JAZWFUWF "
                 "JAZWIBIN JAZWIDTE JAZWIMSC JAZWIUWI)\n",
                 args[0].c_str());
    return kUsageError;
  }
  return 0;
}

int run_describe(const Options &opt, const std::string &text) {
  FormatRef ref;
  if (!parse_format_ref(text, opt.informat, &ref)) {
    std::fprintf(stderr, "valfmt: %s: not a name\n", text.c_str());
    return kUsageError;
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
    print_status(text, st);
    return kUsageError;
  }
  const char k = h->modname[0];
  if (k == '-' || k == '+')
    describe_user_format(ref, k, a);
  else
    describe_builtin(ref, h, a);
  xfdel(h);
  return 0;
}

} // namespace valfmt_tool
