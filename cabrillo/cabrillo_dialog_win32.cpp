// The Cabrillo header dialog Cabrillo from template 101, in Stats.dll.
//
// Cabrillo only moves texts between its controls and its members; EditCabrilloHeader
// (cabrillo_header.cpp) decides what is loaded into it and what is kept.
#include <windows.h>

#include <string>

#include "cabrillo/cabrillo_dialog.h"
#include "resources/resource.h"

namespace {

// The module whose resources hold the template: Stats.dll, wherever this code is linked.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::string WindowTextA(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The header dialog. It handles no message of its own: OK moves the controls' texts into the
// members and ends the dialog with IDOK; Cancel, Esc and the close box end it with IDCANCEL and
// move nothing. Created without a parent window.
class Cabrillo {
 public:
  // Runs the dialog modally: IDOK, IDCANCEL, or -1 when it could not be shown.
  INT_PTR DoModal() {
    return DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_CABRILLO), nullptr, &DialogProc,
                           reinterpret_cast<LPARAM>(this));
  }

  CabrilloDialogValues m_values;

 private:
  static void FillLists(HWND dialog) {
    for (const CabrilloControl& control : CabrilloControls()) {
      for (const char* entry : control.list) {
        SendDlgItemMessageA(dialog, control.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
      }
    }
  }

  // A combo box shows the first entry of its list that begins with the member's text, letter
  // case ignored, or else the text itself in its edit field.
  void DoDataExchange(HWND dialog, bool save) {
    for (const CabrilloControl& control : CabrilloControls()) {
      std::string& member = m_values.*control.member;
      if (save) {
        member = WindowTextA(GetDlgItem(dialog, control.id));
      } else if (control.list.empty() ||
                 SendDlgItemMessageA(dialog, control.id, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(member.c_str())) == CB_ERR) {
        SetDlgItemTextA(dialog, control.id, member.c_str());
      }
    }
  }

  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Cabrillo*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
      case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        FillLists(dialog);
        reinterpret_cast<Cabrillo*>(lParam)->DoDataExchange(dialog, false);
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
          self->DoDataExchange(dialog, true);
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        }
        return FALSE;
      default:
        return FALSE;
    }
  }
};

}  // namespace

bool RunCabrilloHeaderDialog(CabrilloDialogValues& values) {
  Cabrillo dialog;
  dialog.m_values = values;
  if (dialog.DoModal() != IDOK) return false;
  values = dialog.m_values;
  return true;
}
