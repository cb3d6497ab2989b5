#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "engine/engine_test_support.h"

namespace {

using engine_test::Add;
using engine_test::EngineTest;
using engine_test::Qso;
using engine_test::Remove;

using AddData = EngineTest;

const char kCwLine[] =
    "QSO:  14085  CW  2013-01-01 0815  SM5XYZ  599  001  OH2ABC  579  017 PEKKA"
    "   NO RTTY MODE !!!\r\n";

TEST_F(AddData, StoresTheQsoAsTheHostGaveIt) {
  Qso q;
  q.freqHz = 14085999;
  q.areaSource = "OH2ABC/8";
  EXPECT_EQ(Add(q), 1);
  ASSERT_EQ(g_qsoList.GetCount(), 1u);
  const CInfo& r = g_qsoList.GetAt(0);
  EXPECT_EQ(r.m_call, "OH2ABC");
  EXPECT_EQ(r.m_prefix, "OH");
  EXPECT_EQ(r.m_continent, "EU");
  EXPECT_EQ(r.m_band, "20m");
  EXPECT_EQ(r.m_mode, "RTTY");
  EXPECT_EQ(r.m_rstRcvd, "579");
  EXPECT_EQ(r.m_rstSent, "599");
  EXPECT_EQ(r.m_exchRcvd, "017 PEKKA");
  EXPECT_EQ(r.m_exchSent, "001 ANNA");
  EXPECT_EQ(r.m_spare1, "");
  EXPECT_EQ(r.m_spare2, "");
  EXPECT_EQ(r.m_freqKHz, 14085);
  EXPECT_EQ(r.m_zone, 0);
  EXPECT_EQ(r.m_time, q.time);
  for (int g = 0; g < kCountryGroups; ++g) {
    EXPECT_EQ(r.m_area[g], g == kOH ? 8 : CInfo::kAreaNotSet) << g;
  }
  EXPECT_EQ(g_bandList, std::vector<std::string>{"20m"});
  EXPECT_TRUE(ErrTxtExists());
  EXPECT_EQ(ReadErrTxt(), "");
}

TEST_F(AddData, RefusesWithOneLineAndTheFirstReason) {
  struct Case {
    const char* what;
    std::function<void(Qso&)> change;
    const char* line;
  };
  const Case kCases[] = {
      {"mode CW", [](Qso& q) { q.mode = "CW"; }, kCwLine},
      {"mode rtty", [](Qso& q) { q.mode = "rtty"; },
       "QSO:  14085  rtty  2013-01-01 0815  SM5XYZ  599  001  OH2ABC  579  017 PEKKA"
       "   NO RTTY MODE !!!\r\n"},
      {"no number received, mode CW",
       [](Qso& q) {
         q.exchRcvd = "";
         q.mode = "CW";
       },
       "QSO:  14085  CW  2013-01-01 0815  SM5XYZ  599  001  OH2ABC  579     NO TX or RX NUMBER "
       "||!\r\n"},
      {"no number sent", [](Qso& q) { q.numberSent = ""; },
       "QSO:  14085  RTTY  2013-01-01 0815  SM5XYZ  599    OH2ABC  579  017 PEKKA"
       "   NO TX or RX NUMBER ||!\r\n"},
      {"1 Hz below a kHz", [](Qso& q) {
         q.mode = "CW";
         q.freqHz = 7000999;
       },
       "QSO:  7000  CW  2013-01-01 0815  SM5XYZ  599  001  OH2ABC  579  017 PEKKA"
       "   NO RTTY MODE !!!\r\n"},
      {"highest frequency", [](Qso& q) {
         q.mode = "CW";
         q.freqHz = 4294967295u;
       },
       "QSO:  4294967  CW  2013-01-01 0815  SM5XYZ  599  001  OH2ABC  579  017 PEKKA"
       "   NO RTTY MODE !!!\r\n"},
  };
  for (const Case& c : kCases) {
    engine_test::ResetEngineTables();
    WriteErrTxt("SKOLP-NY-RTTY UBN file \r\n");
    Qso q;
    q.band = "17m";
    c.change(q);
    EXPECT_EQ(Add(q), 0) << c.what;
    EXPECT_EQ(g_qsoList.GetCount(), 0u) << c.what;
    EXPECT_EQ(g_bandList, std::vector<std::string>{"17m"}) << c.what;
    EXPECT_EQ(ReadErrTxt(), std::string("SKOLP-NY-RTTY UBN file \r\n") + c.line) << c.what;
  }
}

TEST_F(AddData, LinesAreAppendedInCallOrderAndAcceptedQsosWriteNothing) {
  Qso cw;
  cw.mode = "CW";
  Qso noNumber;
  noNumber.call = "DL1AB";
  noNumber.numberSent = "";
  EXPECT_EQ(Add(cw), 0);
  EXPECT_EQ(Add(Qso()), 1);
  EXPECT_EQ(Add(noNumber), 0);
  EXPECT_EQ(ReadErrTxt(),
            std::string(kCwLine) +
                "QSO:  14085  RTTY  2013-01-01 0815  SM5XYZ  599    DL1AB  579  017 PEKKA"
                "   NO TX or RX NUMBER ||!\r\n");
}

TEST_F(AddData, TheFileIsThereAfterEveryCallWhateverOthersDid) {
  EXPECT_EQ(Add(Qso()), 1);
  ASSERT_TRUE(ErrTxtExists());
  std::filesystem::remove("err.txt");
  Qso later;
  later.call = "SM6A";
  EXPECT_EQ(Add(later), 1);
  EXPECT_TRUE(ErrTxtExists());
  WriteErrTxt("edited by hand\r\n");
  EXPECT_EQ(Add(Qso()), 1);
  EXPECT_EQ(ReadErrTxt(), "edited by hand\r\n");
  WriteErrTxt("");
  Qso cw;
  cw.mode = "CW";
  EXPECT_EQ(Add(cw), 0);
  EXPECT_EQ(ReadErrTxt(), kCwLine);
}

TEST_F(AddData, AFileThatCannotBeOpenedChangesNoResult) {
  std::filesystem::create_directory("err.txt");
  Qso cw;
  cw.mode = "CW";
  EXPECT_EQ(Add(cw), 0);
  EXPECT_EQ(Add(Qso()), 1);
  EXPECT_EQ(g_qsoList.GetCount(), 1u);
  EXPECT_EQ(g_bandList, std::vector<std::string>{"20m"});
}

TEST_F(AddData, StoresAnIdenticalQsoOnceButRepeatedContactsAgain) {
  EXPECT_EQ(Add(Qso()), 1);
  EXPECT_EQ(Add(Qso()), 1);
  EXPECT_EQ(g_qsoList.GetCount(), 1u);

  Qso later;
  later.time = COleDateTime::FromParts(2013, 1, 1, 9, 0);
  EXPECT_EQ(Add(later), 1);
  Qso otherCase;
  otherCase.call = "oh2abc";
  EXPECT_EQ(Add(otherCase), 1);
  g_strMyName = "BO";
  EXPECT_EQ(Add(Qso()), 1) << "the sent exchange carries the operator's name";
  ASSERT_EQ(g_qsoList.GetCount(), 4u);
  EXPECT_EQ(g_qsoList.GetAt(3).m_exchSent, "001 BO");
}

TEST_F(AddData, BandListHoldsEveryBandOnceInOrderOfFirstAppearance) {
  const char* const kBands[] = {"40m", "20m", "40m", "20M", "", "20m"};
  for (const char* band : kBands) {
    Qso q;
    q.band = band;
    q.mode = std::string(band) == "20M" ? "CW" : "RTTY";
    Add(q);
  }
  EXPECT_EQ(g_bandList, (std::vector<std::string>{"40m", "20m", "20M", ""}));
  // The reset empties the list; the bands then enter again.
  g_bandList.clear();
  Add(Qso());
  EXPECT_EQ(g_bandList, std::vector<std::string>{"20m"});
}

using RemoveData = EngineTest;

TEST_F(RemoveData, RemovesTheFirstQsoWithTheCallModeAndBand) {
  Qso first;
  Qso second;
  second.time = COleDateTime::FromParts(2013, 1, 1, 10, 0);
  second.exchRcvd = "099 PEKKA";
  Qso on40;
  on40.band = "40m";
  Add(first);
  Add(on40);
  Add(second);

  Qso request;  // only call, mode and band take part in the match
  request.time = COleDateTime(0.0, COleDateTime::null);
  request.exchRcvd = "1";
  request.numberSent = "2";
  EXPECT_EQ(Remove(request), 1);
  ASSERT_EQ(g_qsoList.GetCount(), 2u);
  EXPECT_EQ(g_qsoList.GetAt(0).m_band, "40m");
  EXPECT_EQ(g_qsoList.GetAt(1).m_exchRcvd, "099 PEKKA");
  EXPECT_EQ(Remove(request), 1);
  ASSERT_EQ(g_qsoList.GetCount(), 1u);
  EXPECT_EQ(g_qsoList.GetAt(0).m_band, "40m");
  EXPECT_EQ(Remove(request), 1) << "nothing left to remove is no failure";
  EXPECT_EQ(g_qsoList.GetCount(), 1u);
  EXPECT_EQ(g_bandList, (std::vector<std::string>{"20m", "40m"}));
}

TEST_F(RemoveData, RefusesArgumentsThatCannotDescribeAStoredQso) {
  struct Case {
    const char* what;
    std::function<void(Qso&)> change;
  };
  const Case kCases[] = {
      {"mode CW", [](Qso& q) { q.mode = "CW"; }},
      {"mode rtty", [](Qso& q) { q.mode = "rtty"; }},
      {"no number received", [](Qso& q) { q.exchRcvd = ""; }},
      {"no number sent", [](Qso& q) { q.numberSent = ""; }},
  };
  Add(Qso());
  for (const Case& c : kCases) {
    Qso q;
    c.change(q);
    EXPECT_EQ(Remove(q), 0) << c.what;
    EXPECT_EQ(g_qsoList.GetCount(), 1u) << c.what;
  }
  Qso otherCase;
  otherCase.call = "oh2abc";
  EXPECT_EQ(Remove(otherCase), 1);
  EXPECT_EQ(g_qsoList.GetCount(), 1u);
  EXPECT_EQ(ReadErrTxt(), "");
}

using BadInput = EngineTest;

TEST_F(BadInput, NullTextsReadAsEmptyAndANullDateAsNull) {
  EXPECT_EQ(AddData0(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr,
                     nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(ReadErrTxt(), "QSO:  0" + std::string(16, ' ') + "   NO TX or RX NUMBER ||!\r\n");
  EXPECT_EQ(g_bandList, std::vector<std::string>{""});
  EXPECT_EQ(RemoveData0(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0,
                        nullptr, nullptr, nullptr, nullptr, nullptr),
            0);

  // Only what a stored QSO needs, the rest null: accepted, with a null time.
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(AddData0(nullptr, "SM5A", nullptr, nullptr, nullptr, nullptr, 0, 14080000, "RTTY",
                       nullptr, nullptr, "001", "005", nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr, "SM", 0, 0, 0, 0.0, 0.0,
                       nullptr, nullptr, nullptr, "20m", nullptr),
              1);
  }
  ASSERT_EQ(g_qsoList.GetCount(), 1u) << "two null dates are the same date";
  EXPECT_EQ(g_qsoList.GetAt(0).m_time.GetStatus(), COleDateTime::null);
  EXPECT_EQ(g_qsoList.GetAt(0).m_exchSent, "001 ANNA");
  EXPECT_EQ(g_qsoList.GetAt(0).m_area[kSM], CInfo::kAreaNotSet);
}

TEST_F(BadInput, LongTextsAndHighBytesAreKeptExactly) {
  Qso big;
  big.call = std::string(1 << 20, 'K') + "\x80\xFF";
  big.exchRcvd = std::string(1 << 20, '7');
  big.band = "\xE4\xF6m";
  EXPECT_EQ(Add(big), 1);
  ASSERT_EQ(g_qsoList.GetCount(), 1u);
  EXPECT_EQ(g_qsoList.GetAt(0).m_call, big.call);
  EXPECT_EQ(g_qsoList.GetAt(0).m_exchRcvd, big.exchRcvd);
  EXPECT_EQ(g_bandList, std::vector<std::string>{"\xE4\xF6m"});

  big.mode = "CW";
  EXPECT_EQ(Add(big), 0);
  const std::string file = ReadErrTxt();
  EXPECT_EQ(file.size(), std::string(kCwLine).size() - 6 - 9 + big.call.size() +
                             big.exchRcvd.size());
  EXPECT_NE(file.find(big.call), std::string::npos);

  big.mode = "RTTY";
  EXPECT_EQ(Remove(big), 1);
  EXPECT_EQ(g_qsoList.GetCount(), 0u);
}

}  // namespace
