// The module lock: one mutex for all state that the host's thread and the Multiplier window's
// thread share (the QSO list, the band rows, the worked-multiplier lists, the window pointer).
//
// Rules: the host's thread changes shared tables only while holding it; the window thread
// copies what it needs while holding it and paints from the copy; nobody holds it while calling
// into a window, a dialog, COM or another thread.
#pragma once

#include <mutex>

extern std::mutex g_moduleLock;

using ModuleLockGuard = std::lock_guard<std::mutex>;
