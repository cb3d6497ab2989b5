// CCqWwInfoButton: the Multiplier window's grid, an owner-drawn push button that fills almost
// the whole window and paints one of the two views of the grid layout (grid_layout.h).
//
// It only executes the layout's draw operations: a painting snapshots its inputs under the
// module lock, lays them out, and draws them off screen (CMemDC) so that the button reaches the
// screen in one copy. Painting runs on the window's thread only.
#pragma once

#include <windows.h>

#include <vector>

#include "multiplier_window/grid_layout.h"

class CCqWwInfoButton {
 public:
  // Binds the object to the dialog's control (the button with the owner-draw style).
  void Attach(HWND button) { m_hWnd = button; }
  HWND Handle() const { return m_hWnd; }

  // The owner-draw step, for the WM_DRAWITEM the dialog receives about this button: paints the
  // current view into the item's device context, which stays the caller's.
  void DrawItem(const DRAWITEMSTRUCT& item);

 private:
  HWND m_hWnd = nullptr;
};

// Carries out `ops` in order on `dc`: fills with solid brushes, texts with TextOut on a
// transparent background in the context's current font and text colour.
void PaintGridOps(HDC dc, const std::vector<GridDrawOp>& ops);
