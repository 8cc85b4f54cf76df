// Running the real valfmt binary from the tool tests.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace tooltest {

struct Split {
  int status;
  std::string out; // standard output
  std::string err; // standard error
};

inline std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline std::string temp_path(const char *what) {
  return std::string(::testing::TempDir()) + "valfmt_" + what + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

inline void write_file(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `valfmt ARGS` with `input` (any bytes) on standard input and the
// environment assignments `env` ("TZ=..."); the two output streams apart.
inline Split run_split(const std::string &args, const std::string &input = "",
                       const std::string &env = "") {
  const std::string in = temp_path("in"), out = temp_path("out"),
                    err = temp_path("err");
  write_file(in, input);
  const std::string cmd = env + " " + std::string(VALFMT_TOOL_PATH) + " " +
                          args + " <" + in + " >" + out + " 2>" + err;
  const int st = std::system(cmd.c_str());
  return Split{WIFEXITED(st) ? WEXITSTATUS(st) : -1, slurp(out), slurp(err)};
}

inline bool has(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

} // namespace tooltest
