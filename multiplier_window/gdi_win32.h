// Owners for the GDI resources of the Multiplier window's painting: a memory device context and
// a GDI object (bitmap, brush). Each frees what it owns exactly once; none of them synchronises
// anything (the painting's GDI objects stay on the window's thread).
#pragma once

#include <windows.h>

#include <utility>

// A device context made with CreateCompatibleDC, deleted with DeleteDC.
class ScopedDc {
 public:
  explicit ScopedDc(HDC dc = nullptr) : m_dc(dc) {}
  ScopedDc(ScopedDc&& other) noexcept : m_dc(std::exchange(other.m_dc, nullptr)) {}
  ScopedDc& operator=(ScopedDc other) noexcept {
    std::swap(m_dc, other.m_dc);
    return *this;
  }
  ~ScopedDc() {
    if (m_dc != nullptr) DeleteDC(m_dc);
  }

  HDC get() const { return m_dc; }
  explicit operator bool() const { return m_dc != nullptr; }

 private:
  HDC m_dc;
};

// A GDI object (HBITMAP, HBRUSH, ...) deleted with DeleteObject. It must not be selected into a
// device context any more when the owner goes.
template <typename T>
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(T object = nullptr) : m_object(object) {}
  ScopedGdiObject(ScopedGdiObject&& other) noexcept
      : m_object(std::exchange(other.m_object, nullptr)) {}
  ScopedGdiObject& operator=(ScopedGdiObject other) noexcept {
    std::swap(m_object, other.m_object);
    return *this;
  }
  ~ScopedGdiObject() {
    if (m_object != nullptr) DeleteObject(m_object);
  }

  T get() const { return m_object; }
  explicit operator bool() const { return m_object != nullptr; }

 private:
  T m_object;
};

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
