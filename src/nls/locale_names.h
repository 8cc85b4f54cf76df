// The locale name table: 136 upper-case five-character names ("LL_CC")
// spread over 79 hash buckets, mapping to locale IDs.
#pragma once

#include <cstdint>
#include <string_view>

namespace valfmt {

inline constexpr int32_t kLocaleNameBuckets = 79;
inline constexpr int32_t kLocaleNameCount = 136;

// Bucket hash of a five-character name already in upper case.  The third
// character (the separator) does not enter the hash.
constexpr uint32_t locale_name_hash(const char *c) {
  auto u = [](char ch) {
    return static_cast<uint32_t>(static_cast<unsigned char>(ch));
  };
  uint32_t h = 33u * (u(c[0]) + 12573u);
  h = 33u * (h + u(c[1]));
  h = 33u * (h + u(c[3]));
  return h + u(c[4]);
}

// ID of a name of exactly five characters (any case), or 0 when the name
// is not in the table.
int32_t locale_name_to_id(std::string_view name);

} // namespace valfmt
