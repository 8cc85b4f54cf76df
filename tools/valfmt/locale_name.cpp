// Locale names through the library's LocnameToID.
//
// The name table itself is not public: the tool learns it by asking
// LocnameToID about every name of the only shape it accepts, two letters,
// '_', two letters (26^4 questions, a few milliseconds, and only when a
// name is unknown).  That keeps the suggestions true to whatever table the
// library holds.
#include "locale_name.h"

#include <algorithm>
#include <cstdlib>

#include "valfmt.h"

namespace valfmt_tool {
namespace {

constexpr int32_t kFirstLocaleId = 1;
constexpr int32_t kLastLocaleId = 133;
constexpr std::size_t kLocaleNameLength = 5;
constexpr std::size_t kMaxEdits = 2;
constexpr std::size_t kSuggestions = 8;

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::size_t edit_distance(const std::string &a, const std::string &b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diag = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                         diag + (upper(a[i - 1]) == upper(b[j - 1]) ? 0 : 1)});
      diag = up;
    }
  }
  return row[b.size()];
}

bool all_digits(const std::string &s) {
  return !s.empty() && s.size() < 6 &&
         std::all_of(s.begin(), s.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::vector<std::string> known_locale_names() {
  std::vector<std::string> names;
  char n[kLocaleNameLength + 1] = "AA_AA";
  for (char a = 'A'; a <= 'Z'; ++a)
    for (char b = 'A'; b <= 'Z'; ++b)
      for (char c = 'A'; c <= 'Z'; ++c)
        for (char d = 'A'; d <= 'Z'; ++d) {
          n[0] = a;
          n[1] = b;
          n[3] = c;
          n[4] = d;
          int32_t id = 0;
          if (LocnameToID(n, static_cast<int32_t>(kLocaleNameLength), &id) ==
                  0 &&
              id > 0)
            names.push_back({static_cast<char>(a - 'A' + 'a'),
                             static_cast<char>(b - 'A' + 'a'), '_', c, d});
        }
  return names;
}

std::vector<std::string>
close_locale_names(const std::string &name,
                   const std::vector<std::string> &known, std::size_t limit) {
  std::vector<std::pair<std::size_t, std::string>> scored;
  for (const std::string &k : known)
    if (const std::size_t d = edit_distance(name, k); d <= kMaxEdits)
      scored.emplace_back(d, k);
  std::stable_sort(
      scored.begin(), scored.end(),
      [](const auto &x, const auto &y) { return x.first < y.first; });
  std::vector<std::string> out;
  for (const auto &s : scored) {
    if (out.size() == limit) break;
    out.push_back(s.second);
  }
  return out;
}

bool resolve_locale(const std::string &text, int32_t *id,
                    std::string *message) {
  if (all_digits(text)) {
    const long n = std::strtol(text.c_str(), nullptr, 10);
    if (n < kFirstLocaleId || n > kLastLocaleId) {
      *message = "record numbers run from 1 to 133";
      return false;
    }
    *id = static_cast<int32_t>(n);
    return true;
  }
  int32_t found = 0;
  if (text.size() == kLocaleNameLength &&
      LocnameToID(text.data(), static_cast<int32_t>(text.size()), &found) ==
          0 &&
      found > 0) {
    *id = found;
    return true;
  }
  *message = "unknown locale name";
  const std::vector<std::string> close =
      close_locale_names(text, known_locale_names(), kSuggestions);
  if (!close.empty()) {
    *message += "; close matches:";
    for (const std::string &c : close) *message += " " + c;
  }
  return false;
}

} // namespace valfmt_tool
