#include "engine/cinfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

CInfo Stored() {
  CInfo r;
  r.m_freqKHz = 14080;
  r.m_zone = 0;
  return r;
}

TEST(CInfo, FreshRecordsAreEqualWhateverTheirReservedSlot) {
  CInfo a = Stored(), b = Stored();
  EXPECT_EQ(a, b);
  b.m_reserved = 7;
  EXPECT_EQ(a, b);
}

TEST(CInfo, AssignmentKeepsTheTargetsReservedSlot) {
  CInfo source = Stored();
  source.m_call = "SM5ABC";
  source.m_reserved = 11;
  CInfo target;
  target.m_reserved = 3;
  target = source;
  EXPECT_EQ(target.m_call, "SM5ABC");
  EXPECT_EQ(target.m_reserved, 3);
  EXPECT_EQ(CInfo(source).m_reserved, 0);
}

TEST(CInfo, EveryMemberButReservedTakesPartInTheIdentity) {
  std::string CInfo::*const kTexts[] = {
      &CInfo::m_call,    &CInfo::m_prefix,   &CInfo::m_continent, &CInfo::m_band,
      &CInfo::m_mode,    &CInfo::m_rstRcvd,  &CInfo::m_rstSent,   &CInfo::m_exchRcvd,
      &CInfo::m_exchSent, &CInfo::m_spare1,  &CInfo::m_spare2};
  for (std::size_t i = 0; i < std::size(kTexts); ++i) {
    CInfo changed = Stored();
    (changed.*kTexts[i]).push_back('x');
    EXPECT_NE(Stored(), changed) << "text member " << i;
  }
  const std::function<void(CInfo&)> kOthers[] = {
      [](CInfo& r) { r.m_freqKHz = 1; },
      [](CInfo& r) { r.m_zone = 1; },
      [](CInfo& r) { r.m_area[kTF] = 0; },
      [](CInfo& r) { r.m_time.m_dt = 1; },
  };
  for (std::size_t i = 0; i < std::size(kOthers); ++i) {
    CInfo changed = Stored();
    kOthers[i](changed);
    EXPECT_NE(Stored(), changed) << "other member " << i;
  }
}

TEST(CInfo, TextsCompareByteForByte) {
  CInfo a = Stored(), b = Stored();
  a.m_call = "SM5ABC";
  b.m_call = "sm5abc";
  EXPECT_NE(a, b);
  a.m_call = std::string("SM\0A", 4);
  b.m_call = std::string("SM\0B", 4);
  EXPECT_NE(a, b);
}

TEST(CInfo, TimesCompareByStatus) {
  struct Case {
    COleDateTime a, b;
    bool equal;
  };
  const double kNaN = std::nan("");
  const Case kCases[] = {
      {COleDateTime(41275.5), COleDateTime(41275.5), true},
      {COleDateTime(41275.5), COleDateTime(41275.6), false},
      {COleDateTime(0.0), COleDateTime(-0.0), true},
      {COleDateTime(1.0, COleDateTime::null), COleDateTime(2.0, COleDateTime::null), true},
      {COleDateTime(1.0), COleDateTime(1.0, COleDateTime::null), false},
      {COleDateTime(1.0, COleDateTime::invalid), COleDateTime(1.0, COleDateTime::invalid), false},
      {COleDateTime(kNaN), COleDateTime(kNaN), false},
  };
  for (const Case& c : kCases) {
    CInfo a = Stored(), b = Stored();
    a.m_time = c.a;
    b.m_time = c.b;
    EXPECT_EQ(a == b, c.equal) << c.a.m_dt << "/" << c.a.m_status << " vs " << c.b.m_dt << "/"
                               << c.b.m_status;
  }
}

}  // namespace
