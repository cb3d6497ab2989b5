// The host-thread use of the host link: sending the mode commands once per load.
#pragma once

// Set once the host-thread link has sent "<MODE:RTTY>" and "<BAUDRATE:45.45>"; 0 at load.
extern int g_bHostModeSent;

// Called at the end of GetResult0 while g_bHostModeSent is 0. Does nothing while the
// Multiplier setting is on (the window then links to the host itself); otherwise connects,
// sends the two mode commands and sets g_bHostModeSent when an interface was obtained, and
// always balances the connection's COM initialisation.
void SendHostModeCommands();
