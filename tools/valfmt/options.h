// Command-line options of the valfmt tool and format references as hosts
// write them (DATE9.  F8.2  $CHAR10.  @DATE9.).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "valfmt.h"

namespace valfmt_tool {

extern const char kUsage[];

struct Options {
  uint32_t reqenc = VF_ENC_NARROW;
  int32_t localeid = 0;
  bool informat = false;
  bool hex = false;
  // input --show FORMAT: the format that re-renders each value read.
  std::string show;
  std::string catalog_text;
  bool has_catalog = false;
};

// A command line split into its command, options and arguments.
struct CommandLine {
  std::string command;
  Options options;
  std::vector<std::string> args;
};

// Parses argv[2..] into `line`.  Returns -1 to go on, or the exit code when
// the tool is done (help shown, or an error reported on stderr).
int parse_command_line(int argc, char **argv, CommandLine *line);

struct FormatRef {
  std::string name;
  int32_t w = -1; // -1: descriptor default
  int32_t d = 0;
  bool informat = false;
};

// "DATE9." -> DATE, 9, 0; "F8.2" -> F, 8, 2; "$CHAR." -> $CHAR, default.
// Names are upper-cased the way hosts do before they look a format up.
bool parse_format_ref(const std::string &text, bool informat, FormatRef *ref);

// The in-memory catalogue context for the --catalog text, when one was
// given; null otherwise.  `ctx` and `mem` must outlive its use.
const fmtcontext *catalogue_context(const Options &opt, fmtcontext *ctx,
                                    fmtinmemory *mem);

} // namespace valfmt_tool
