#include "engine/tables.h"

#include <unordered_set>

CQsoList g_qsoList;
std::vector<std::string> g_bandList;
BandTextLists g_bandCallRows;
BandTextLists g_bandMultipliers;
std::array<int32_t, 41> g_zoneTable{};

std::string g_contestant;
std::string g_startText;
std::string g_endText;
int32_t g_exportFlag = 0;
int32_t g_numberOk = 0;

int ContestBandIndex(std::string_view band) {
  for (int k = 0; k < kContestBandCount; ++k) {
    if (kContestBands[k] == band) return k;
  }
  return -1;
}

namespace {

// The names of g_bandList, so that a re-feed does not scan the list for every QSO. It follows
// g_bandList by its size: the reset empties the list and the report sorts it, neither of which
// changes the names without changing the size or keeping the set right.
std::unordered_set<std::string>& BandNames() {
  static std::unordered_set<std::string> names;
  return names;
}

}  // namespace

void AddToBandList(std::string_view band) {
  std::unordered_set<std::string>& names = BandNames();
  if (names.size() != g_bandList.size()) names = {g_bandList.begin(), g_bandList.end()};
  if (names.insert(std::string(band)).second) g_bandList.emplace_back(band);
}
