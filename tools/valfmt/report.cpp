// Messages on standard error and the exit status they lead to.
#include "report.h"

#include <cstdio>

#include "options.h"

namespace valfmt_tool {
namespace {

constexpr std::size_t kEchoBytes = 80;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;

void print_line(const std::string &where, const std::string &message) {
  if (where.empty())
    std::fprintf(stderr, "valfmt: %s\n", message.c_str());
  else
    std::fprintf(stderr, "valfmt: %s: %s\n", where.c_str(), message.c_str());
}

} // namespace

std::string echo(const std::string &text) {
  std::string out;
  const std::size_t n = text.size() < kEchoBytes ? text.size() : kEchoBytes;
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < kFirstPrintable || c > kLastPrintable) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  if (text.size() > kEchoBytes) out += "...";
  return out;
}

std::string place(std::size_t line, std::size_t column) {
  if (line == 0) return std::string();
  std::string p = "line " + std::to_string(line);
  if (column != 0) p += ", column " + std::to_string(column);
  return p;
}

void Reporter::warn(const std::string &where, const std::string &message) {
  ++warnings_;
  if (!quiet_) print_line(where, message);
}

void Reporter::fail(const std::string &where, const std::string &message) {
  ++failures_;
  print_line(where, message);
}

int Reporter::exit_code() const {
  if (failures_ > 0 || (strict_ && warnings_ > 0)) return kExitFailed;
  return kExitOk;
}

} // namespace valfmt_tool
