#include "frame/host_link.h"

#include "frame/module_objects.h"
#include "frame/seams.h"

int g_bHostModeSent = 0;

void SendHostModeCommands() {
  if (g_nUseMultiplier != 0) return;
  HostLink& link = *GetSeams().hostLink;
  if (link.Connect()) {
    link.SendCommand("<MODE:RTTY>");
    link.SendCommand("<BAUDRATE:45.45>");
    g_bHostModeSent = 1;
  }
  link.Disconnect();
}
