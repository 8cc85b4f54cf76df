// 16-bit case mapping: the two-level tables, built at compile time from the
// runs in case_runs.h, and UPCASE / LOWCASE over them.
#include <cstddef>

#include "access/case_runs.h"
#include "access/encoding.h"
#include "valfmt.h"

namespace valfmt {
namespace {

using case_data::CaseRun;
using case_data::kCaseBlocks;
using case_data::kList;

constexpr CaseIndex make_block_index() {
  CaseIndex index{};
  for (auto &e : index) e = -1;
  for (int b = 0; b < kCaseBlockCount; ++b) {
    if (kCaseBlocks[b] % kCaseBlockUnits != 0) throw "case block not aligned";
    index[kCaseBlocks[b] / kCaseBlockUnits] =
        static_cast<int16_t>(b * kCaseBlockUnits);
  }
  return index;
}

// The slot of `unit` in a delta table, or -1 outside the mapped blocks.
constexpr int delta_slot(const CaseIndex &index, uint32_t unit) {
  const int16_t block = index[unit / kCaseBlockUnits];
  return block < 0 ? -1 : block + static_cast<int>(unit % kCaseBlockUnits);
}

constexpr void check_run(const CaseRun &r) {
  if (r.last < r.first || (r.last - r.first) % r.step != 0)
    throw "malformed run";
  if (r.delta == 0 || r.delta < -128 || r.delta > 127)
    throw "delta does not fit a signed byte";
}

template <std::size_t N>
constexpr CaseDeltas make_deltas(const CaseRun (&runs)[N]) {
  const CaseIndex index = make_block_index();
  CaseDeltas deltas{};
  for (const CaseRun &r : runs) {
    check_run(r);
    for (uint32_t u = r.first; u <= r.last; u += r.step) {
      const int slot = delta_slot(index, u);
      if (slot < 0) throw "run outside the case blocks";
      const int mapped = static_cast<int>(u) + r.delta;
      if (r.delta != kList && (mapped < 0 || mapped > 0xFFFF))
        throw "mapping leaves the 16-bit range";
      if (deltas[static_cast<std::size_t>(slot)] != 0)
        throw "unit mapped twice";
      deltas[static_cast<std::size_t>(slot)] = static_cast<int8_t>(r.delta);
    }
  }
  return deltas;
}

template <std::size_t M>
constexpr bool in_list(uint32_t unit, const std::array<CasePair, M> &list) {
  for (std::size_t i = 0; i + 1 < M; ++i)
    if (list[i].unit == unit) return true;
  return false;
}

// Every unit marked kList has a pair in the list and every pair a marked
// unit; the list ends with a zero pair.
template <std::size_t M>
constexpr bool list_matches(const CaseDeltas &deltas,
                            const std::array<CasePair, M> &list) {
  const CaseIndex index = make_block_index();
  if (list[M - 1].unit != 0) return false;
  std::size_t marked = 0;
  for (uint32_t u = 0; u <= 0xFFFF; ++u) {
    const int slot = delta_slot(index, u);
    if (slot < 0 || deltas[static_cast<std::size_t>(slot)] != kList) continue;
    ++marked;
    if (!in_list(u, list)) return false;
  }
  return marked == M - 1;
}

template <std::size_t M>
uint16_t map_unit(uint16_t unit, const CaseDeltas &deltas,
                  const std::array<CasePair, M> &list) {
  const int slot = delta_slot(kCaseBlockIndex, unit);
  if (slot < 0) return unit;
  const int8_t delta = deltas[static_cast<std::size_t>(slot)];
  if (delta != kCaseDeltaInList) return static_cast<uint16_t>(unit + delta);
  for (const CasePair *p = list.data(); p->unit != 0; ++p)
    if (p->unit == unit) return p->mapped;
  return unit;
}

} // namespace

constexpr CaseIndex kCaseBlockIndex = make_block_index();
constexpr CaseDeltas kUpcaseDeltas = make_deltas(case_data::kUpcaseRuns);
constexpr CaseDeltas kDowncaseDeltas = make_deltas(case_data::kDowncaseRuns);
constexpr std::array<CasePair, 21> kUpcaseExceptions = case_data::kUpcaseList;
constexpr std::array<CasePair, 20> kDowncaseExceptions =
    case_data::kDowncaseList;

static_assert(list_matches(kUpcaseDeltas, kUpcaseExceptions));
static_assert(list_matches(kDowncaseDeltas, kDowncaseExceptions));

uint16_t upcase_unit(uint16_t unit) {
  return map_unit(unit, kUpcaseDeltas, kUpcaseExceptions);
}

uint16_t lowcase_unit(uint16_t unit) {
  return map_unit(unit, kDowncaseDeltas, kDowncaseExceptions);
}

} // namespace valfmt

extern "C" {

VF_API void UPCASE(uint16_t *units, int32_t count) {
  if (!units) return;
  for (int32_t i = 0; i < count; ++i) units[i] = valfmt::upcase_unit(units[i]);
}

VF_API void LOWCASE(uint16_t *units, int32_t count) {
  if (!units) return;
  for (int32_t i = 0; i < count; ++i) units[i] = valfmt::lowcase_unit(units[i]);
}

} // extern "C"
