// Messages of the tool on standard error: warnings (silenced by --quiet,
// made failures by --strict), failures of single values, and the echo of
// input text inside them (at most 80 bytes, escaped).
#pragma once

#include <cstdint>
#include <string>

namespace valfmt_tool {

// At most 80 bytes of `text`, with control bytes, quotes, backslashes and
// bytes above 0x7E written as \n, \", \\, \xHH; "..." marks a cut.
std::string echo(const std::string &text);

// Where a value came from: "" (command line), "line 7", "line 7, column 3".
std::string place(std::size_t line, std::size_t column = 0);

class Reporter {
public:
  Reporter(bool quiet, bool strict) : quiet_(quiet), strict_(strict) {}

  // "valfmt: WHERE: MESSAGE" unless --quiet; counts the warning.
  void warn(const std::string &where, const std::string &message);
  // "valfmt: WHERE: MESSAGE" always; counts the failure.
  void fail(const std::string &where, const std::string &message);

  // Counts a failure whose message was already shown.
  void count_failure() { ++failures_; }

  std::size_t warnings() const { return warnings_; }
  std::size_t failures() const { return failures_; }
  // 0, or 1 when a value failed or --strict met a warning.
  int exit_code() const;

private:
  bool quiet_;
  bool strict_;
  std::size_t warnings_ = 0;
  std::size_t failures_ = 0;
};

} // namespace valfmt_tool
