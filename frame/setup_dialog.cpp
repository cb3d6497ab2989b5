// The setup dialog. Not built yet: nothing is shown.
#include "frame/entry_points.h"

extern "C" void SKOLP_CDECL SetupSet0() {}
