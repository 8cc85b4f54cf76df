// The shared library as a host loads it.  Every descriptor row names its
// function: a built function must be exported under that name and be the
// pointer the descriptor holds; a function whose row still says VF_TODO
// must not be defined at all, so building one without updating its row
// fails here.  Every name the public header declares stays exported.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "valfmt.h"

namespace {

struct RowFunction {
  const char *module;
  const char *name;
  const char *fn; // the row's function argument as written
};

#define VF_MODULE_BEGIN(...)
#define VF_MODULE_END(...)
#define VF_ROW(module, name, minw, maxw, defw, maxd, flag1, flag2, aux, fn)    \
  RowFunction{#module, name, #fn},
#define VF_ROW_UNLISTED VF_ROW
constexpr RowFunction kRows[] = {
#include "registry/modules.def"
};
#undef VF_MODULE_BEGIN
#undef VF_MODULE_END
#undef VF_ROW
#undef VF_ROW_UNLISTED

enum class RowKind { kBuilt, kTodo, kNone };

// "zfmdate", "VF_TODO(zfmbtc)" or "VF_NONE" -> kind and function name.
RowKind parse_row_function(const std::string &text, std::string *fn) {
  if (text == "VF_NONE") return RowKind::kNone;
  const std::string todo = "VF_TODO(";
  if (text.rfind(todo, 0) != 0) {
    *fn = text;
    return RowKind::kBuilt;
  }
  *fn = text.substr(todo.size(), text.find(')') - todo.size());
  return RowKind::kTodo;
}

std::string lower_case(std::string s) {
  for (char &c : s) c = static_cast<char>(std::tolower(c));
  return s;
}

bool is_identifier_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The names the header declares with VF_API: the identifier just before
// the first '(' or '[' that follows each VF_API outside its #define.
std::vector<std::string> header_exports() {
  std::ifstream in(VALFMT_SOURCE_DIR "/include/valfmt.h");
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string h = ss.str();
  std::vector<std::string> names;
  for (std::size_t at = h.find("VF_API"); at != std::string::npos;
       at = h.find("VF_API", at + 1)) {
    const std::size_t line = h.rfind('\n', at) + 1;
    if (h.compare(line, 7, "#define") == 0) continue;
    std::size_t end = h.find_first_of("([;", at);
    while (end > at && !is_identifier_char(h[end - 1])) --end;
    std::size_t start = end;
    while (start > at && is_identifier_char(h[start - 1])) --start;
    names.push_back(h.substr(start, end - start));
  }
  return names;
}

class SharedLibrary : public ::testing::Test {
protected:
  void SetUp() override {
    lib_ = dlopen(VALFMT_SHARED_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (lib_ != nullptr) dlclose(lib_);
  }
  void *symbol(const std::string &name) const {
    return dlsym(lib_, name.c_str());
  }
  void *lib_ = nullptr;
};

TEST_F(SharedLibrary, RowFunctionsAreExportedOrStillToBuild) {
  std::string module;
  const fmtinfo *info = nullptr;
  uint32_t index = 0;
  for (const RowFunction &r : kRows) {
    if (module != r.module) {
      if (info != nullptr) {
        EXPECT_EQ(index, info->count) << module;
      }
      module = r.module;
      const auto entry =
          reinterpret_cast<fmtmodule_entry>(symbol(lower_case(module)));
      ASSERT_NE(entry, nullptr) << module << " entry not exported";
      info = entry();
      index = 0;
    }
    ASSERT_LT(index, info->count) << module;
    const fmtinfo_eachfmt &d = info->first[index++];
    ASSERT_EQ(std::string(d.name, d.namelen), r.name) << module;
    std::string fn;
    const void *exported = nullptr;
    const void *held = reinterpret_cast<const void *>(d.fn);
    switch (parse_row_function(r.fn, &fn)) {
    case RowKind::kBuilt:
      exported = symbol(fn);
      EXPECT_NE(exported, nullptr) << fn << " of " << r.name << " not exported";
      EXPECT_EQ(held, exported) << r.name << " does not hold " << fn;
      break;
    case RowKind::kTodo:
      EXPECT_EQ(symbol(fn), nullptr)
          << fn << " is built: its row " << r.name << " still says VF_TODO";
      EXPECT_EQ(held, nullptr) << r.name;
      break;
    case RowKind::kNone:
      EXPECT_EQ(held, nullptr) << r.name;
      break;
    }
  }
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(index, info->count) << module;
}

TEST_F(SharedLibrary, EveryHeaderNameStaysExported) {
  const std::vector<std::string> names = header_exports();
  ASSERT_FALSE(names.empty()) << "no VF_API declarations read";
  for (const std::string &name : names)
    EXPECT_NE(symbol(name), nullptr) << name << " not exported";
}

} // namespace
