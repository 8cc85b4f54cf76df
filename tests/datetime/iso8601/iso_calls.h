// Calls of the ISO 8601 names for the tests: a format written as hosts
// write it ("E8601DT19.", "$N8601E40.") resolved and invoked through
// xffmt, the readers called directly, and runs under a given TZ in a
// child process so that no other suite sees the zone.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cstdlib>
#include <string>

#include "datetime/iso8601/iso_forms.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace isotest {

struct CallText {
  std::string name;
  int32_t w = 0;
  int32_t d = 0;
};

// "E8601DT19.2" -> {"E8601DT", 19, 2}; a name without a dot is taken
// whole (the readers).
inline CallText parse_call(const std::string &s) {
  CallText call;
  const std::size_t dot = s.rfind('.');
  if (dot == std::string::npos) {
    call.name = s;
    return call;
  }
  std::size_t j = dot;
  while (j > 0 && s[j - 1] >= '0' && s[j - 1] <= '9') --j;
  call.name = s.substr(0, j);
  call.w = std::atoi(s.substr(j, dot - j).c_str());
  call.d = std::atoi(s.substr(dot + 1).c_str());
  return call;
}

inline fmtfn reader_named(const std::string &name) {
  if (name == "is8601dui") return is8601dui;
  if (name == "is8601pdi") return is8601pdi;
  if (name == "is8601vli") return is8601vli;
  return nullptr;
}

// The value of a numeric format: "." is the standard missing value.
inline std::string number_bytes(const std::string &text) {
  const double v = text == "." ? std::bit_cast<double>(0xFFFFFE0000000000ull)
                               : std::strtod(text.c_str(), nullptr);
  return std::string(reinterpret_cast<const char *>(&v), sizeof v);
}

// Runs the named reader or format (through xffmt) on value.
inline vftest::Run run(const std::string &name_text, const std::string &value) {
  const CallText s = parse_call(name_text);
  if (fmtfn reader = reader_named(s.name))
    return vftest::input(reader, value, -1, 0, 32);
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  fmtattr attrs{};
  const int32_t found =
      xfname3(s.name.c_str(), static_cast<int32_t>(s.name.size()), 0, &attrs,
              &h, nullptr);
  EXPECT_EQ(found, 0) << s.name;
  if (found != 0) return {};
  const bool character = s.name[0] == '$';
  vftest::Run r =
      vftest::invoke(h, character ? value : number_bytes(value), s.w, s.d, s.w);
  xfdel(h);
  return r;
}

// Runs fn in a child process whose TZ is zone, and returns what it
// printed (at most 255 bytes).
template <typename Fn> std::string in_zone(const std::string &zone, Fn fn) {
  int fds[2];
  if (pipe(fds) != 0) return "pipe failed";
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    setenv("TZ", zone.c_str(), 1);
    valfmt::refresh_local_offset();
    const std::string out = fn();
    const ssize_t n = write(fds[1], out.data(), out.size());
    _exit(n == static_cast<ssize_t>(out.size()) ? 0 : 1);
  }
  close(fds[1]);
  std::string got;
  char buf[256];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0)
    got.append(buf, static_cast<std::size_t>(n));
  close(fds[0]);
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  EXPECT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0);
  return got;
}

} // namespace isotest
