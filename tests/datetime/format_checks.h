// Checks shared by the date and time format suites.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/call_runner.h"
#include "valfmt.h"

namespace dtcheck {

// The text of a call of fn on v at w.d that must succeed with w bytes.
inline std::string text(fmtfn fn, double v, int w, int d = 0) {
  const vftest::Run r = vftest::put(fn, v, w, d);
  EXPECT_EQ(r.status, VF_OK) << v << " at " << w << "." << d;
  EXPECT_EQ(r.outlen, w) << v << " at " << w << "." << d;
  return r.text;
}

inline std::string stars(int n) {
  return std::string(static_cast<std::size_t>(n > 0 ? n : 0), '*');
}

} // namespace dtcheck
