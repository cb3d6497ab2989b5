// The Multiplier window's thread against the host's: refreshes and paintings run on a second
// thread while the host's thread resets, adds, removes, checks and builds results as fast as it
// can. Built with ThreadSanitizer this shows any access to the shared tables that the module
// lock does not order; in every build it checks what the window saw was whole.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine_test_support.h"
#include "engine/tables.h"
#include "frame/entry_points.h"
#include "frame/seams.h"
#include "multiplier_window/grid_layout.h"
#include "multiplier_window/window_refresh.h"
#include "multiplier_window/window_state.h"
#include "platform/module_lock.h"

namespace {

using engine_test::Add;
using engine_test::Check;
using engine_test::CheckCall;
using engine_test::Qso;
using engine_test::Remove;

constexpr auto kRunTime = std::chrono::milliseconds(1500);
constexpr int kMinimumRounds = 20;

// Answers from the window's thread only: the typed call switches between one that is in the
// log and none, and the host moves between bands, so both views are laid out.
class AlternatingHost final : public HostLink {
 public:
  bool Connect() override { return true; }
  void Disconnect() override {}
  void SendCommand(const std::string&) override {}
  std::optional<double> GetFrequency() override {
    return (m_calls % 3 == 0) ? 14080000.0 : 7050000.0;
  }
  std::optional<std::string> GetEnteredCall() override {
    return (++m_calls % 2 == 0) ? "OH2ABC" : "";
  }

 private:
  int m_calls = 0;
};

int Reset() {
  COleDateTime start = COleDateTime::FromParts(2013, 1, 1);
  COleDateTime end = COleDateTime::FromParts(2013, 1, 2);
  return ResetStats0("x", 0, "SM5XYZ", &start, &end, "ANNA", "", "", "", "", "", "", "", "", "", 0,
                     0, 0, 0.0, 0.0, "", "", "");
}

// One round of the host's work: a reset, a short log fed, a call checked, one QSO withdrawn, a
// result built.
void HostRound(int round) {
  Reset();
  for (int i = 0; i < 12; ++i) {
    Qso q;
    q.call = (i % 3 == 0) ? "OH2ABC" : "DL" + std::to_string(round % 7) + "X" + std::to_string(i);
    q.prefix = (i % 3 == 0) ? "OH" : "DL";
    q.areaSource = q.call;
    q.band = std::string(kContestBands[i % kContestBandCount]);
    q.time = COleDateTime::FromParts(2013, 1, 1, i % 24, round % 60);
    Add(q);
    if (i == 7) Remove(q);
  }
  Check check;
  char previous[engine_test::kOutSize] = {};
  CheckCall(check, previous);
  GetResult0(nullptr);
}

// What a painting may show whatever the host's thread is doing: every band row has its five
// cells with the band name in front, and the call view names the typed call.
bool IsWhole(const GridSnapshot& snapshot, const std::vector<GridDrawOp>& ops) {
  for (int k = 0; k < kContestBandCount; ++k) {
    const std::vector<std::string>& row = snapshot.bandCallRows[k];
    if (row.size() != 5 || row[0] != kContestBands[k]) return false;
  }
  if (ops.empty() || ops[0].kind != GridDrawOp::Kind::kFill) return false;
  if (snapshot.enteredCall.empty()) return true;
  for (const GridDrawOp& op : ops) {
    if (op.kind == GridDrawOp::Kind::kText && op.text == snapshot.enteredCall) return true;
  }
  return false;
}

class WindowAgainstHost : public engine_test::EngineTest {
 protected:
  void TearDown() override {
    g_bWindowLinkReady = 0;
    g_windowBandNames.clear();
    g_strEnteredCall.clear();
    g_nCurrentBand = -1;
    g_dLastSp1Frequency = 0.0;
    {
      const ModuleLockGuard lock(g_moduleLock);
      g_bandCallRows = {};
      g_bandMultipliers = {};
    }
    EngineTest::TearDown();
  }
};

TEST_F(WindowAgainstHost, RefreshAndLayoutSeeWholeTablesWhileTheHostChangesThem) {
  Reset();
  std::atomic<bool> hostDone{false};
  std::atomic<int> refreshes{0};
  std::atomic<int> refreshesDuringHostWork{0};
  std::atomic<int> broken{0};
  std::atomic<int> titlesWrong{0};

  std::thread window([&] {
    AlternatingHost host;
    WindowRefresh refresh(host);
    while (!hostDone.load()) {
      const std::string title = refresh.Run();
      if (title.rfind("SKOLP-NY-RTTY ", 0) != 0) ++titlesWrong;
      const GridSnapshot snapshot = TakeGridSnapshot();
      if (!IsWhole(snapshot, LayoutGrid(snapshot, {0, 0, 386, 182}))) ++broken;
      ++refreshes;
    }
    refresh.Finish();
  });

  int rounds = 0;
  const auto deadline = std::chrono::steady_clock::now() + kRunTime;
  while (rounds < kMinimumRounds || std::chrono::steady_clock::now() < deadline) {
    const int before = refreshes.load();
    HostRound(rounds++);
    if (refreshes.load() != before) ++refreshesDuringHostWork;
  }
  hostDone = true;
  window.join();

  EXPECT_GE(rounds, kMinimumRounds);
  // The two threads really ran side by side.
  EXPECT_GT(refreshesDuringHostWork.load(), 0);
  EXPECT_EQ(broken.load(), 0) << "of " << refreshes.load() << " paintings";
  EXPECT_EQ(titlesWrong.load(), 0);
}

}  // namespace
