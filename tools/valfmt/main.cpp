// valfmt: the command-line host of the value-format library.
//
//   valfmt put [options] FORMAT VALUE...      render values
//   valfmt input [options] INFORMAT TEXT...   read texts into values
//                                             (--show FORMAT re-renders them)
//   valfmt input --iso TEXT...                ISO 8601 points, durations and
//                                             intervals
//   valfmt stream [options] FORMAT [FILE]     render each line
//   valfmt stream --csv --col N=FORMAT [FILE] column mode
//   valfmt catalog check FILE [NAME]          check a format catalogue
//   valfmt list [MODULE]                      every built-in name and limits
//   valfmt describe NAME                      one name in detail
//   valfmt examples [--catalog FILE]          the built-in examples
//
// Formats are written as hosts write them: DATE9.  F8.2  $CHAR10.  BEST.
// A leading '@' (or --informat) asks for an informat.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "iso_input.h"
#include "options.h"

namespace {

// input --iso TEXT...: the ISO 8601 readers, one line per text.
int run_iso(const valfmt_tool::CommandLine &line) {
  if (line.args.empty()) {
    std::fprintf(stderr, "valfmt input --iso: give at least one TEXT\n");
    return valfmt_tool::kExitUsage;
  }
  int rc = valfmt_tool::kExitOk;
  for (const std::string &text : line.args)
    if (valfmt_tool::iso_input(text, stdout, stderr) != 0)
      rc = valfmt_tool::kExitFailed;
  return rc;
}

int run_put_or_input(valfmt_tool::CommandLine &line) {
  const std::string &cmd = line.command;
  if (cmd == "input" && line.options.iso) return run_iso(line);
  if (cmd == "input") line.options.informat = true;
  if (line.args.size() < 2) {
    std::fprintf(stderr, "valfmt %s: give a%s and at least one value\n",
                 cmd.c_str(), cmd == "put" ? " FORMAT" : "n INFORMAT");
    return valfmt_tool::kExitUsage;
  }
  return valfmt_tool::run_values(
      line.options, line.args[0],
      std::vector<std::string>(line.args.begin() + 1, line.args.end()));
}

// A command that takes exactly one argument.
int run_single(const valfmt_tool::CommandLine &line, const char *what,
               int (*command)(const valfmt_tool::Options &,
                              const std::string &)) {
  if (line.args.size() != 1) {
    std::fprintf(stderr, "valfmt %s: give exactly one %s\n",
                 line.command.c_str(), what);
    return valfmt_tool::kExitUsage;
  }
  return command(line.options, line.args[0]);
}

} // namespace

int main(int argc, char **argv) {
  valfmt_tool::CommandLine line;
  if (const int rc = valfmt_tool::parse_command_line(argc, argv, &line);
      rc != valfmt_tool::kGoOn)
    return rc;
  const std::string &cmd = line.command;
  const valfmt_tool::Options &o = line.options;
  if (cmd != "input" && !o.show.empty()) {
    std::fprintf(stderr, "valfmt %s: --show goes with input\n", cmd.c_str());
    return valfmt_tool::kExitUsage;
  }
  if (o.iso && (cmd != "input" || !o.show.empty() || o.hex)) {
    std::fprintf(stderr, "valfmt %s: --iso goes with input alone\n",
                 cmd.c_str());
    return valfmt_tool::kExitUsage;
  }
  if (cmd != "stream" && (o.csv || !o.columns.empty())) {
    std::fprintf(stderr, "valfmt %s: --csv and --col go with stream\n",
                 cmd.c_str());
    return valfmt_tool::kExitUsage;
  }
  if (cmd == "put" || cmd == "input") return run_put_or_input(line);
  if (cmd == "stream") return valfmt_tool::run_stream(o, line.args);
  if (cmd == "list") return valfmt_tool::run_list(o, line.args);
  if (cmd == "describe")
    return run_single(line, "NAME", valfmt_tool::run_describe);
  if (cmd == "catalog") return valfmt_tool::run_catalog(o, line.args);
  if (cmd == "examples") return valfmt_tool::run_examples(o);
  std::fprintf(stderr, "valfmt: unknown command %s (see valfmt --help)\n",
               cmd.c_str());
  return valfmt_tool::kExitUsage;
}
