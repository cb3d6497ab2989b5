#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/engine_test_support.h"

namespace {

using engine_test::Add;
using engine_test::Check;
using engine_test::CheckCall;
using engine_test::EngineTest;
using engine_test::FakeMultiplierWindow;
using engine_test::kOutSize;
using engine_test::Qso;

constexpr char kUntouched = '#';

// A buffer larger than the host's, so that a write past its 100 bytes would show.
struct OutBuffer {
  OutBuffer() { std::memset(bytes, kUntouched, sizeof bytes); }
  bool Untouched() const {
    for (const char c : bytes) {
      if (c != kUntouched) return false;
    }
    return true;
  }
  char bytes[kOutSize + 20];
};

Qso Logged(const char* call, const char* prefix, const char* areaSource, const char* band,
           const char* exchange = "001 X") {
  Qso q;
  q.call = call;
  q.prefix = prefix;
  q.areaSource = areaSource;
  q.band = band;
  q.exchRcvd = exchange;
  return q;
}

class CallCheck : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    const Qso kLog[] = {
        Logged("OH2ABC", "OH", "OH2ABC", "40m", "011 PEKKA"),
        Logged("OH2ABC", "OH", "OH2ABC", "80m", "012 PEKKA"),
        Logged("SM5AAA", "SM", "SM5AAA", "20m"),
        Logged("SM5CCC", "SM", "SM5CCC", "40m"),
        Logged("SM3BBB", "SM", "SM3BBB", "15m"),
        Logged("OX3A", "OX", "OX3A", "20m"),
        Logged("OH9XX", "OH", "OH0XX", "10m"),
        Logged("DL1AB", "DL", "DL1AB", "20m"),
        Logged("W1AW", "K", "W1AW", "40m", "040 HIRAM"),
        Logged("W1AW", "K", "W1AW", "20m", "020 HIRAM"),
    };
    for (const Qso& q : kLog) ASSERT_EQ(Add(q), 1) << q.call << " " << q.band;
  }
};

Check Probe(const char* call, const char* prefix, const char* areaSource, const char* band,
            const char* otherBand = nullptr) {
  Check c;
  c.call = call;
  c.prefix = prefix;
  c.areaSource = areaSource;
  c.band = band;
  c.otherBand = otherBand;
  return c;
}

TEST_F(CallCheck, AnswersAndPreviousExchange) {
  struct Case {
    const char* what;
    Check check;
    int result;
    const char* out;  // null: the buffer is not written
  };
  const Case kCases[] = {
      {"the call on this band", Probe("SM5AAA", "SM", "SM5AAA", "20m"), 0, nullptr},
      {"dupe although another band came first", Probe("W1AW", "K", "W1AW", "20m"), 0, nullptr},
      {"last exchange of another band", Probe("OH2ABC", "OH", "OH2ABC", "20m"), 2,
       "012 PEKKA"},
      {"calls compare case-sensitively", Probe("sm5aaa", "SM", "SM5AAA", "20m"), 1, ""},
      {"empty prefix, even for a dupe", Probe("SM5AAA", "", "SM5AAA", "20m"), 1, nullptr},
      {"new DXCC", Probe("DL2CD", "DL", "DL2CD", "40m"), 2, ""},
      {"DXCC worked on the band", Probe("DL2CD", "DL", "DL2CD", "20m"), 1, ""},
      {"prefixes compare case-sensitively", Probe("DL2CD", "dl", "DL2CD", "20m"), 2, ""},
      {"SM area worked on the band", Probe("SM5ZZZ", "SM", "SM5ZZZ", "20m"), 1, ""},
      {"SM area only on another band", Probe("SM5ZZZ", "SM", "SM5ZZZ", "15m"), 2, ""},
      {"other SM areas on the band", Probe("SM7ZZZ", "SM", "SM7ZZZ", "20m"), 2, ""},
      {"the last digit is the area", Probe("SM7ZZZ", "SM", "SM7ZZZ/3", "15m"), 1, ""},
      {"SM without an area digit", Probe("SMZZZ", "SM", "SMZZZ", "20m"), 2, ""},
      {"OX counts by DXCC, any area", Probe("OX5B", "OX", "OX5B", "20m"), 1, ""},
      {"OX not on the band", Probe("OX5B", "OX", "OX5B", "40m"), 2, ""},
      {"OH0 area 0 is OH area 0", Probe("OH0Z", "OH0", "OH0Z", "10m"), 1, ""},
      {"OH0 on a band without OH0 area", Probe("OH0Z", "OH0", "OH0Z", "20m"), 2, ""},
      {"bands differ only in case", Probe("DL2CD", "DL", "DL2CD", "20m", "20M"), 1, ""},
      {"band mismatch", Probe("SM5AAA", "SM", "SM5AAA", "20m", "40m"), 4, nullptr},
      {"empty list of the band", Probe("DL2CD", "DL", "DL2CD", "160m", "160m"), 2, ""},
  };
  for (const Case& c : kCases) {
    OutBuffer out;
    OutBuffer never;
    EXPECT_EQ(CheckCall(c.check, out.bytes, never.bytes), c.result) << c.what;
    if (c.out == nullptr) {
      EXPECT_TRUE(out.Untouched()) << c.what;
    } else {
      EXPECT_STREQ(out.bytes, c.out) << c.what;
      EXPECT_EQ(out.bytes[std::strlen(c.out) + 1], kUntouched) << c.what;
    }
    EXPECT_TRUE(never.Untouched()) << c.what;
  }
}

TEST_F(CallCheck, PreviousExchangeFollowsRemovals) {
  OutBuffer out;
  Qso gone = Logged("OH2ABC", "OH", "OH2ABC", "80m");
  engine_test::Remove(gone);
  EXPECT_EQ(CheckCall(Probe("OH2ABC", "OH", "OH2ABC", "20m"), out.bytes), 2);
  EXPECT_STREQ(out.bytes, "011 PEKKA");
}

TEST_F(CallCheck, ALongPreviousExchangeIsCutTo99Bytes) {
  const std::string longExchange(1 << 20, '9');
  Add(Logged("LA1K", "LA", "LA1K", "40m", longExchange.c_str()));
  OutBuffer out;
  EXPECT_EQ(CheckCall(Probe("LA1K", "LA", "LA1K", "20m"), out.bytes), 2);
  EXPECT_EQ(std::string(out.bytes), longExchange.substr(0, kOutSize - 1));
  EXPECT_EQ(out.bytes[kOutSize], kUntouched);
  EXPECT_EQ(CheckCall(Probe("LA1K", "LA", "LA1K", "20m"), nullptr), 2);
}

using CallCheckInput = EngineTest;

TEST_F(CallCheckInput, NullTextsReadAsEmpty) {
  OutBuffer out;
  EXPECT_EQ(CheckCallFunc0(nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           out.bytes, nullptr),
            1);
  EXPECT_TRUE(out.Untouched());
  // A null band with a second band given makes no mismatch test.
  EXPECT_EQ(CheckCallFunc0(nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, "DL", 0, 0, 0, 0.0, 0.0, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, "40m", out.bytes,
                           nullptr),
            2);
  EXPECT_STREQ(out.bytes, "");
}

TEST_F(CallCheckInput, LongCallsAndHighBytes) {
  const std::string call = std::string(1 << 20, 'S') + "\xC5\xFF";
  Add(Logged(call.c_str(), "\xD6Z", "", "\xB2"));
  OutBuffer out;
  Check c = Probe("", "\xD6Z", "", "\xB2");
  c.call = call;
  EXPECT_EQ(CheckCall(c, out.bytes), 0);
  c.call.back() = '\xFE';
  EXPECT_EQ(CheckCall(c, out.bytes), 1);
  EXPECT_STREQ(out.bytes, "");
}

using CallCheckWindow = EngineTest;

TEST_F(CallCheckWindow, EveryCheckButABandMismatchRearmsAnOpenWindow) {
  FakeMultiplierWindow window;
  const ScopedSeam<MultiplierWindowControl> seam(&Seams::multiplierWindow, window);
  OutBuffer out;
  CheckCall(Probe("DL1AB", "DL", "DL1AB", "20m"), out.bytes);
  EXPECT_EQ(window.m_rearms, 0) << "closed window";

  window.m_open = true;
  CheckCall(Probe("DL1AB", "DL", "DL1AB", "20m"), out.bytes);
  CheckCall(Probe("DL1AB", "", "DL1AB", "20m"), out.bytes);
  EXPECT_EQ(window.m_rearms, 2);
  CheckCall(Probe("DL1AB", "DL", "DL1AB", "20m", "40m"), out.bytes);
  EXPECT_EQ(window.m_rearms, 2) << "band mismatch";
}

}  // namespace
