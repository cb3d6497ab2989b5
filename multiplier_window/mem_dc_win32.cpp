#include "multiplier_window/mem_dc_win32.h"

CMemDC::CMemDC(HDC target) : m_target(target) {
  if (GetClipBox(target, &m_covered) == ERROR) return;
  const int width = m_covered.right - m_covered.left;
  const int height = m_covered.bottom - m_covered.top;
  if (width <= 0 || height <= 0) return;
  ScopedDc memory(CreateCompatibleDC(target));
  ScopedBitmap bitmap(CreateCompatibleBitmap(target, width, height));
  if (!memory || !bitmap) return;
  m_previousBitmap = SelectObject(memory.get(), bitmap.get());
  if (m_previousBitmap == nullptr || m_previousBitmap == HGDI_ERROR) return;
  SetWindowOrgEx(memory.get(), m_covered.left, m_covered.top, nullptr);
  m_memory = std::move(memory);
  m_bitmap = std::move(bitmap);
  m_offScreen = true;
}

CMemDC::~CMemDC() {
  if (!m_offScreen) return;
  BitBlt(m_target, m_covered.left, m_covered.top, m_covered.right - m_covered.left,
         m_covered.bottom - m_covered.top, m_memory.get(), m_covered.left, m_covered.top, SRCCOPY);
  SelectObject(m_memory.get(), m_previousBitmap);
}
