// The operator: acts on the module's dialogs, message boxes and windows the way a person at
// the keyboard would, from a thread of its own while the host's thread sits in the module's
// call (a modal dialog runs its own message loop there).
//
// An Operator works on one window at a time, the one the last WaitForWindow found. Each
// action returns false and records a failure when it could not be done; a scenario reads
// Failures() at the end. Presses and closes are posted, not sent: a press that opens another
// dialog must not keep the operator from handling that one.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/com_win32.h"

class Operator {
 public:
  // Waits until a visible top-level window of this process has exactly this caption, and makes
  // it the window the other actions act on.
  bool WaitForWindow(const std::string& caption, DWORD timeoutMs = 5000);
  // Waits until the current window is gone (closed or destroyed).
  bool WaitUntilClosed(DWORD timeoutMs = 5000);

  // Types `text` into the edit (or other) control `id`, replacing what it held.
  bool SetText(int id, const std::string& text);
  // The text of control `id`, or of the window itself for id 0.
  std::string GetText(int id);
  // Sets check box `id` checked or unchecked.
  bool SetCheck(int id, bool checked);
  // Selects the first entry of combo box `id` that begins with `text` (ignoring case), and
  // tells the dialog the selection changed.
  bool SelectComboText(int id, const std::string& text);
  // Clicks button `id` (its BN_CLICKED notification to the dialog).
  bool PressButton(int id);
  // The close box of the title bar.
  bool Close();
  // The Esc key.
  bool PressEscape();
  // Writes the current window as it is on the screen (frame included) to a 24-bit BMP file.
  bool Capture(const std::string& bmpPath);

  HWND Window() const { return m_window; }
  const std::vector<std::string>& Failures() const { return m_failures; }

 private:
  bool Fail(const std::string& what);
  HWND Control(int id, const char* action);

  HWND m_window = nullptr;
  std::string m_caption;
  std::vector<std::string> m_failures;
};

// The visible top-level windows of this process, in z-order, and their captions.
struct TopLevelWindow {
  HWND window;
  std::string caption;
};
std::vector<TopLevelWindow> ProcessTopLevelWindows(bool visibleOnly);

// Writes what the screen shows of `window` (frame included) to a 24-bit BMP file; BitBlt from
// its window DC, since PrintWindow draws nothing useful under Wine.
bool CaptureWindowToBmp(HWND window, const std::string& bmpPath);

// Runs an operator's actions on a thread of its own, started at construction.
class OperatorThread {
 public:
  explicit OperatorThread(std::function<void(Operator&)> actions);
  OperatorThread(const OperatorThread&) = delete;
  OperatorThread& operator=(const OperatorThread&) = delete;
  // Waits for the thread to end (without pumping: finish with FinishPumping first when this
  // thread owns windows the actions wait for).
  ~OperatorThread();

  // Waits for the thread to end while dispatching this thread's messages; false when it did
  // not end within `timeoutMs`.
  bool FinishPumping(DWORD timeoutMs);
  // The failures the actions recorded, once the thread ended; before that, that it has not.
  std::vector<std::string> Failures() const;

 private:
  static DWORD WINAPI Main(void* self);

  std::function<void(Operator&)> m_actions;
  Operator m_operator;
  ScopedHandle m_thread;
};
