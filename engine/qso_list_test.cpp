#include "engine/qso_list.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/tables.h"

namespace {

CInfo Qso(const std::string& call, const char* band = "20m", const char* prefix = "DL") {
  CInfo r;
  r.m_call = call;
  r.m_band = band;
  r.m_mode = "RTTY";
  r.m_prefix = prefix;
  return r;
}

std::vector<std::string> Calls(const CQsoList& list) {
  std::vector<std::string> calls;
  for (std::size_t i = 0; i < list.GetCount(); ++i) calls.push_back(list.GetAt(i).m_call);
  return calls;
}

TEST(QsoList, KeepsRecordsInOrderAndRemovesByIndex) {
  CQsoList list;
  for (const char* call : {"A", "B", "C"}) list.Add(Qso(call));
  list.RemoveAt(0);
  EXPECT_EQ(Calls(list), (std::vector<std::string>{"B", "C"}));
  list.RemoveAll();
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_FALSE(list.HasCallOnBand("B", "20m"));
}

TEST(QsoList, StoresACopy) {
  CQsoList list;
  CInfo r = Qso("A");
  r.m_reserved = 5;
  list.Add(r);
  r.m_call = "changed";
  EXPECT_EQ(list.GetAt(0).m_call, "A");
  EXPECT_EQ(list.GetAt(0).m_reserved, 0);
}

// Removals anywhere, appends in between, against a vector: order, GetAt and ForEach agree
// through gaps, trailing removals and compactions.
TEST(QsoList, OrderSurvivesRemovalsAnywhere) {
  std::mt19937 random(7);
  CQsoList list;
  std::vector<std::string> expected;
  int next = 0;
  for (int step = 0; step < 20000; ++step) {
    const int roll = std::uniform_int_distribution<int>(0, 9)(random);
    if (expected.empty() || roll < 5) {
      expected.push_back(std::to_string(next++));
      list.Add(Qso(expected.back()));
    } else {
      const std::size_t index =
          roll == 9 ? expected.size() - 1
                    : std::uniform_int_distribution<std::size_t>(0, expected.size() - 1)(random);
      list.RemoveAt(index);
      expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(index));
    }
    if (step % 997 == 0 || step == 19999) {
      ASSERT_EQ(Calls(list), expected) << "step " << step;
      std::vector<std::string> visited;
      list.ForEach([&](const CInfo& r) { visited.push_back(r.m_call); });
      ASSERT_EQ(visited, expected) << "step " << step;
    }
  }
  const CQsoList copy(list);
  EXPECT_EQ(Calls(copy), expected);
  CQsoList moved(std::move(list));
  EXPECT_EQ(Calls(moved), expected);
  EXPECT_EQ(list.GetCount(), 0u);
  CQsoList assigned;
  assigned = moved;
  EXPECT_EQ(Calls(assigned), expected);
  EXPECT_TRUE(assigned.HasCallOnBand(expected.back(), "20m"));
}

TEST(QsoList, QueriesFollowAddsAndRemovals) {
  CQsoList list;
  CInfo sm5 = Qso("SM5A", "20m", "SM");
  sm5.m_area[kSM] = 5;
  sm5.m_exchRcvd = "first";
  CInfo again = sm5;
  again.m_band = "40m";
  again.m_exchRcvd = "second";
  list.Add(sm5);
  list.Add(again);
  list.Add(Qso("DL1A", "40m"));

  EXPECT_TRUE(list.HasCallOnBand("SM5A", "20m"));
  EXPECT_FALSE(list.HasCallOnBand("SM5A", "80m"));
  EXPECT_FALSE(list.HasCallOnBand("sm5a", "20m"));
  EXPECT_EQ(*list.LastExchangeOfCall("SM5A"), "second");
  EXPECT_EQ(list.LastExchangeOfCall("SM5B"), nullptr);
  EXPECT_TRUE(list.HasPrefixOnBand("20m", "SM"));
  EXPECT_FALSE(list.HasPrefixOnBand("20m", "DL"));
  EXPECT_TRUE(list.HasAreaOnBand("20m", kSM, 5));
  EXPECT_FALSE(list.HasAreaOnBand("20m", kSM, 4));
  EXPECT_FALSE(list.HasAreaOnBand("20m", kLA, 5));

  EXPECT_FALSE(list.RemoveFirstMatch("SM5A", "CW", "40m"));
  EXPECT_TRUE(list.RemoveFirstMatch("SM5A", "RTTY", "40m"));
  EXPECT_EQ(*list.LastExchangeOfCall("SM5A"), "first");
  EXPECT_TRUE(list.RemoveFirstMatch("SM5A", "RTTY", "20m"));
  EXPECT_EQ(list.LastExchangeOfCall("SM5A"), nullptr);
  EXPECT_FALSE(list.HasCallOnBand("SM5A", "20m"));
  EXPECT_FALSE(list.HasPrefixOnBand("20m", "SM"));
  EXPECT_FALSE(list.HasAreaOnBand("20m", kSM, 5));
  EXPECT_EQ(Calls(list), std::vector<std::string>{"DL1A"});
}

TEST(QsoList, ModesOfOneCallAndBandAreMatchedApart) {
  CQsoList list;
  CInfo cw = Qso("DL1A");
  cw.m_mode = "CW";
  list.Add(Qso("DL1A"));
  list.Add(cw);
  list.Add(Qso("DL1A"));
  EXPECT_TRUE(list.RemoveFirstMatch("DL1A", "CW", "20m"));
  EXPECT_FALSE(list.RemoveFirstMatch("DL1A", "CW", "20m"));
  EXPECT_TRUE(list.HasCallOnBand("DL1A", "20m"));
  EXPECT_TRUE(list.RemoveFirstMatch("DL1A", "RTTY", "20m"));
  EXPECT_TRUE(list.RemoveFirstMatch("DL1A", "RTTY", "20m"));
  EXPECT_FALSE(list.HasCallOnBand("DL1A", "20m"));
  EXPECT_EQ(list.GetCount(), 0u);
}

TEST(QsoList, IdentityFollowsTheRecordsTimes) {
  struct Case {
    const char* what;
    COleDateTime stored, probe;
    bool found;
  };
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const Case kCases[] = {
      {"same valid time", COleDateTime(41275.5), COleDateTime(41275.5), true},
      {"other valid time", COleDateTime(41275.5), COleDateTime(41275.75), false},
      {"zero and minus zero", COleDateTime(0.0), COleDateTime(-0.0), true},
      {"nulls with other days", COleDateTime(3.0, COleDateTime::null),
       COleDateTime(-9.0, COleDateTime::null), true},
      {"null and valid", COleDateTime(3.0, COleDateTime::null), COleDateTime(3.0), false},
      {"invalid", COleDateTime(3.0, COleDateTime::invalid),
       COleDateTime(3.0, COleDateTime::invalid), false},
      {"NaN", COleDateTime(kNaN), COleDateTime(kNaN), false},
  };
  for (const Case& c : kCases) {
    CQsoList list;
    CInfo stored = Qso("A");
    stored.m_time = c.stored;
    CInfo probe = Qso("A");
    probe.m_time = c.probe;
    list.Add(stored);
    EXPECT_EQ(list.Contains(probe), c.found) << c.what;
    EXPECT_EQ(list.AddIfAbsent(CInfo(probe)), !c.found) << c.what;
  }
}

TEST(QsoList, IdenticalRecordsAddedPlainlyAreKeptApart) {
  CQsoList list;
  list.Add(Qso("A"));
  list.Add(Qso("A"));
  list.RemoveAt(1);
  EXPECT_TRUE(list.Contains(Qso("A")));
  list.RemoveAt(0);
  EXPECT_FALSE(list.Contains(Qso("A")));
  EXPECT_TRUE(list.AddIfAbsent(Qso("A")));
  EXPECT_FALSE(list.AddIfAbsent(Qso("A")));
}

TEST(ContestBands, IndexByExactName) {
  for (int k = 0; k < kContestBandCount; ++k) {
    EXPECT_EQ(ContestBandIndex(kContestBands[k]), k) << kContestBands[k];
  }
  for (const char* other : {"20M", "6m", "", "160m "}) EXPECT_EQ(ContestBandIndex(other), -1);
}

}  // namespace
