// The contest's classification rules: which country group a DXCC prefix belongs to, which call
// area a station has, and which prefixes are multipliers by call area instead of by entity.
//
// Ten prefix texts map to nine country groups ("OH0" counts in OH). The group comes from the
// prefix alone and the call area from the area source alone: the last decimal digit in it. All
// texts compare byte for byte and case-sensitively. Pure functions; safe on any thread.
#pragma once

#include <string_view>

#include "engine/cinfo.h"

// The country group of a whole prefix text, or -1 when it is none of the ten.
int CountryGroupOf(std::string_view prefix);

// True for the nine prefixes whose stations count only by call area: the ten of the country
// groups without "OX" (an OX station is a DXCC multiplier, and counted by its area as well).
bool IsAreaScoredPrefix(std::string_view prefix);

// Sets the call area of `record` in the entry of the prefix's country group to the last digit
// of `areaSource`. Leaves every entry as it is when the prefix has no group or the source has
// no digit.
void Classify(CInfo& record, std::string_view prefix, std::string_view areaSource);
