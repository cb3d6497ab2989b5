// The Multiplier window's thread, as the host's thread starts and stops it.
//
// StartMultiplierWindow creates a thread that constructs a Multiplier, publishes it in
// g_pMultiplierDlg and runs it modally; when the modal run ends it clears g_pMultiplierDlg,
// destroys the object (which releases its link to the host) and, as its very last act, signals
// that it has finished. Start returns once the thread has published the object (or found one
// running), so a window started is a window the next call sees.
//
// StopMultiplierWindow is the unload path. It may run inside DLL_PROCESS_DETACH, under the
// loader lock: there, waiting for the thread's handle deadlocks (ending a thread takes the
// loader lock), so it waits for the thread's "finished" signal instead, and while it waits it
// serves the calls the window's thread makes into the host's apartment (a refresh in flight,
// the release of the window's link), which would otherwise never return. A thread whose window
// the operator closed may still be releasing its link when the module unloads; the unload waits
// for it the same way when the module's objects are destroyed.
//
// All three run on the host's thread only.
#pragma once

// Starts a window thread unless one runs. Returns once the thread has published its window
// object (or after a few seconds when the thread cannot start).
void StartMultiplierWindow();

// When a window thread runs: asks the window to stop (a window still being created ends as
// soon as it exists), closes it synchronously, waits for the thread to finish (a few seconds
// at most) and then 20 ms more.
void StopMultiplierWindow();

// True while g_pMultiplierDlg is set: from StartMultiplierWindow until the window is destroyed.
bool IsMultiplierWindowRunning();
