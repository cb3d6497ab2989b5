// ResetStats0: starts a contest run. It takes over the dates and the own call, empties the
// log, rebuilds the Multiplier window's band rows, runs the Cabrillo header step in an export
// run, reloads the settings and, with the Multiplier setting on, toggles the window start and
// begins a fresh "err.txt".
#include <string>

#include "cabrillo/cabrillo_header.h"
#include "engine/tables.h"
#include "engine/ubn_file.h"
#include "frame/entry_points.h"
#include "frame/module_objects.h"
#include "frame/seams.h"
#include "frame/settings.h"
#include "platform/module_lock.h"
#include "platform/text.h"

namespace {

void ResetTables(const COleDateTime& start, const COleDateTime& end, const char* ownCall) {
  ModuleLockGuard lock(g_moduleLock);
  g_startText = start.Format("%d.%m");
  g_strContestYear = start.Format("%Y");
  g_endText = end.Format("%d.%m.%Y");
  g_qsoList.RemoveAll();
  g_contestant = HostText(ownCall);
  g_bandList.assign(kContestBands.begin(), kContestBands.end());
  for (int k = 0; k < kContestBandCount; ++k) {
    g_bandCallRows[k] = {g_bandList[k], "-", "-", "-", "-"};
  }
  g_bandList.clear();
}

// The window starts at most every second reset: a reset that finds "Start" 0 starts it (when
// none runs) and stores 1, one that finds anything else stores 0.
void ToggleWindowStart() {
  g_nStartToggle = ReadSettingInt(kKeyStart);
  if (g_nStartToggle == 0) {
    MultiplierWindowControl& window = *GetSeams().multiplierWindow;
    if (!window.IsOpen()) {
      window.Start();
      WriteSettingText(kKeyStart, "1");
    }
  } else {
    WriteSettingText(kKeyStart, "0");
  }
}

}  // namespace

extern "C" int SKOLP_CDECL ResetStats0(const char*, int exportFlag, const char* ownCall,
                                       COleDateTime* contestStart, COleDateTime* contestEnd,
                                       const char* operatorName, const char*, const char*,
                                       const char*, const char*, const char*, const char*,
                                       const char*, const char*, const char*, int, int, int,
                                       double, double, const char*, const char*, const char*) {
  // An exception must not reach the host; the reset reports 1 whatever happens.
  try {
    ResetTables(ReadDateTime(contestStart), ReadDateTime(contestEnd), ownCall);

    g_exportFlag = exportFlag;
    if (g_exportFlag != 0) {
      EditCabrilloHeader(g_contestant);
      WriteSettingText(kKeyStart, "1");
    }

    LoadOwnSettings();
    if (g_strMyName.empty()) g_strMyName = HostText(operatorName);
    if (g_nUseMultiplier == 0) return 1;

    ToggleWindowStart();
    StartUbnFile();
  } catch (...) {
  }
  return 1;
}
