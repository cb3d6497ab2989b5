#include "engine/tables.h"

CQsoList g_qsoList;
std::vector<std::string> g_bandList;
BandTextLists g_bandCallRows;
BandTextLists g_bandMultipliers;
std::array<int32_t, 41> g_zoneTable{};

std::string g_contestant;
std::string g_startText;
std::string g_endText;
int32_t g_exportFlag = 0;

int ContestBandIndex(std::string_view band) {
  for (int k = 0; k < kContestBandCount; ++k) {
    if (kContestBands[k] == band) return k;
  }
  return -1;
}
