// The engine's answers against a plain model of the log: a vector of records searched by
// linear scans from index 0, exactly in the order the contest's rules describe them. Long
// random sequences of adds, removes, checks and emptyings go to both, and every answer, every
// out buffer, the list, the band list and the UBN file must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/engine_test_support.h"

namespace {

using engine_test::EngineTest;
using engine_test::kOutSize;
using engine_test::Qso;

// Classification, straight from the rules.
void ModelClassify(CInfo& r, const std::string& prefix, const std::string& source) {
  const char* const kPrefixes[] = {"JW", "JX", "LA", "OH", "OH0", "OX", "OY", "OZ", "SM", "TF"};
  const int kGroups[] = {0, 1, 2, 3, 3, 4, 5, 6, 7, 8};
  int group = -1;
  for (int i = 0; i < 10; ++i) {
    if (prefix == kPrefixes[i]) {
      group = kGroups[i];
      break;
    }
  }
  if (group == -1) return;
  for (const char c : source) {
    if (c >= '0' && c <= '9') r.m_area[group] = c - '0';
  }
}

bool ModelAreaScored(const std::string& prefix) {
  for (const char* p : {"JW", "JX", "LA", "OH", "OH0", "OY", "OZ", "SM", "TF"}) {
    if (prefix == p) return true;
  }
  return false;
}

struct Model {
  std::vector<CInfo> list;
  std::vector<std::string> bands;
  std::string errTxt;
  std::string myName = "ANNA";

  int Add(const Qso& q) {
    bool known = false;
    for (const std::string& b : bands) known = known || b == q.band;
    if (!known) bands.push_back(q.band);
    CInfo r;
    r.m_call = q.call;
    r.m_band = q.band;
    r.m_mode = q.mode;
    r.m_continent = q.continent;
    r.m_rstRcvd = q.rstRcvd;
    r.m_rstSent = q.rstSent;
    r.m_exchRcvd = q.exchRcvd;
    r.m_exchSent = q.numberSent + " " + myName;
    r.m_prefix = q.prefix;
    r.m_freqKHz = static_cast<int32_t>(q.freqHz / 1000);
    r.m_time = q.time;
    r.m_zone = 0;
    const std::string line = "QSO:  " + std::to_string(q.freqHz / 1000) + "  " + q.mode + "  " +
                             q.time.Format("%Y-%m-%d %H%M") + "  " + q.ownCall + "  " +
                             q.rstSent + "  " + q.numberSent + "  " + q.call + "  " + q.rstRcvd +
                             "  " + q.exchRcvd;
    if (q.exchRcvd.empty() || q.numberSent.empty()) {
      errTxt += line + "   NO TX or RX NUMBER ||!\r\n";
      return 0;
    }
    if (q.mode != "RTTY") {
      errTxt += line + "   NO RTTY MODE !!!\r\n";
      return 0;
    }
    ModelClassify(r, q.prefix, q.areaSource);
    for (const CInfo& stored : list) {
      if (stored == r) return 1;
    }
    list.push_back(r);
    return 1;
  }

  int Remove(const Qso& q) {
    if (q.mode != "RTTY") return 0;
    if (q.exchRcvd.empty() || q.numberSent.empty()) return 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (list[i].m_call == q.call && list[i].m_mode == q.mode && list[i].m_band == q.band) {
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
    return 1;
  }

  int Check(const engine_test::Check& c, char* out) const {
    if (c.otherBand != nullptr) {
      const std::string other = c.otherBand;
      bool differ = other.size() != c.band.size();
      for (std::size_t i = 0; !differ && i < other.size(); ++i) {
        const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch; };
        differ = lower(other[i]) != lower(c.band[i]);
      }
      if (differ) return 4;
    }
    CInfo probe;
    probe.m_call = c.call;
    probe.m_band = c.band;
    probe.m_prefix = c.prefix;
    if (c.prefix.empty()) return 1;
    ModelClassify(probe, c.prefix, c.areaSource);
    std::string previous;
    for (const CInfo& r : list) {
      if (r.m_call == c.call) {
        if (r.m_band == c.band) return 0;
        previous = r.m_exchRcvd;
      }
    }
    int result = 2;
    for (const CInfo& r : list) {
      if (r.m_band == c.band && r.m_prefix == c.prefix) {
        result = 1;
        break;
      }
    }
    if (ModelAreaScored(c.prefix)) {
      result = 2;
      const int kGroups[] = {0, 1, 2, 3, 5, 6, 7, 8};
      bool found = false;
      for (const CInfo& r : list) {
        if (r.m_band != c.band) continue;
        for (const int g : kGroups) {
          if (probe.m_area[g] != -1 && r.m_area[g] == probe.m_area[g]) {
            found = true;
            break;
          }
        }
        if (found) break;
      }
      if (found) result = 1;
    }
    if (out != nullptr) {
      const std::size_t n = std::min(previous.size(), kOutSize - 1);
      std::memcpy(out, previous.data(), n);
      out[n] = '\0';
    }
    return result;
  }
};

// Field by field, so that records whose time equals nothing (invalid) still compare.
void ExpectSameRecord(const CInfo& a, const CInfo& b, const std::string& where) {
  EXPECT_EQ(a.m_call, b.m_call) << where;
  EXPECT_EQ(a.m_prefix, b.m_prefix) << where;
  EXPECT_EQ(a.m_continent, b.m_continent) << where;
  EXPECT_EQ(a.m_band, b.m_band) << where;
  EXPECT_EQ(a.m_mode, b.m_mode) << where;
  EXPECT_EQ(a.m_rstRcvd, b.m_rstRcvd) << where;
  EXPECT_EQ(a.m_rstSent, b.m_rstSent) << where;
  EXPECT_EQ(a.m_exchRcvd, b.m_exchRcvd) << where;
  EXPECT_EQ(a.m_exchSent, b.m_exchSent) << where;
  EXPECT_EQ(a.m_area, b.m_area) << where;
  EXPECT_EQ(a.m_freqKHz, b.m_freqKHz) << where;
  EXPECT_EQ(a.m_zone, b.m_zone) << where;
  EXPECT_EQ(std::memcmp(&a.m_time.m_dt, &b.m_time.m_dt, sizeof(double)), 0) << where;
  EXPECT_EQ(a.m_time.m_status, b.m_time.m_status) << where;
}

void ExpectSameList(const Model& model, const std::string& where) {
  ASSERT_EQ(g_qsoList.GetCount(), model.list.size()) << where;
  for (std::size_t i = 0; i < model.list.size(); ++i) {
    ExpectSameRecord(g_qsoList.GetAt(i), model.list[i], where + " index " + std::to_string(i));
  }
  std::size_t visited = 0;
  g_qsoList.ForEach([&](const CInfo& r) {
    if (visited < model.list.size()) ExpectSameRecord(r, model.list[visited], where + " visit");
    ++visited;
  });
  EXPECT_EQ(visited, model.list.size()) << where;
  EXPECT_EQ(g_bandList, model.bands) << where;
}

// Small pools, so that the same calls, bands, prefixes and records come back often.
class Generator {
 public:
  explicit Generator(unsigned seed) : m_random(seed) {}

  template <typename T, std::size_t N>
  const T& Pick(const T (&pool)[N]) {
    return pool[std::uniform_int_distribution<std::size_t>(0, N - 1)(m_random)];
  }
  int Percent() { return std::uniform_int_distribution<int>(0, 99)(m_random); }
  std::size_t Index(std::size_t size) {
    return std::uniform_int_distribution<std::size_t>(0, size - 1)(m_random);
  }

  COleDateTime Time() {
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const COleDateTime kTimes[] = {
        COleDateTime(41275.25),
        COleDateTime(41275.25),
        COleDateTime(41275.5),
        COleDateTime(41276.0),
        COleDateTime(0.0),
        COleDateTime(-0.0),
        COleDateTime(1.0, COleDateTime::null),
        COleDateTime(7.5, COleDateTime::null),
        COleDateTime(41275.25, COleDateTime::invalid),
        COleDateTime(kNaN),
        COleDateTime(1e300),
        COleDateTime(41275.25, static_cast<COleDateTime::DateTimeStatus>(9)),
    };
    return Pick(kTimes);
  }

  Qso NewQso() {
    static const char* const kCalls[] = {"SM5ABC", "sm5abc", "OH2XY", "OH0Z", "OX3A", "DL1AB",
                                         "LA9K",   "W1AW",   "",      "JW7QI", "\xC5\xE4"};
    static const char* const kBands[] = {"20m", "20m", "40m", "80m", "20M", "", "\xB2m"};
    static const char* const kModes[] = {"RTTY", "RTTY", "RTTY", "RTTY", "RTTY",
                                         "RTTY", "RTTY", "rtty", "CW",   ""};
    static const char* const kPrefixes[] = {"SM", "OH", "OH0", "OX", "DL", "LA", "JW", "",
                                            "sm", "OY", "TF", "OZ", "JX", "OH1"};
    static const char* const kSources[] = {"SM5ABC", "OH0Z", "OX3A", "LA1/2", "", "X",
                                           "OZ9", "TF3", "JX", "SM5ABC/7"};
    static const char* const kNumbers[] = {"001", "002", "003", "004", "005", "006", "007", ""};
    static const std::string kLong(150, 'E');
    static const char* const kExchanges[] = {"005 PEKKA", "006 BO", "007",        "008 A",
                                             "009 B",     "010 C",  kLong.c_str(), ""};
    static const unsigned int kFrequencies[] = {14085000, 14085999, 7040000, 999, 4294967295u};
    Qso q;
    q.call = Pick(kCalls);
    q.band = Pick(kBands);
    q.mode = Pick(kModes);
    q.prefix = Pick(kPrefixes);
    q.areaSource = Pick(kSources);
    q.numberSent = Pick(kNumbers);
    q.exchRcvd = Pick(kExchanges);
    q.freqHz = Pick(kFrequencies);
    q.time = Time();
    q.continent = Percent() < 50 ? "EU" : "NA";
    return q;
  }

  engine_test::Check NewCheck() {
    static const char* const kOtherBands[] = {nullptr, nullptr, nullptr, nullptr,
                                              nullptr, "20m",   "20M",   "40m"};
    const Qso q = NewQso();
    engine_test::Check c;
    c.call = q.call;
    c.areaSource = q.areaSource;
    c.prefix = q.prefix;
    c.band = q.band;
    c.otherBand = Pick(kOtherBands);
    return c;
  }

 private:
  std::mt19937 m_random;
};

using EngineEquivalence = EngineTest;

TEST_F(EngineEquivalence, RandomSequencesAnswerAsTheLinearScans) {
  for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    engine_test::ResetEngineTables();
    WriteErrTxt("");
    Model model;
    Generator gen(seed);
    std::vector<Qso> added;
    for (int step = 0; step < 6000; ++step) {
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      const int roll = gen.Percent();
      if (roll < 45) {
        // Half of the adds repeat an earlier QSO, some with a new time.
        Qso q = gen.NewQso();
        if (!added.empty() && gen.Percent() < 50) {
          q = added[gen.Index(added.size())];
          if (gen.Percent() < 30) q.time = gen.Time();
        }
        added.push_back(q);
        ASSERT_EQ(engine_test::Add(q), model.Add(q)) << where;
      } else if (roll < 65) {
        Qso q = gen.NewQso();
        if (!added.empty() && gen.Percent() < 70) {
          q = added[gen.Index(added.size())];
        }
        ASSERT_EQ(engine_test::Remove(q), model.Remove(q)) << where;
      } else if (roll < 99 || gen.Percent() < 90) {
        const engine_test::Check c = gen.NewCheck();
        char real[kOutSize];
        char expected[kOutSize];
        std::memset(real, '#', sizeof real);
        std::memset(expected, '#', sizeof expected);
        ASSERT_EQ(engine_test::CheckCall(c, real), model.Check(c, expected)) << where;
        ASSERT_EQ(std::memcmp(real, expected, kOutSize), 0) << where;
      } else {
        engine_test::ResetEngineTables();
        model.list.clear();
        model.bands.clear();
      }
      if (step % 7 == 0) ExpectSameList(model, where);
    }
    ExpectSameList(model, "seed " + std::to_string(seed) + " end");
    EXPECT_EQ(ReadErrTxt(), model.errTxt) << "seed " << seed;
  }
}

}  // namespace
