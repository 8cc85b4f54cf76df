// The generated locale records: stated rows, well-formed texts and
// patterns the expander can run, and agreement with a fresh generation.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>
#include <sys/stat.h>

#include "nls/locale_db.h"

namespace {

using valfmt::locale_field;

int present(int field) {
  int n = 0;
  for (int32_t id = 1; id <= 133; ++id)
    n += locale_field(id, field).empty() ? 0 : 1;
  return n;
}

TEST(LocaleData, StatedRows) {
  EXPECT_EQ(locale_field(1, 113), "<u00a4>#.##0,00");
  EXPECT_EQ(locale_field(1, 100), ",");
  EXPECT_EQ(locale_field(1, 101), ".");
  EXPECT_EQ(locale_field(76, 99), "<UFFE5>");
  EXPECT_EQ(locale_field(63, 115), ",");
  EXPECT_EQ(locale_field(63, 116), ".");
  for (int32_t id = 1; id <= 133; ++id) {
    EXPECT_EQ(locale_field(id, 6) == "YDM", id == 78) << id;
  }
  for (int field : {103, 118, 141, 142}) EXPECT_EQ(present(field), 0) << field;
  for (int field = 8; field <= 11; ++field)
    EXPECT_EQ(present(field), 8) << field;
  for (int field : {134, 135, 136}) EXPECT_EQ(present(field), 132) << field;
  // The fields that only some records carry.
  EXPECT_EQ(present(12), 47);
  EXPECT_EQ(present(49), 119);
  EXPECT_EQ(present(133), 22);
  EXPECT_EQ(present(137), 82);
  // The record without a country (zh_XX) is the one without titles.
  for (int field = 134; field <= 137; ++field)
    EXPECT_TRUE(locale_field(133, field).empty()) << field;
}

TEST(LocaleData, SecondaryLanguageCodes) {
  // Three-letter ISO 639-2 codes: the bibliographic code where it differs
  // from the terminology code (German "ger", French "fre", Chinese "chi"),
  // the plain code for a language beside another in its country.
  EXPECT_EQ(locale_field(63, 12), "ger");
  EXPECT_EQ(locale_field(59, 12), "fre");
  EXPECT_EQ(locale_field(26, 12), "chi");
  EXPECT_EQ(locale_field(41, 12), "eng");     // en_CA
  EXPECT_EQ(locale_field(122, 12), "spa");    // es_US
  EXPECT_TRUE(locale_field(121, 12).empty()); // es_ES
  for (int32_t id = 1; id <= 133; ++id) {
    const std::string_view t = locale_field(id, 12);
    if (t.empty()) continue;
    EXPECT_EQ(t.size(), 3u) << id;
    EXPECT_EQ(t.find_first_not_of("abcdefghijklmnopqrstuvwxyz"),
              std::string_view::npos)
        << id << ": " << t;
  }
}

TEST(LocaleData, DateSeparatorOfTheShortPattern) {
  // One character between the first two parts of the short date, a blank
  // after a mark not counted when both gaps carry that mark.
  EXPECT_EQ(locale_field(52, 49), "/");  // %m/%d/%Y
  EXPECT_EQ(locale_field(63, 49), ".");  // %d.%m.%Y
  EXPECT_EQ(locale_field(41, 49), "-");  // %Y-%m-%d
  EXPECT_EQ(locale_field(5, 49), " ");   // %d %b, %Y
  EXPECT_EQ(locale_field(61, 49), ".");  // %d. %m. %y
  EXPECT_EQ(locale_field(104, 49), "."); // %d. %m. %Y
  EXPECT_EQ(locale_field(85, 49), "");   // %d. %b %Y: the gaps differ
  EXPECT_EQ(locale_field(76, 49),
            ""); // %Y, %m, %d each followed by an ideograph
  EXPECT_EQ(locale_field(43, 49), ""); // %A, %B %d, %Y
  for (int32_t id = 1; id <= 133; ++id) {
    const std::string_view sep = locale_field(id, 49);
    if (sep.empty()) continue;
    EXPECT_EQ(sep.size(), 1u) << id;
    EXPECT_NE(locale_field(id, 29).find(sep), std::string_view::npos) << id;
  }
}

bool is_hex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
         (c >= 'A' && c <= 'F');
}

TEST(LocaleData, EscapesAreWellFormed) {
  // "<U" or "<u" always starts a seven-character escape of four hex digits.
  for (int32_t id = 1; id <= 133; ++id) {
    for (int field = 0; field < 143; ++field) {
      const std::string_view t = locale_field(id, field);
      for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i] != '<' || (t[i + 1] != 'U' && t[i + 1] != 'u')) continue;
        ASSERT_LE(i + 7, t.size()) << id << "/" << field;
        EXPECT_TRUE(is_hex(t[i + 2]) && is_hex(t[i + 3]) && is_hex(t[i + 4]) &&
                    is_hex(t[i + 5]) && t[i + 6] == '>')
            << id << "/" << field << ": " << t;
      }
      EXPECT_EQ(t.find('\0'), std::string_view::npos) << id << "/" << field;
    }
  }
}

// Directive letters the pattern expander knows (case does not matter).
bool known_directive(char c) {
  if ((c < 'a' || c > 'z') && (c < 'A' || c > 'Z')) return false;
  const char lower = static_cast<char>(c | 0x20);
  return std::string_view("abcdefghijmnopqsuvwyz").find(lower) !=
         std::string_view::npos;
}

TEST(LocaleData, PatternsUseOnlyKnownDirectives) {
  for (int32_t id = 1; id <= 133; ++id) {
    for (int field = 28; field <= 48; ++field) {
      const std::string_view p = locale_field(id, field);
      EXPECT_FALSE(p.empty()) << id << "/" << field;
      for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] != '%') continue;
        std::size_t k = i + 1;
        if (k < p.size() && (p[k] == '#' || p[k] == '0')) ++k;
        if (k < p.size() && p[k] == '?') ++k;
        ASSERT_LT(k, p.size()) << id << "/" << field << ": " << p;
        EXPECT_TRUE(p[k] == '%' || known_directive(p[k]))
            << id << "/" << field << ": " << p;
        i = k;
      }
    }
  }
}

TEST(LocaleData, NamesAndNumbersPresent) {
  const int numeric[] = {102, 105, 106, 107, 108, 109, 110, 111, 112, 117,
                         120, 121, 122, 123, 124, 125, 130, 131, 140};
  for (int32_t id = 1; id <= 133; ++id) {
    for (int field = 50; field <= 97; ++field)
      EXPECT_FALSE(locale_field(id, field).empty()) << id << "/" << field;
    for (int field : numeric) {
      const std::string_view t = locale_field(id, field);
      EXPECT_FALSE(t.empty()) << id << "/" << field;
      EXPECT_EQ(t.find_first_not_of("0123456789"), std::string_view::npos)
          << id << "/" << field << ": " << t;
    }
  }
}

// The order of day, month and year follows the short date pattern
// (record 78 keeps its stated order).
TEST(LocaleData, DateOrderMatchesShortPattern) {
  for (int32_t id = 1; id <= 133; ++id) {
    if (id == 78) continue;
    const std::string_view p = locale_field(id, 29);
    std::string order;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
      if (p[i] != '%') continue;
      std::size_t k = i + 1;
      if (p[k] == '#') ++k;
      const char c = p[k];
      const char part = (c == 'd' || c == 'e')               ? 'D'
                        : (c == 'm' || c == 'b' || c == 'B') ? 'M'
                        : (c == 'y' || c == 'Y')             ? 'Y'
                                                             : 0;
      if (part != 0 && order.find(part) == std::string::npos) order += part;
      i = k;
    }
    EXPECT_EQ(locale_field(id, 6), order) << id << ": " << p;
  }
}

bool exists(const char *path) {
  struct stat st {};
  return stat(path, &st) == 0;
}

std::string command_output(const std::string &cmd) {
  std::string out;
  if (FILE *p = popen(cmd.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, p) != nullptr) out += buf;
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
    out.pop_back();
  return out;
}

// The "package=version" words of the committed table's "// Sources:" line.
std::vector<std::string> recorded_sources(const std::string &file) {
  std::ifstream in(file);
  std::string line;
  const std::string mark = "// Sources: ";
  while (std::getline(in, line)) {
    if (line.rfind(mark, 0) != 0) continue;
    std::istringstream words(line.substr(mark.size()));
    std::vector<std::string> out;
    for (std::string w; words >> w;) out.push_back(w);
    return out;
  }
  return {};
}

// Regenerates the table and compares, but only on a machine with the very
// source package versions the committed table was made from: a newer point
// release of the locale sources or of ICU may change data legitimately.
TEST(LocaleData, RegeneratesIdentically) {
  const std::string src = VALFMT_SOURCE_DIR;
  const std::string table = src + "/src/nls/locale_data.cpp";
  const std::vector<std::string> recorded = recorded_sources(table);
  ASSERT_EQ(recorded.size(), 3u) << "no source versions in " << table;
  if (!exists("/usr/share/i18n/locales/en_US") ||
      !exists("/etc/fonts/conf.d/65-nonlatin.conf") ||
      std::system("command -v dpkg-query >/dev/null && pkg-config --exists "
                  "icu-i18n icu-uc && command -v c++ >/dev/null && command "
                  "-v python3 >/dev/null") != 0) {
    GTEST_SKIP() << "locale sources, fontconfig list, ICU or dpkg-query not "
                    "installed";
  }
  for (const std::string &r : recorded) {
    const std::size_t eq = r.find('=');
    ASSERT_NE(eq, std::string::npos) << r;
    const std::string pkg = r.substr(0, eq);
    const std::string installed =
        command_output("dpkg-query -W -f='${Version}' " + pkg + " 2>/dev/null");
    if (installed != r.substr(eq + 1)) {
      GTEST_SKIP() << "table made from " << r << ", installed " << pkg << "="
                   << (installed.empty() ? "none" : installed)
                   << "; regenerate to compare";
    }
  }
  const std::string cmd = "python3 " + src +
                          "/tools/gen_locale_db.py --check " + table +
                          " >/dev/null 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

} // namespace
