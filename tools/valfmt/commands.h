// The valfmt tool's commands; each returns the process exit code.
#pragma once

#include <string>
#include <vector>

#include "options.h"

namespace valfmt_tool {

// put / input: one format, each value in turn.
int run_values(const Options &opt, const std::string &fmt,
               const std::vector<std::string> &values);
// stream: one format, every line of standard input.
int run_stream(const Options &opt, const std::string &fmt);
// list [MODULE]: built-in names with their limits.
int run_list(const std::vector<std::string> &args);
// describe NAME: one name's descriptor or user-format widths.
int run_describe(const Options &opt, const std::string &text);
// examples: the built-in examples, each checked against its expected text.
int run_examples(const Options &base);

} // namespace valfmt_tool
