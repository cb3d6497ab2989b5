#include "multiplier_window/info_button_win32.h"

#include "multiplier_window/gdi_win32.h"
#include "multiplier_window/mem_dc_win32.h"

void PaintGridOps(HDC dc, const std::vector<GridDrawOp>& ops) {
  SetBkMode(dc, TRANSPARENT);
  for (const GridDrawOp& op : ops) {
    if (op.kind == GridDrawOp::Kind::kFill) {
      const RECT rect{op.rect.left, op.rect.top, op.rect.right, op.rect.bottom};
      const ScopedBrush brush(CreateSolidBrush(RGB(op.color.red, op.color.green, op.color.blue)));
      if (brush) FillRect(dc, &rect, brush.get());
    } else {
      TextOutA(dc, op.x, op.y, op.text.data(), static_cast<int>(op.text.size()));
    }
  }
}

void CCqWwInfoButton::DrawItem(const DRAWITEMSTRUCT& item) {
  const GridRect rect{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
  const std::vector<GridDrawOp> ops = LayoutGrid(TakeGridSnapshot(), rect);
  const CMemDC offScreen(item.hDC);
  PaintGridOps(offScreen.Get(), ops);
}
