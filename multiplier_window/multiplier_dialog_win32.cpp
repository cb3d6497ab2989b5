#include "multiplier_window/multiplier_dialog_win32.h"

#include <algorithm>
#include <string>

#include "frame/seams.h"
#include "frame/settings.h"
#include "multiplier_window/window_state.h"
#include "platform/module_lock.h"
#include "resources/resource.h"

// The image the module was loaded from, which carries template 105 and icon 113.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// Where a window goes whose position was never stored (or was stored as 0).
constexpr int kDefaultWindowX = 10;
constexpr int kDefaultWindowY = 400;
// The grid keeps this margin to the client area: at (1, 1), 4 pixels narrower and lower.
constexpr int kGridInset = 1;
constexpr int kGridShrink = 4;

}  // namespace

Multiplier::Multiplier() : m_refresh(*GetSeams().hostLink) {}

Multiplier::~Multiplier() { m_refresh.Finish(); }

INT_PTR Multiplier::DoModal() {
  return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_MULTIPLIER), nullptr,
                         &Multiplier::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND Multiplier::RequestStopUnderLock() {
  m_stopRequested = true;
  return m_hWnd;
}

bool Multiplier::IsStopRequested() const {
  const ModuleLockGuard lock(g_moduleLock);
  return m_stopRequested;
}

INT_PTR CALLBACK Multiplier::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Multiplier*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    {
      const ModuleLockGuard lock(g_moduleLock);
      self->m_hWnd = window;
    }
  }
  auto* self = reinterpret_cast<Multiplier*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  // Nothing may unwind through the system's code that called us; a handler that fails leaves
  // the message to the default processing.
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR Multiplier::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case kRearmTimerMessage:
      OnRearmTimer();
      return TRUE;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return FALSE;
    case WM_SETCURSOR:
      OnSetCursor();
      return FALSE;
    case WM_DRAWITEM:
      if (wParam != IDC_GRID) return FALSE;
      m_btnGrid.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        OnClose();
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_NCDESTROY: {
      const ModuleLockGuard lock(g_moduleLock);
      m_hWnd = nullptr;
      return FALSE;
    }
    default:
      return FALSE;
  }
}

BOOL Multiplier::OnInitDialog() {
  if (IsStopRequested()) {
    EndDialog(m_hWnd, IDCANCEL);
    return TRUE;
  }
  m_btnGrid.Attach(GetDlgItem(m_hWnd, IDC_GRID));

  g_nWindowX = ReadSettingInt(kKeyWindowX);
  g_nWindowY = ReadSettingInt(kKeyWindowY);
  if (g_nWindowX == 0) g_nWindowX = kDefaultWindowX;
  if (g_nWindowY == 0) g_nWindowY = kDefaultWindowY;
  SetWindowPos(m_hWnd, nullptr, g_nWindowX, g_nWindowY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  if (HICON icon = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(IDI_MULTIPLIER))) {
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  SetTimer(m_hWnd, kRefreshTimerId, kRefreshPeriodMs, nullptr);
  return TRUE;
}

void Multiplier::OnTimer(UINT_PTR id) {
  if (id != kRefreshTimerId) return;
  // A one-shot: only the initialisation and the call check set it again.
  KillTimer(m_hWnd, kRefreshTimerId);
  if (IsStopRequested()) return;
  const std::string title = m_refresh.Run();
  SetWindowTextA(m_hWnd, title.c_str());
  if (m_btnGrid.Handle() != nullptr) InvalidateRect(m_btnGrid.Handle(), nullptr, FALSE);
}

void Multiplier::OnRearmTimer() {
  if (IsStopRequested()) return;
  SetTimer(m_hWnd, kRefreshTimerId, kRefreshPeriodMs, nullptr);
}

void Multiplier::OnSize(int clientWidth, int clientHeight) {
  HWND grid = GetDlgItem(m_hWnd, IDC_GRID);
  if (grid == nullptr) return;
  MoveWindow(grid, kGridInset, kGridInset, std::max(0, clientWidth - kGridShrink),
             std::max(0, clientHeight - kGridShrink), TRUE);
}

void Multiplier::OnSetCursor() {
  RECT rect;
  if (!GetWindowRect(m_hWnd, &rect)) return;
  if (rect.left != g_nWindowX) {
    g_nWindowX = rect.left;
    WriteSettingInt(kKeyWindowX, g_nWindowX);
  }
  if (rect.top != g_nWindowY) {
    g_nWindowY = rect.top;
    WriteSettingInt(kKeyWindowY, g_nWindowY);
  }
}

// Ends the modal run at once, also from inside a call to the host that is waiting for the
// host's thread: a posted command would wait until that call returns.
void Multiplier::OnClose() {
  KillTimer(m_hWnd, kRefreshTimerId);
  EndDialog(m_hWnd, IDCANCEL);
}
