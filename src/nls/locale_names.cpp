// The locale name table and its lookup.  One name per record 1..132 (the
// record's language and country codes in upper case) plus four aliases of
// renamed codes; record 133 has no name.
#include "nls/locale_names.h"

#include <array>

namespace valfmt {
namespace {

struct NameEntry {
  char name[6];
  int32_t id;
};

constexpr NameEntry kNames[kLocaleNameCount] = {
    {"AF_ZA", 1},
    {"SQ_AL", 2},
    {"AR_DZ", 3},
    {"AR_BH", 4},
    {"AR_EG", 5},
    {"AR_IN", 6},
    {"AR_IQ", 7},
    {"AR_JO", 8},
    {"AR_KW", 9},
    {"AR_LB", 10},
    {"AR_LY", 11},
    {"AR_MA", 12},
    {"AR_OM", 13},
    {"AR_QA", 14},
    {"AR_SA", 15},
    {"AR_SD", 16},
    {"AR_SY", 17},
    {"AR_TN", 18},
    {"AR_AE", 19},
    {"AR_YE", 20},
    {"BN_IN", 21},
    {"BS_BA", 22},
    {"BG_BG", 23},
    {"BE_BY", 24},
    {"CA_ES", 25},
    {"ZH_CN", 26},
    {"ZH_HK", 27},
    {"ZH_MO", 28},
    {"ZH_SG", 29},
    {"ZH_TW", 30},
    {"KW_GB", 31},
    {"HR_BA", 32},
    {"HR_HR", 33},
    {"CS_CZ", 34},
    {"DA_DK", 35},
    {"NL_BE", 36},
    {"NL_NL", 37},
    {"EN_AU", 38},
    {"EN_BE", 39},
    {"EN_BW", 40},
    {"EN_CA", 41},
    {"EN_CB", 42},
    {"EN_HK", 43},
    {"EN_IN", 44},
    {"EN_IE", 45},
    {"EN_JM", 46},
    {"EN_NZ", 47},
    {"EN_PH", 48},
    {"EN_SG", 49},
    {"EN_ZA", 50},
    {"EN_GB", 51},
    {"EN_US", 52},
    {"EN_ZW", 53},
    {"ET_EE", 54},
    {"FO_FO", 55},
    {"FI_FI", 56},
    {"FR_BE", 57},
    {"FR_CA", 58},
    {"FR_FR", 59},
    {"FR_LU", 60},
    {"FR_CH", 61},
    {"DE_AT", 62},
    {"DE_DE", 63},
    {"DE_LI", 64},
    {"DE_LU", 65},
    {"DE_CH", 66},
    {"EL_GR", 67},
    {"KL_GL", 68},
    {"HE_IL", 69},
    {"HI_IN", 70},
    {"HU_HU", 71},
    {"IS_IS", 72},
    {"ID_ID", 73},
    {"IT_IT", 74},
    {"IT_CH", 75},
    {"JA_JP", 76},
    {"KO_KR", 77},
    {"LV_LV", 78},
    {"LT_LT", 79},
    {"MK_MK", 80},
    {"MS_MY", 81},
    {"MT_MT", 82},
    {"GV_GB", 83},
    {"MR_IN", 84},
    {"NB_NO", 85},
    {"NN_NO", 86},
    {"NO_NO", 87},
    {"FA_IN", 88},
    {"FA_IR", 89},
    {"PL_PL", 90},
    {"PT_BR", 91},
    {"PT_PT", 92},
    {"RO_RO", 93},
    {"RU_RU", 94},
    {"RU_UA", 95},
    {"SR_BA", 96},
    {"SR_ME", 97},
    {"SR_RS", 98},
    {"SR_YU", 99},
    {"SH_BA", 100},
    {"SH_ME", 101},
    {"SH_RS", 102},
    {"SK_SK", 103},
    {"SL_SI", 104},
    {"ES_AR", 105},
    {"ES_BO", 106},
    {"ES_CL", 107},
    {"ES_CO", 108},
    {"ES_CR", 109},
    {"ES_DO", 110},
    {"ES_EC", 111},
    {"ES_SV", 112},
    {"ES_GT", 113},
    {"ES_HN", 114},
    {"ES_MX", 115},
    {"ES_NI", 116},
    {"ES_PA", 117},
    {"ES_PY", 118},
    {"ES_PE", 119},
    {"ES_PR", 120},
    {"ES_ES", 121},
    {"ES_US", 122},
    {"ES_UY", 123},
    {"ES_VE", 124},
    {"SV_SE", 125},
    {"TA_IN", 126},
    {"TE_IN", 127},
    {"TH_TH", 128},
    {"TR_TR", 129},
    {"UK_UA", 130},
    {"VI_VN", 131},
    {"PL_XX", 132},
    // Former codes still accepted.
    {"IW_IL", 69},
    {"SR_CS", 98},
    {"SH_YU", 102},
    {"SH_CS", 102},
};

constexpr int32_t bucket_of(const char *name) {
  return static_cast<int32_t>(locale_name_hash(name) %
                              static_cast<uint32_t>(kLocaleNameBuckets));
}

constexpr int32_t max_bucket_size() {
  std::array<int32_t, kLocaleNameBuckets> n{};
  int32_t most = 0;
  for (const NameEntry &e : kNames) {
    const int32_t b = bucket_of(e.name);
    ++n[static_cast<std::size_t>(b)];
    if (n[static_cast<std::size_t>(b)] > most)
      most = n[static_cast<std::size_t>(b)];
  }
  return most;
}

constexpr int32_t kBucketDepth = max_bucket_size();

struct Bucket {
  int32_t count = 0;
  NameEntry entries[kBucketDepth] = {};
};

// Buckets keep the table's order, so the first match in a bucket is the
// first listed name.
constexpr std::array<Bucket, kLocaleNameBuckets> build_buckets() {
  std::array<Bucket, kLocaleNameBuckets> t{};
  for (const NameEntry &e : kNames) {
    Bucket &b = t[static_cast<std::size_t>(bucket_of(e.name))];
    b.entries[b.count++] = e;
  }
  return t;
}

constexpr std::array<Bucket, kLocaleNameBuckets> kBuckets = build_buckets();

constexpr char upper_ascii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

int32_t locale_name_to_id(std::string_view name) {
  if (name.size() != 5) return 0;
  char key[5];
  for (std::size_t i = 0; i < 5; ++i) key[i] = upper_ascii(name[i]);
  const Bucket &b = kBuckets[static_cast<std::size_t>(bucket_of(key))];
  for (int32_t i = 0; i < b.count; ++i) {
    const NameEntry &e = b.entries[i];
    bool same = true;
    for (std::size_t k = 0; k < 5 && same; ++k) same = e.name[k] == key[k];
    if (same) return e.id;
  }
  return 0;
}

} // namespace valfmt
