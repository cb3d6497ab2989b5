// Outside Windows the module shows no dialog: none ends with OK, so nothing a dialog would
// have confirmed is stored.
#include "cabrillo/cabrillo_dialog.h"
#include "frame/seams.h"

namespace {

class NoDialogs final : public ModuleUi {
 public:
  bool RunSetupDialog(int&, std::string&) override { return false; }
  bool RunCabrilloDialog(CabrilloDialogValues& values) override {
    return RunCabrilloHeaderDialog(values);
  }
};

}  // namespace

ModuleUi& DefaultModuleUi() {
  static NoDialogs ui;
  return ui;
}
