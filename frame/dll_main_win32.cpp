// The library's load and unload: the module-wide objects are constructed before DllMain sees
// DLL_PROCESS_ATTACH and destroyed after it returns from DLL_PROCESS_DETACH.
#include <windows.h>

#include "frame/app.h"
#include "frame/host_dispatch_win32.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      DisableThreadLibraryCalls(instance);
      return theApp.InitInstance() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      // At process exit (reserved != NULL) every other thread is already gone, the window's
      // included: only FreeLibrary leaves a window to stop.
      theApp.ExitInstance(/*windowCleanup=*/reserved == nullptr);
      // With the other apartments gone, releasing the host's interface would call into freed
      // COM state; the process is ending, so the reference is simply dropped.
      if (reserved != nullptr) g_hostDispatch.Abandon();
      return TRUE;
    default:
      return TRUE;
  }
}
