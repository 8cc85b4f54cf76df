// Encoding names to identifiers through a hashed table, and the byte method
// of each identifier; both tables are derived at compile time from the
// lists in encoding_names.h.
#include <array>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "access/encoding.h"
#include "access/encoding_names.h"
#include "valfmt.h"

namespace valfmt {
namespace {

using encoding_data::EncName;
using encoding_data::kEncNames;
using encoding_data::kMethodRanges;
using encoding_data::MethodRange;

constexpr int32_t kEncNameFound = VF_OK;
constexpr int32_t kEncNameNotFound = 4;
constexpr int32_t kEncNameMinLength = 4;
constexpr std::size_t kEncNameCount = std::size(kEncNames);

constexpr std::array<uint8_t, kEncodingIdLimit> make_methods() {
  std::array<uint8_t, kEncodingIdLimit> methods{};
  std::array<bool, kEncodingIdLimit> set{};
  for (const MethodRange &r : kMethodRanges) {
    for (uint32_t id = r.first; id <= r.last; ++id) {
      if (id >= kEncodingIdLimit || set[id]) throw "bad method range";
      set[id] = true;
      methods[id] = r.method;
    }
  }
  return methods;
}
constexpr auto kMethods = make_methods();

constexpr int32_t name_length(const char *s) {
  int32_t n = 0;
  while (s[n] != '\0') ++n;
  return n;
}

constexpr bool same_name(const char *a, const char *b) {
  for (; *a != '\0' || *b != '\0'; ++a, ++b)
    if (*a != *b) return false;
  return true;
}

constexpr void check_names() {
  for (const EncName &e : kEncNames) {
    if (name_length(e.name) < kEncNameMinLength)
      throw "encoding name shorter than 4";
    for (const char *c = e.name; *c != '\0'; ++c)
      if (*c >= 'a' && *c <= 'z') throw "encoding name not upper case";
  }
  for (std::size_t i = 0; i < kEncNameCount; ++i)
    for (std::size_t j = i + 1; j < kEncNameCount; ++j)
      if (same_name(kEncNames[i].name, kEncNames[j].name))
        throw "encoding name listed twice";
}

// The entries grouped by bucket, buckets in ascending order, and within a
// bucket in list order.
constexpr std::array<EncNameEntry, kEncNameCount> make_entries() {
  check_names();
  std::array<EncNameEntry, kEncNameCount> out{};
  std::size_t k = 0;
  for (int b = 0; b < kEncNameBucketCount; ++b) {
    for (const EncName &e : kEncNames) {
      const int32_t len = name_length(e.name);
      if (encname_bucket(e.name, len) == b)
        out[k++] = EncNameEntry{e.name, e.id, len};
    }
  }
  return out;
}
constexpr auto kEncEntries = make_entries();

constexpr std::array<EncNameBucket, kEncNameBucketCount> make_buckets() {
  std::array<EncNameBucket, kEncNameBucketCount> t{};
  std::size_t k = 0;
  for (int b = 0; b < kEncNameBucketCount; ++b) {
    const std::size_t start = k;
    while (k < kEncEntries.size() &&
           encname_bucket(kEncEntries[k].name, kEncEntries[k].len) == b)
      ++k;
    t[static_cast<std::size_t>(b)] = EncNameBucket{
        kEncEntries.data() + start, static_cast<int32_t>(k - start)};
  }
  return t;
}

void upper_case_ascii(char *name, int32_t len) {
  for (int32_t i = 0; i < len; ++i)
    if (name[i] >= 'a' && name[i] <= 'z')
      name[i] = static_cast<char>(name[i] - 'a' + 'A');
}

} // namespace

constexpr std::array<EncNameBucket, kEncNameBucketCount> kEncNameTable =
    make_buckets();

} // namespace valfmt

extern "C" {

// Upper-cases a..z of the caller's name in place, then looks it up.
VF_API int32_t EncnameToID(char *name, int32_t len, uint32_t *id) {
  using namespace valfmt;
  if (!name || len < kEncNameMinLength) return kEncNameNotFound;
  upper_case_ascii(name, len);
  const EncNameBucket &bucket =
      kEncNameTable[static_cast<std::size_t>(encname_bucket(name, len))];
  for (int32_t i = 0; i < bucket.count; ++i) {
    const EncNameEntry &e = bucket.entries[i];
    if (e.len == len &&
        std::memcmp(e.name, name, static_cast<std::size_t>(len)) == 0) {
      if (id) *id = e.id;
      return kEncNameFound;
    }
  }
  return kEncNameNotFound;
}

VF_API uint32_t EncodingMethod(uint32_t id) {
  using namespace valfmt;
  return id < kEncodingIdLimit ? kMethods[id] : kEncMethodSingle;
}

} // extern "C"
