// The Multiplier window of Stats.dll as the host's thread sees it: a real window on a thread of
// its own (window_thread_win32.h).
#include <windows.h>

#include "frame/seams.h"
#include "multiplier_window/multiplier_dialog_win32.h"
#include "multiplier_window/window_state.h"
#include "multiplier_window/window_thread_win32.h"
#include "platform/module_lock.h"

namespace {

class Win32MultiplierWindow final : public MultiplierWindowControl {
 public:
  bool IsOpen() override { return IsMultiplierWindowRunning(); }
  void Start() override { StartMultiplierWindow(); }
  // The window sets the timer itself, on its own thread, which a timer belongs to. A window
  // that does not exist yet, or no more, gets nothing.
  void RearmTimer() override {
    HWND window = nullptr;
    {
      const ModuleLockGuard lock(g_moduleLock);
      if (g_pMultiplierDlg != nullptr) window = g_pMultiplierDlg->WindowUnderLock();
    }
    if (window != nullptr) PostMessageW(window, kRearmTimerMessage, 0, 0);
  }
  void Stop() override { StopMultiplierWindow(); }
};

}  // namespace

MultiplierWindowControl& DefaultMultiplierWindow() {
  static Win32MultiplierWindow window;
  return window;
}
