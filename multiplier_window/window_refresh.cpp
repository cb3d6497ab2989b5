#include "multiplier_window/window_refresh.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <string>

#include "engine/tables.h"
#include "frame/module_objects.h"
#include "frame/seams.h"
#include "multiplier_window/window_state.h"
#include "platform/module_lock.h"

namespace {

constexpr char kEmptyCell[] = "   -";
constexpr std::size_t kRowCells = 5;
constexpr char kCallTime[] = "%H:%M";
constexpr char kWorkedWithTitle[] = "SKOLP-NY-RTTY worked with ";
constexpr char kYearTitle[] = "SKOLP-NY-RTTY ";
constexpr char kWorkedOnTitle[] = "  DXCC worked on ";
// A change of the host's frequency beyond this many Hz makes the window send "<SP1>".
constexpr double kSp1Step = 300.0;

// Cells 1 to 4 of every row back to "   -", then the mode, time and continent of the last QSO
// with `call` on each band. A row without its five cells (no reset has built it) gets them,
// the band name in front.
void RebuildBandRows(const std::string& call) {
  const ModuleLockGuard lock(g_moduleLock);
  for (int k = 0; k < kContestBandCount; ++k) {
    std::vector<std::string>& row = g_bandCallRows[k];
    if (row.empty()) row.emplace_back(kContestBands[k]);
    if (row.size() < kRowCells) row.resize(kRowCells);
    for (std::size_t cell = 1; cell < kRowCells; ++cell) row[cell] = kEmptyCell;
  }
  if (call.empty()) return;
  const std::size_t bands =
      g_windowBandNames.size() < kContestBandCount ? g_windowBandNames.size() : kContestBandCount;
  g_qsoList.ForEach([&](const CInfo& record) {
    if (record.m_call != call) return;
    for (std::size_t k = 0; k < bands; ++k) {
      if (record.m_band != g_windowBandNames[k]) continue;
      std::vector<std::string>& row = g_bandCallRows[k];
      row[1] = record.m_mode;
      row[2] = record.m_time.Format(kCallTime);
      row[3] = record.m_continent;
    }
  });
}

std::string ContestYear() {
  const ModuleLockGuard lock(g_moduleLock);
  return g_strContestYear;
}

}  // namespace

int BandIndexOfFrequency(double hz) {
  struct Band {
    double megahertz;
    int index;
  };
  static constexpr Band kBands[] = {{1, 0}, {3, 1}, {7, 2}, {14, 3}, {21, 4}, {28, 5}};
  // Compared as a double: a value far outside the int range must not overflow a conversion.
  const double megahertz = std::trunc(hz / 1000000.0);
  for (const Band& band : kBands) {
    if (megahertz == band.megahertz) return band.index;
  }
  return -1;
}

void WindowRefresh::LinkOnce() {
  if (m_linked) return;
  m_linked = true;
  m_link.Connect();
  if (g_bWindowLinkReady != 0) return;
  g_windowBandNames.assign(kContestBands.begin(), kContestBands.end());
  m_link.SendCommand("<MODE:RTTY>");
  m_link.SendCommand("<BAUDRATE:45.45>");
  g_bWindowLinkReady = 1;
}

std::string WindowRefresh::Run() {
  LinkOnce();

  g_strEnteredCall = m_link.GetEnteredCall().value_or(std::string());
  RebuildBandRows(g_strEnteredCall);

  const std::optional<double> frequency = m_link.GetFrequency();
  if (frequency && std::fabs(*frequency - g_dLastSp1Frequency) > kSp1Step) {
    m_link.SendCommand("<SP1>");
    g_dLastSp1Frequency = *frequency;
  }
  g_nCurrentBand = frequency ? BandIndexOfFrequency(*frequency) : -1;

  if (!g_strEnteredCall.empty()) return kWorkedWithTitle + g_strEnteredCall;
  std::string title = kYearTitle + ContestYear() + kWorkedOnTitle;
  if (g_nCurrentBand >= 0) title += kContestBands[g_nCurrentBand];
  return title;
}

void WindowRefresh::Finish() {
  if (!m_linked) return;
  m_linked = false;
  m_link.Disconnect();
}
