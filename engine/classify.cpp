#include "engine/classify.h"

#include <array>

namespace {

struct PrefixGroup {
  std::string_view prefix;
  CountryGroup group;
};

// Searched in this order; the first equal text decides.
constexpr std::array<PrefixGroup, 10> kPrefixGroups = {{
    {"JW", kJW},
    {"JX", kJX},
    {"LA", kLA},
    {"OH", kOH},
    {"OH0", kOH},
    {"OX", kOX},
    {"OY", kOY},
    {"OZ", kOZ},
    {"SM", kSM},
    {"TF", kTF},
}};

}  // namespace

int CountryGroupOf(std::string_view prefix) {
  for (const PrefixGroup& entry : kPrefixGroups) {
    if (entry.prefix == prefix) return entry.group;
  }
  return -1;
}

bool IsAreaScoredPrefix(std::string_view prefix) {
  return prefix != "OX" && CountryGroupOf(prefix) != -1;
}

void Classify(CInfo& record, std::string_view prefix, std::string_view areaSource) {
  const int group = CountryGroupOf(prefix);
  if (group == -1) return;
  for (const char c : areaSource) {
    if (c >= '0' && c <= '9') record.m_area[group] = c - '0';
  }
}
