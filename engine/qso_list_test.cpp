#include "engine/qso_list.h"

#include <gtest/gtest.h>

#include "engine/tables.h"

namespace {

CInfo Qso(const char* call) {
  CInfo r;
  r.m_call = call;
  return r;
}

TEST(QsoList, KeepsRecordsInOrderAndRemovesByIndex) {
  CQsoList list;
  for (const char* call : {"A", "B", "C"}) list.Add(Qso(call));
  ASSERT_EQ(list.GetCount(), 3u);
  list.RemoveAt(0);
  ASSERT_EQ(list.GetCount(), 2u);
  EXPECT_EQ(list.GetAt(0).m_call, "B");
  EXPECT_EQ(list.GetAt(1).m_call, "C");
  list.RemoveAll();
  EXPECT_EQ(list.GetCount(), 0u);
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

TEST(ContestBands, IndexByExactName) {
  for (int k = 0; k < kContestBandCount; ++k) {
    EXPECT_EQ(ContestBandIndex(kContestBands[k]), k) << kContestBands[k];
  }
  for (const char* other : {"20M", "6m", "", "160m "}) EXPECT_EQ(ContestBandIndex(other), -1);
}

}  // namespace
