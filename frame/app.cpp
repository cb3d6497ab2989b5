#include "frame/app.h"

#include <chrono>
#include <thread>

#include "frame/seams.h"

bool CTestApp::InitInstance() { return true; }

int CTestApp::ExitInstance(bool windowCleanup) {
  if (windowCleanup) {
    MultiplierWindowControl& window = *GetSeams().multiplierWindow;
    if (window.IsOpen()) window.Stop();
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return 0;
}
