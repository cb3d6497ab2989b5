// The result operation. Not built yet: the report is empty; only the host link at its end runs.
#include <string>

#include "frame/entry_points.h"
#include "frame/host_link.h"

namespace {
std::string g_resultText;
}  // namespace

extern "C" const char* SKOLP_CDECL GetResult0(int*) {
  g_resultText.clear();
  if (g_bHostModeSent == 0) SendHostModeCommands();
  return g_resultText.c_str();
}
