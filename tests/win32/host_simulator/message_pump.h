// Waiting the way a host's thread must wait: dispatching its messages meanwhile. COM delivers
// calls from other apartments (the Multiplier window's thread asking the host object) as
// messages to the object's thread, and a modal dialog of the module on another thread may wait
// for this thread's windows; a thread blocked in a plain wait stalls them both.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches messages until `handle` is signalled (true) or `timeoutMs` has passed (false).
bool PumpUntilSignalled(HANDLE handle, DWORD timeoutMs);

// Dispatches messages for `milliseconds`.
void PumpFor(DWORD milliseconds);

// Dispatches messages until `done` holds (checked after each batch and at least every 10 ms);
// false when `timeoutMs` passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
