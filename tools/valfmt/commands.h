// The valfmt tool's commands; each returns the process exit code.
#pragma once

#include <string>
#include <vector>

#include "options.h"

namespace valfmt_tool {

// put / input: one format, each value in turn.
int run_values(const Options &opt, const std::string &fmt,
               const std::vector<std::string> &values);
// stream: one format, every line of a file or standard input; with --csv,
// the formats of --col on their columns.
int run_stream(const Options &opt, const std::vector<std::string> &args);
// list [MODULE]: built-in names with their limits.
int run_list(const Options &opt, const std::vector<std::string> &args);
// describe NAME: one name's description, limits and examples.
int run_describe(const Options &opt, const std::string &text);
// catalog check FILE [NAME]: what is wrong with a catalogue.
int run_catalog(const Options &opt, const std::vector<std::string> &args);
// examples: the built-in examples, each checked against its expected text.
int run_examples(const Options &base);

} // namespace valfmt_tool
