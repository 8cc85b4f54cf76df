// Command-line options of the valfmt tool and format references as hosts
// write them (DATE9.  F8.2  $CHAR10.  @DATE9.).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "valfmt.h"

namespace valfmt_tool {

extern const char kUsage[];

// Exit statuses, shared by every command.
inline constexpr int kExitOk = 0;     // done; warnings may have been shown
inline constexpr int kExitFailed = 1; // a value failed (or, --strict, warned)
inline constexpr int kExitUsage = 2;  // bad command line, unknown name
inline constexpr int kGoOn = -1;      // option parsed, keep going

enum class Progress { kAuto, kOn, kOff };

// One --col N=FORMAT of column mode.
struct ColumnFormat {
  std::size_t column = 0; // 1-based
  std::string format;     // "F12.2", "@DATE9."
};

struct Options {
  uint32_t reqenc = VF_ENC_NARROW;
  int32_t localeid = 0;
  bool informat = false;
  bool hex = false;
  // input --iso: each TEXT is an ISO 8601 point, duration or interval.
  bool iso = false;
  // input --show FORMAT: the format that re-renders each value read.
  std::string show;
  std::string catalog_text;
  std::string catalog_path;
  bool has_catalog = false;
  // Messages.
  bool quiet = false;
  bool strict = false;
  Progress progress = Progress::kAuto;
  // Column mode of stream.
  bool csv = false;
  bool header = false;
  char delimiter = ',';
  bool trim = false;
  bool empty_as_missing = false;
  bool bad_as_empty = false;
  std::vector<ColumnFormat> columns;
  // list.
  bool built_only = false;
  bool markdown = false;
};

// A command line split into its command, options and arguments.
struct CommandLine {
  std::string command;
  Options options;
  std::vector<std::string> args;
};

// Parses argv[2..] into `line`.  Returns kGoOn to go on, or the exit code
// when the tool is done (help or version shown, or an error reported).
int parse_command_line(int argc, char **argv, CommandLine *line);

struct FormatRef {
  std::string name;
  int32_t w = -1; // -1: not given
  int32_t d = 0;
  bool informat = false;
};

// "DATE9." -> DATE, 9, 0; "F8.2" -> F, 8, 2; "$CHAR." -> $CHAR, default.
// Names are upper-cased the way hosts do before they look a format up.
bool parse_format_ref(const std::string &text, bool informat, FormatRef *ref);

// "format" or "informat", for messages.
inline const char *kind_word(bool informat) {
  return informat ? "informat" : "format";
}

// The in-memory catalogue context for the --catalog text, when one was
// given; null otherwise.  `ctx` and `mem` must outlive its use.
const fmtcontext *catalogue_context(const Options &opt, fmtcontext *ctx,
                                    fmtinmemory *mem);

} // namespace valfmt_tool
