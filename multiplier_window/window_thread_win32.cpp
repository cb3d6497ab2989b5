#include "multiplier_window/window_thread_win32.h"

#include <windows.h>

#include <objbase.h>

#include <memory>
#include <utility>
#include <vector>

#include "frame/com_win32.h"
#include "multiplier_window/multiplier_dialog_win32.h"
#include "multiplier_window/window_state.h"
#include "platform/module_lock.h"

namespace {

// How long the host's thread waits for a window thread to get going, and to end.
constexpr DWORD kStartTimeoutMs = 5000;
constexpr DWORD kStopTimeoutMs = 3000;
// Lets a finished thread leave the module's code: its signal is not quite its last instruction.
constexpr DWORD kAfterStopMs = 20;

// One window thread, seen from the host's thread. Both events are manual-reset and belong to
// this record; the thread uses them and nothing else of it.
struct WindowThread {
  ScopedHandle started;   // the window object is published (or the thread gave up)
  ScopedHandle finished;  // the thread has left everything but its last instructions
  // Only to tell at unload whether the thread is still there: at process exit it has been
  // ended without signalling "finished".
  ScopedHandle thread;
};

// The window threads that may still run. Host's thread only.
class WindowThreads {
 public:
  WindowThreads() = default;
  WindowThreads(const WindowThreads&) = delete;
  WindowThreads& operator=(const WindowThreads&) = delete;
  // Unload, after the exit step: a thread whose window was closed may still be releasing its
  // link to the host, in the module's code. It must be out before the code goes.
  ~WindowThreads() { WaitUntilFinished(kStopTimeoutMs); }

  void Add(std::unique_ptr<WindowThread> thread) { m_threads.push_back(std::move(thread)); }

  // Forgets the threads that have finished.
  void Sweep() {
    std::erase_if(m_threads, [](const std::unique_ptr<WindowThread>& thread) {
      return IsSignalled(thread->finished.get());
    });
  }

  // Waits until every thread has finished, `timeoutMs` in all at most.
  void WaitUntilFinished(DWORD timeoutMs) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (const std::unique_ptr<WindowThread>& thread : m_threads) {
      if (IsSignalled(thread->finished.get()) || IsSignalled(thread->thread.get())) continue;
      const ULONGLONG now = GetTickCount64();
      if (now >= deadline) return;
      WaitServingHost(thread->finished.get(), static_cast<DWORD>(deadline - now));
    }
  }

 private:
  static bool IsSignalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

  static bool InSingleThreadedApartment() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    if (FAILED(CoGetApartmentType(&type, &qualifier))) return false;
    return type == APTTYPE_STA || type == APTTYPE_MAINSTA;
  }

  // The window's thread may be waiting for this thread's apartment, where the host's object
  // lives (a refresh asking the host, the release of its link): an apartment's modal wait
  // serves those calls, a plain wait would leave both threads waiting for each other.
  static void WaitServingHost(HANDLE event, DWORD timeoutMs) {
    if (InSingleThreadedApartment()) {
      DWORD index = 0;
      CoWaitForMultipleHandles(0, timeoutMs, 1, &event, &index);
    } else {
      WaitForSingleObject(event, timeoutMs);
    }
  }

  std::vector<std::unique_ptr<WindowThread>> m_threads;
};

WindowThreads& Threads() {
  static WindowThreads threads;
  return threads;
}

// g_pMultiplierDlg for the lifetime of the object, also when the modal run fails.
class Publication {
 public:
  explicit Publication(Multiplier* dialog) : m_dialog(dialog) {}
  Publication(const Publication&) = delete;
  Publication& operator=(const Publication&) = delete;
  ~Publication() {
    const ModuleLockGuard lock(g_moduleLock);
    if (g_pMultiplierDlg == m_dialog) g_pMultiplierDlg = nullptr;
  }

 private:
  Multiplier* m_dialog;
};

// Steps 1 to 4 of the window thread; 1 when a window already ran.
DWORD RunWindow(HANDLE started) {
  auto dialog = std::make_unique<Multiplier>();
  {
    const ModuleLockGuard lock(g_moduleLock);
    if (g_pMultiplierDlg != nullptr) return 1;
    g_pMultiplierDlg = dialog.get();
  }
  const Publication publication(dialog.get());
  SetEvent(started);
  dialog->DoModal();
  return 0;
}

DWORD WINAPI WindowThreadMain(void* parameter) {
  auto* thread = static_cast<WindowThread*>(parameter);
  const HANDLE started = thread->started.get();
  const HANDLE finished = thread->finished.get();
  DWORD result = 1;
  try {
    result = RunWindow(started);
  } catch (...) {
  }
  SetEvent(started);
  SetEvent(finished);
  return result;
}

}  // namespace

void StartMultiplierWindow() {
  WindowThreads& threads = Threads();
  threads.Sweep();
  auto thread = std::make_unique<WindowThread>();
  thread->started = ScopedHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  thread->finished = ScopedHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!thread->started || !thread->finished) return;
  thread->thread =
      ScopedHandle(CreateThread(nullptr, 0, &WindowThreadMain, thread.get(), 0, nullptr));
  if (!thread->thread) return;
  const HANDLE started = thread->started.get();
  threads.Add(std::move(thread));
  WaitForSingleObject(started, kStartTimeoutMs);
}

void StopMultiplierWindow() {
  HWND window = nullptr;
  {
    const ModuleLockGuard lock(g_moduleLock);
    if (g_pMultiplierDlg == nullptr) return;
    window = g_pMultiplierDlg->RequestStopUnderLock();
  }
  if (window != nullptr) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, kStopTimeoutMs, &ignored);
  }
  Threads().WaitUntilFinished(kStopTimeoutMs);
  Sleep(kAfterStopMs);
}

bool IsMultiplierWindowRunning() {
  const ModuleLockGuard lock(g_moduleLock);
  return g_pMultiplierDlg != nullptr;
}
