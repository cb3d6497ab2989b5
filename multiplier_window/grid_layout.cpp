#include "multiplier_window/grid_layout.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "multiplier_window/window_state.h"
#include "platform/module_lock.h"

namespace {

constexpr int kLabelStartX = 5;
constexpr int kLabelStepX = 40;
constexpr int kLabelStepY = 15;
constexpr int kRowsPerItem = 7;

struct Placed {
  const char* text;
  int x;
  int y;
};
constexpr Placed kHeader[] = {
    {"Band", 20, 18}, {"Mode", 100, 18}, {"Time", 178, 18}, {"Continent", 245, 18}};
constexpr int kCallX = 140;
constexpr int kCallY = 0;
// Cells 0 to 3 of a band row: band name, mode, time, continent. Cell 4 is never shown.
constexpr int kCellX[] = {20, 100, 180, 260};

GridDrawOp Fill(const GridRect& rect, GridColor color) {
  GridDrawOp op;
  op.kind = GridDrawOp::Kind::kFill;
  op.rect = rect;
  op.color = color;
  return op;
}

GridDrawOp Text(std::string text, int x, int y) {
  GridDrawOp op;
  op.kind = GridDrawOp::Kind::kText;
  op.x = x;
  op.y = y;
  op.text = std::move(text);
  return op;
}

bool IsBandIndex(int band) { return band >= 0 && band < kContestBandCount; }

void LayOutMultiplierView(const GridSnapshot& snapshot, const GridRect& item,
                          std::vector<GridDrawOp>& ops) {
  ops.push_back(Fill(item, kMultiplierViewColor));
  if (!IsBandIndex(snapshot.currentBand)) return;
  std::vector<std::string> labels = snapshot.multipliers;
  std::sort(labels.begin(), labels.end());
  int x = kLabelStartX;
  int y = 0;
  for (std::string& label : labels) {
    ops.push_back(Text(std::move(label), x, y));
    x += kLabelStepX;
    if (x > item.right - kLabelStepX) {
      y += kLabelStepY;
      x = kLabelStartX;
    }
  }
}

void LayOutCallView(const GridSnapshot& snapshot, const GridRect& item,
                    std::vector<GridDrawOp>& ops) {
  ops.push_back(Fill(item, kCallViewColor));
  const int h = item.bottom / kRowsPerItem;
  if (IsBandIndex(snapshot.currentBand)) {
    ops.push_back(
        Fill({0, (snapshot.currentBand + 1) * h, item.right, (snapshot.currentBand + 2) * h},
             kCurrentBandColor));
  }
  ops.push_back(Text(kHeader[0].text, kHeader[0].x, kHeader[0].y));
  ops.push_back(Text(kHeader[1].text, kHeader[1].x, kHeader[1].y));
  ops.push_back(Text(snapshot.enteredCall, kCallX, kCallY));
  ops.push_back(Text(kHeader[2].text, kHeader[2].x, kHeader[2].y));
  ops.push_back(Text(kHeader[3].text, kHeader[3].x, kHeader[3].y));
  // 160m (band 0) has no text row: its strip sits right below the header.
  for (int band = 1; band < kContestBandCount; ++band) {
    const std::vector<std::string>& row = snapshot.bandCallRows[band];
    const std::size_t cells = std::min(row.size(), std::size(kCellX));
    for (std::size_t cell = 0; cell < cells; ++cell) {
      ops.push_back(Text(row[cell], kCellX[cell], (band + 1) * h));
    }
  }
}

}  // namespace

GridSnapshot TakeGridSnapshot() {
  GridSnapshot snapshot;
  snapshot.enteredCall = g_strEnteredCall;
  snapshot.currentBand = g_nCurrentBand;
  const ModuleLockGuard lock(g_moduleLock);
  snapshot.bandCallRows = g_bandCallRows;
  if (IsBandIndex(snapshot.currentBand)) {
    snapshot.multipliers = g_bandMultipliers[snapshot.currentBand];
  }
  return snapshot;
}

std::vector<GridDrawOp> LayoutGrid(const GridSnapshot& snapshot, const GridRect& item) {
  std::vector<GridDrawOp> ops;
  if (snapshot.enteredCall.empty()) {
    LayOutMultiplierView(snapshot, item, ops);
  } else {
    LayOutCallView(snapshot, item, ops);
  }
  return ops;
}
