// The Multiplier window's module-wide state: what its refreshes learnt from the host and what
// its painting shows. It lives from load to unload and outlives every window: a window opened
// later in the same load starts from what the last one left.
//
// Threads: g_pMultiplierDlg is shared with the host's thread and guarded by the module lock.
// Everything else here is touched only by the window's thread; two windows never run at once,
// and the lock that publishes and clears g_pMultiplierDlg orders one window thread after the
// other.
#pragma once

#include <string>
#include <vector>

// The Multiplier dialog; defined by the Win32 build only.
class Multiplier;

// The running window object, null when none. Set by the window's thread before the window
// exists, cleared after it is destroyed. Guarded by the module lock.
extern Multiplier* g_pMultiplierDlg;

// Set once a window has linked to the host and sent the mode commands; 0 at load.
extern int g_bWindowLinkReady;
// The six contest band names, filled when the window first links; index = band index.
extern std::vector<std::string> g_windowBandNames;
// The call being typed in the host at the last refresh; "" without one.
extern std::string g_strEnteredCall;
// The band index of the host's frequency at the last refresh, -1 for none.
extern int g_nCurrentBand;
// The frequency (Hz) at which "<SP1>" was last sent; 0.0 at load.
extern double g_dLastSp1Frequency;
// The window's last known screen position (top-left corner); 0 at load.
extern int g_nWindowX;
extern int g_nWindowY;
