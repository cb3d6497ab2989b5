// Test support for the engine's entry points: a fixture that runs each test in a fresh
// temporary working directory with empty tables, the arguments of AddData0 / RemoveData0 /
// CheckCallFunc0 as named fields, and a Multiplier window fake.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/tables.h"
#include "frame/entry_points.h"
#include "frame/module_objects.h"
#include "frame/seams.h"
#include "platform/module_lock.h"

namespace engine_test {

inline void ResetEngineTables() {
  {
    const ModuleLockGuard lock(g_moduleLock);
    g_qsoList.RemoveAll();
  }
  g_bandList.clear();
  g_numberOk = 0;
}

// Each test in a directory of its own, entered for the test and removed afterwards, so that
// "err.txt" starts missing.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    m_dir = std::filesystem::temp_directory_path() /
            ("skolp-engine-" + std::to_string(stamp) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(m_dir);
    m_previousDir = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);
    m_previousName = g_strMyName;
    g_strMyName = "ANNA";
    ResetEngineTables();
  }

  void TearDown() override {
    ResetEngineTables();
    g_strMyName = m_previousName;
    std::filesystem::current_path(m_previousDir);
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
  }

  static bool ErrTxtExists() { return std::filesystem::exists("err.txt"); }

  // The file's bytes exactly as on disk.
  static std::string ReadErrTxt() {
    std::ifstream in("err.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void WriteErrTxt(const std::string& bytes) {
    std::ofstream out("err.txt", std::ios::binary | std::ios::trunc);
    out << bytes;
  }

 private:
  std::filesystem::path m_dir;
  std::filesystem::path m_previousDir;
  std::string m_previousName;
};

// The arguments of AddData0 and RemoveData0 that either of them reads.
struct Qso {
  std::string ownCall = "SM5XYZ";
  std::string call = "OH2ABC";
  COleDateTime time = COleDateTime::FromParts(2013, 1, 1, 8, 15);
  unsigned int freqHz = 14085500;
  std::string mode = "RTTY";
  std::string rstSent = "599";
  std::string rstRcvd = "579";
  std::string numberSent = "001";
  std::string exchRcvd = "017 PEKKA";
  std::string areaSource = "OH2ABC";
  std::string prefix = "OH";
  std::string continent = "EU";
  std::string band = "20m";
};

// Arguments that neither operation reads get values that would show if they were read.
inline int Add(Qso q) {
  COleDateTime junk(1.0);
  return AddData0(q.ownCall.c_str(), q.call.c_str(), &q.time, &junk, &junk, &junk, 7, q.freqHz,
                  q.mode.c_str(), q.rstSent.c_str(), q.rstRcvd.c_str(), q.numberSent.c_str(),
                  q.exchRcvd.c_str(), "x14", "x15", "x16", "x17", "x18", "x19", "x20", "x21",
                  q.areaSource.c_str(), q.prefix.c_str(), 24, 25, 26, 27.0, 28.0, "x29",
                  q.continent.c_str(), "x31", q.band.c_str(), "x33");
}

inline int Remove(Qso q) {
  COleDateTime junk(1.0);
  return RemoveData0(q.ownCall.c_str(), q.call.c_str(), &q.time, &junk, &junk, &junk, 7,
                     q.freqHz, q.mode.c_str(), q.rstSent.c_str(), q.rstRcvd.c_str(),
                     q.numberSent.c_str(), q.exchRcvd.c_str(), "x14", "x15", "x16", "x17", "x18",
                     "x19", "x20", "x21", q.areaSource.c_str(), q.prefix.c_str(), 24, 25, 26,
                     27.0, 28.0, "x29", q.continent.c_str(), "x31", q.band.c_str(), "x33");
}

// The arguments of CheckCallFunc0 that it reads; a null otherBand is passed as null.
struct Check {
  std::string call = "OH2ABC";
  std::string areaSource = "OH2ABC";
  std::string prefix = "OH";
  std::string band = "20m";
  const char* otherBand = nullptr;
};

// The size of the host's buffer for the previous exchange.
inline constexpr std::size_t kOutSize = 100;

inline int CheckCall(const Check& c, char* out, char* never = nullptr) {
  return CheckCallFunc0(c.call.c_str(), 2, 3, "RTTY", "x5", "x6", "x7", "x8", "x9", "x10", "x11",
                        "x12", c.areaSource.c_str(), c.prefix.c_str(), 15, 16, 17, 18.0, 19.0,
                        "x20", "x21", "x22", "x23", "x24", c.band.c_str(), c.otherBand, out,
                        never);
}

class FakeMultiplierWindow final : public MultiplierWindowControl {
 public:
  bool IsOpen() override { return m_open; }
  void Start() override {}
  void RearmTimer() override { ++m_rearms; }
  void Stop() override {}

  bool m_open = false;
  int m_rearms = 0;
};

}  // namespace engine_test
