// The put and input commands: values from the command line.
#include "commands.h"

#include <cstdio>

#include "output.h"
#include "report.h"
#include "session.h"

namespace valfmt_tool {
namespace {

// Prints one result line, or reports why there is none.
void print_result(const Result &r, const std::string &fmt,
                  const std::string &value, bool informat, Output &out,
                  Reporter &rep) {
  if (!r.usable) {
    out.flush();
    rep.fail("", failure_text(fmt, value, r.status, informat));
    return;
  }
  out.put(r.shown);
  out.put('\n');
  if (!r.warning.empty()) {
    out.flush();
    rep.warn("", r.warning);
  }
}

int finish(Output &out, const Reporter &rep) {
  if (!out.flush()) {
    std::fprintf(stderr, "valfmt: cannot write the output: %s\n",
                 out.error().c_str());
    return kExitFailed;
  }
  return rep.exit_code();
}

// input --show FORMAT: each text read with the informat, the value then
// rendered with FORMAT.
int run_shown(const Options &opt, const std::string &fmt,
              const std::vector<std::string> &values) {
  Session reader(opt);
  if (!reader.resolve(fmt)) return kExitUsage;
  if (!reader.numeric_informat()) {
    std::fprintf(stderr, "valfmt: %s: --show needs a numeric informat\n",
                 fmt.c_str());
    return kExitUsage;
  }
  Options shown_opt = opt;
  shown_opt.informat = false;
  Session shower(shown_opt);
  if (!shower.resolve(opt.show)) return kExitUsage;
  if (!shower.numeric_format()) {
    std::fprintf(stderr, "valfmt: %s: --show needs a numeric format\n",
                 opt.show.c_str());
    return kExitUsage;
  }
  Output out;
  Reporter rep(opt.quiet, opt.strict);
  for (const std::string &v : values) {
    const Result read = reader.apply(v, ValueText::kTerminal);
    if (!read.usable) {
      print_result(read, fmt, v, true, out, rep);
      continue;
    }
    if (!read.warning.empty()) rep.warn("", read.warning);
    Result shown;
    shown.status = shower.render(read.stored, &shown.shown);
    shown.usable = shown.status == VF_OK || shown.status == VF_WARN;
    print_result(shown, opt.show, v, false, out, rep);
  }
  return finish(out, rep);
}

} // namespace

int run_values(const Options &opt, const std::string &fmt,
               const std::vector<std::string> &values) {
  if (!opt.show.empty()) return run_shown(opt, fmt, values);
  Session s(opt);
  if (!s.resolve(fmt)) return kExitUsage;
  Output out;
  Reporter rep(opt.quiet, opt.strict);
  for (const std::string &v : values)
    print_result(s.apply(v, ValueText::kTerminal), fmt, v, s.informat(), out,
                 rep);
  return finish(out, rep);
}

} // namespace valfmt_tool
