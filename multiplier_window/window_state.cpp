#include "multiplier_window/window_state.h"

Multiplier* g_pMultiplierDlg = nullptr;
int g_bWindowLinkReady = 0;
std::vector<std::string> g_windowBandNames;
std::string g_strEnteredCall;
int g_nCurrentBand = -1;
double g_dLastSp1Frequency = 0.0;
int g_nWindowX = 0;
int g_nWindowY = 0;
