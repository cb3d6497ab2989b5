// CMemDC: an off-screen stand-in for a target device context during one painting, so that the
// picture reaches the screen in one copy and does not flicker.
//
// It covers the target's clip box: drawing uses the target's coordinates, goes to a bitmap of
// the covered size, and the destructor copies the covered rectangle to the same place in the
// target once. The memory context starts with the platform's defaults (font, black text,
// opaque background); nothing of the target's state is carried over. When the off-screen
// bitmap cannot be made (an empty clip box, GDI out of resources) drawing goes straight to the
// target instead. One painting, one thread; the target must outlive the CMemDC.
#pragma once

#include <windows.h>

#include "multiplier_window/gdi_win32.h"

class CMemDC {
 public:
  explicit CMemDC(HDC target);
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;
  // Delivers the picture to the target and frees the memory context and its bitmap.
  ~CMemDC();

  // Where to draw: the memory context, or the target when drawing off screen failed.
  HDC Get() const { return m_offScreen ? m_memory.get() : m_target; }
  bool IsOffScreen() const { return m_offScreen; }

 private:
  ScopedBitmap m_bitmap;
  HGDIOBJ m_previousBitmap = nullptr;
  HDC m_target;
  RECT m_covered{};
  bool m_offScreen = false;
  ScopedDc m_memory;
};
