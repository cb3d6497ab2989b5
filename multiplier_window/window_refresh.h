// The Multiplier window's refresh: what one tick of its timer learns from the host and leaves
// for the painting. Portable: the window shell kills the timer before it, sets the title it
// returns and invalidates the grid after it.
//
// One WindowRefresh belongs to one window and is used on that window's thread only. Its first
// Run links to the host on that thread: a host interface is usable only in the apartment that
// obtained it, so every window connects for itself, while the band names and the mode commands
// "<MODE:RTTY>" and "<BAUDRATE:45.45>" are set up and sent once per load (g_bWindowLinkReady).
// A window whose link found no host does not try again; it then reads no call and no
// frequency: the call is empty and no band is current.
//
// Run reads the QSO list and the contest year and rewrites the band rows under the module lock,
// and makes every host call outside it.
#pragma once

#include <string>

class HostLink;

class WindowRefresh {
 public:
  explicit WindowRefresh(HostLink& link) : m_link(link) {}
  WindowRefresh(const WindowRefresh&) = delete;
  WindowRefresh& operator=(const WindowRefresh&) = delete;

  // One refresh: links on the first call, reads the typed call into g_strEnteredCall, rewrites
  // cells 1 to 4 of every band row (the last QSO with the typed call per band), sends "<SP1>"
  // when the host moved more than 300 Hz since it was last sent, and sets g_nCurrentBand.
  // Returns the window title.
  std::string Run();

  // Balances the link made by Run; on the window's thread, before it ends. Releasing the host
  // interface there, while the host's thread still serves the window's apartment, leaves
  // nothing for the thread's end to release.
  void Finish();

 private:
  void LinkOnce();

  HostLink& m_link;
  bool m_linked = false;
};

// The band index of a frequency in Hz: its whole MHz, truncated toward zero, 1 160m (0),
// 3 80m (1), 7 40m (2), 14 20m (3), 21 15m (4), 28 10m (5); -1 for any other value.
int BandIndexOfFrequency(double hz);
