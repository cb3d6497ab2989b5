// The setup dialog Master from template 104, and the module's user interface in Stats.dll.
//
// Master only moves values between its two controls and its two members; SetupSet0
// (setup_dialog.cpp) decides what is loaded and stored.
#include <windows.h>

#include <string>

#include "cabrillo/cabrillo_dialog.h"
#include "frame/seams.h"
#include "resources/resource.h"

namespace {

// The module whose resources hold the templates: Stats.dll, wherever this code is linked.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::string WindowTextA(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(),
                                                      static_cast<int>(text.size()))));
  return text;
}

// The setup dialog. It handles no message of its own: OK moves the controls' values into the
// members and ends the dialog with IDOK; the close box or Esc ends it with IDCANCEL and moves
// nothing. Created without a parent window.
class Master {
 public:
  // Runs the dialog modally: IDOK, IDCANCEL, or -1 when it could not be shown.
  INT_PTR DoModal() {
    // The Unicode form keeps the Cyrillic caption of button 1, which the ANSI form would
    // turn into "??" on a Western system.
    return DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_SETUP), nullptr, &DialogProc,
                           reinterpret_cast<LPARAM>(this));
  }

  int m_bUseMultiplier = 0;  // check box 1015
  std::string m_strName;     // edit box 1000, its whole text, not trimmed

 private:
  void DoDataExchange(HWND dialog, bool save) {
    if (save) {
      m_bUseMultiplier = IsDlgButtonChecked(dialog, IDC_USE_MULTIPLIER) == BST_CHECKED ? 1 : 0;
      m_strName = WindowTextA(GetDlgItem(dialog, IDC_MY_NAME));
    } else {
      CheckDlgButton(dialog, IDC_USE_MULTIPLIER, m_bUseMultiplier ? BST_CHECKED : BST_UNCHECKED);
      SetDlgItemTextA(dialog, IDC_MY_NAME, m_strName.c_str());
    }
  }

  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Master*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
      case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<Master*>(lParam)->DoDataExchange(dialog, false);
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

class Win32Ui final : public ModuleUi {
 public:
  bool RunSetupDialog(int& useMultiplier, std::string& name) override {
    Master dialog;
    dialog.m_bUseMultiplier = useMultiplier;
    dialog.m_strName = name;
    if (dialog.DoModal() != IDOK) return false;
    useMultiplier = dialog.m_bUseMultiplier;
    name = dialog.m_strName;
    return true;
  }

  bool RunCabrilloDialog(CabrilloDialogValues& values) override {
    return RunCabrilloHeaderDialog(values);
  }
};

}  // namespace

ModuleUi& DefaultModuleUi() {
  static Win32Ui ui;
  return ui;
}
