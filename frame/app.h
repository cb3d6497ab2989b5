// CTestApp: the module's application object. Load runs InitInstance, unload ExitInstance;
// `theApp` is the only instance.
#pragma once

class CTestApp {
 public:
  // The library start-up: shows nothing, opens no file, and reports success.
  bool InitInstance();
  // The exit step: stops a running Multiplier window (kills its timer, closes it
  // synchronously, waits 20 ms), then waits another 20 ms. `windowCleanup` is false at process
  // exit, when the window's thread is already gone and only the wait remains.
  int ExitInstance(bool windowCleanup = true);
};

extern CTestApp theApp;
