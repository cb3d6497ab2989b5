#include "message_pump.h"

namespace {

void DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Waits for `handle` (or only for messages when null) at most `milliseconds`.
DWORD WaitForHandleOrMessage(HANDLE handle, DWORD milliseconds) {
  const DWORD count = handle != nullptr ? 1 : 0;
  return MsgWaitForMultipleObjectsEx(count, handle != nullptr ? &handle : nullptr, milliseconds,
                                     QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    DispatchPending();
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const ULONGLONG left = deadline - now;
    WaitForHandleOrMessage(nullptr, left < 10 ? static_cast<DWORD>(left) : 10);
  }
}

bool PumpUntilSignalled(HANDLE handle, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD woke = WaitForHandleOrMessage(handle, left);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke == WAIT_OBJECT_0 + 1) {
      DispatchPending();
      continue;
    }
    return false;
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}
