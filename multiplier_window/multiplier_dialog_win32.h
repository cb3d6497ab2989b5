// Multiplier: the Multiplier window, a dialog from template 105 run modally on a thread of its
// own (window_thread_win32.h). It follows the host: timer 1442, a one-shot of 300 ms, drives a
// refresh (WindowRefresh), whose title the dialog shows and whose result its grid button paints.
//
// The dialog itself is a shell: it places the window where the settings say, keeps the
// position keys up to date while the cursor is over it, keeps the grid filling the client area,
// and turns the timer into refreshes. Everything it handles runs on the window's thread.
//
// The host's thread reaches it only through g_pMultiplierDlg, under the module lock, and only
// through the calls marked for it: they read the window handle (null before the window exists
// and after it is destroyed) and ask the window to stop; the window is then told by a message.
#pragma once

#include <windows.h>

#include "multiplier_window/info_button_win32.h"
#include "multiplier_window/window_refresh.h"

// The timer that drives the refresh, and its period.
inline constexpr UINT_PTR kRefreshTimerId = 1442;
inline constexpr UINT kRefreshPeriodMs = 300;
// Posted by the host's thread to have the window set its refresh timer again: a timer belongs
// to the thread of its window and is set there.
inline constexpr UINT kRearmTimerMessage = WM_APP + 0x1442;

class Multiplier {
 public:
  Multiplier();
  Multiplier(const Multiplier&) = delete;
  Multiplier& operator=(const Multiplier&) = delete;
  // Balances the window's link to the host (on the window's thread).
  ~Multiplier();

  // Creates the window from template 105 with no owner and runs it modally on the calling
  // thread; returns how it ended (IDCANCEL for the close box, Esc or a stop; -1 when the window
  // could not be created).
  INT_PTR DoModal();

  // Host's thread, with the module lock held: the window handle, null while there is none.
  HWND WindowUnderLock() const { return m_hWnd; }
  // Host's thread, with the module lock held: no refresh runs from now on, and a window that
  // does not exist yet ends as soon as it does. Returns the window handle, null while there is
  // none.
  HWND RequestStopUnderLock();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL OnInitDialog();
  void OnTimer(UINT_PTR id);
  void OnRearmTimer();
  void OnSize(int clientWidth, int clientHeight);
  void OnSetCursor();
  void OnClose();
  bool IsStopRequested() const;

  HWND m_hWnd = nullptr;         // written under the module lock; read by others under it
  bool m_stopRequested = false;  // guarded by the module lock
  CCqWwInfoButton m_btnGrid;
  WindowRefresh m_refresh;
};
