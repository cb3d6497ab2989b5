// The contest engine's module-wide tables. They live from load to unload.
//
// Shared with the Multiplier window's thread, and so guarded by the module lock: g_qsoList,
// g_bandCallRows, g_bandMultipliers. The rest is touched by the host's thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/qso_list.h"

inline constexpr int kContestBandCount = 6;
// The contest bands; the index of a band is its index in every per-band table.
inline constexpr std::array<std::string_view, kContestBandCount> kContestBands = {
    "160m", "80m", "40m", "20m", "15m", "10m"};

// Appends `band` to g_bandList unless an equal name (byte for byte) is in it; O(1) expected.
// Others may empty or reorder g_bandList between calls, but add to it only through here.
void AddToBandList(std::string_view band);

// The index of a contest band name (byte for byte), or -1 for any other name.
int ContestBandIndex(std::string_view band);

using BandTextLists = std::array<std::vector<std::string>, kContestBandCount>;

extern CQsoList g_qsoList;                  // guarded by the module lock
extern std::vector<std::string> g_bandList; // distinct band names since the last reset
extern BandTextLists g_bandCallRows;        // guarded by the module lock
extern BandTextLists g_bandMultipliers;     // guarded by the module lock
extern std::array<int32_t, 41> g_zoneTable; // all 0 for the life of the module

extern std::string g_contestant;  // own call sign, "" until the first reset
extern std::string g_startText;   // contest start "%d.%m"
extern std::string g_endText;     // contest end "%d.%m.%Y"
extern int32_t g_exportFlag;      // non-zero: the last reset prepared a Cabrillo export run

// Set when a received number has passed the form tests of IsValidExchg0 field 0, cleared when a
// name then passes field 1: a name is accepted only right after a number. 0 at load; the
// contest reset leaves it alone.
extern int32_t g_numberOk;
