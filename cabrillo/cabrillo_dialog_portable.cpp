// Outside Windows there is no dialog to show: nothing ends with OK.
#include "cabrillo/cabrillo_dialog.h"

bool RunCabrilloHeaderDialog(CabrilloDialogValues&) { return false; }
