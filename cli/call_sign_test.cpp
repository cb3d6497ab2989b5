#include "cli/call_sign.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* call;
  const char* areaSource;
  const char* prefixLookup;
  const char* exactHome;
  bool noCountry;
};

const Case kCases[] = {
    {"SM5ABC", "SM5ABC", "SM5ABC", "", false},
    {"SM5ABC/P", "SM5ABC/P", "SM5ABC", "SM5ABC", false},
    {"SM5ABC/QRP", "SM5ABC/QRP", "SM5ABC", "SM5ABC", false},
    // A single-digit suffix moves the station to that call area.
    {"SM5ABC/7", "7", "SM7ABC", "", false},
    {"OH2ABC/0", "0", "OH0ABC", "", false},
    {"SM5ABC/7/P", "7", "SM7ABC", "", false},
    // A prefix part says where the station is, before or after the home call.
    {"OH0/SM5ABC", "OH0", "OH0", "", false},
    {"SM5ABC/OH0", "OH0", "OH0", "", false},
    {"OH0/SM5ABC/P", "OH0", "OH0", "", false},
    {"LA/DL1ABC", "LA", "LA", "", false},
    {"W1ABC/KH6", "KH6", "KH6", "", false},
    // Of two parts of equal length the first is the prefix part.
    {"OH2AB/SM5AB", "OH2AB", "OH2AB", "", false},
    {"SM5ABC/MM", "SM5ABC/MM", "SM5ABC", "", true},
    {"SM5ABC/AM", "SM5ABC/AM", "SM5ABC", "", true},
    // Slashes without parts between them are ignored.
    {"SM5ABC/", "SM5ABC/", "SM5ABC", "", false},
    {"/", "/", "/", "", false},
    {"", "", "", "", false},
};

TEST(SplitCall, NamesTheLookupTextsAndTheAreaSource) {
  for (const Case& c : kCases) {
    const CallParts parts = SplitCall(c.call);
    EXPECT_EQ(parts.call, c.call) << c.call;
    EXPECT_EQ(parts.areaSource, c.areaSource) << c.call;
    EXPECT_EQ(parts.prefixLookup, c.prefixLookup) << c.call;
    EXPECT_EQ(parts.exactHome, c.exactHome) << c.call;
    EXPECT_EQ(parts.noCountry, c.noCountry) << c.call;
  }
}

}  // namespace
