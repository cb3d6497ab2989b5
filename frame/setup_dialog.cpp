// SetupSet0: the operator edits the module's own two settings, the Multiplier window wanted
// and the operator name. It neither starts nor stops the Multiplier window.
#include <string>

#include "frame/entry_points.h"
#include "frame/module_objects.h"
#include "frame/seams.h"
#include "frame/settings.h"

extern "C" void SKOLP_CDECL SetupSet0() {
  try {
    // Both values are reloaded even when the dialog is then closed without OK.
    LoadOwnSettings();
    int useMultiplier = g_nUseMultiplier;
    std::string name = g_strMyName;
    if (!GetSeams().ui->RunSetupDialog(useMultiplier, name)) return;
    g_nUseMultiplier = useMultiplier;
    g_strMyName = name;
    WriteSettingInt(kKeyMultiplier, g_nUseMultiplier);
    WriteSettingText(kKeyMyName, g_strMyName);
  } catch (...) {
    // An exception must not reach the host.
  }
}
