// The Multiplier grid's layout: which rectangle is filled in which colour and which text goes
// to which point, as a list of draw operations that a painter executes in order. Portable and
// pure: the Win32 painter only carries the operations out.
//
// Two views. With no call typed, the multiplier view: the labels worked on the current band,
// sorted, five pixels in and 40 pixels apart, wrapping 15 pixels lower before the right edge.
// With a call typed, the call view: a header and the band rows 80m to 10m, each 1/7 of the
// item's height, with the row of the current band marked (160m has a marking strip but no
// text row).
//
// The painting's inputs are shared with the host's thread, so the painter takes a snapshot of
// them under the module lock (TakeGridSnapshot) and lays out the copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/tables.h"

// A rectangle in the item's pixel coordinates; right and bottom are exclusive.
struct GridRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const GridRect&) const = default;
};

struct GridColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const GridColor&) const = default;
};

inline constexpr GridColor kMultiplierViewColor{255, 250, 198};
inline constexpr GridColor kCallViewColor{255, 255, 198};
inline constexpr GridColor kCurrentBandColor{198, 255, 255};

// One step of a painting: a solid fill of `rect`, or `text` drawn in one piece with its
// top-left corner at (x, y), on a transparent background and without clipping.
struct GridDrawOp {
  enum class Kind { kFill, kText };
  Kind kind = Kind::kFill;
  GridRect rect;
  GridColor color;
  int x = 0;
  int y = 0;
  std::string text;
  bool operator==(const GridDrawOp&) const = default;
};

// What one painting shows.
struct GridSnapshot {
  std::string enteredCall;
  int currentBand = -1;  // 0..5; any other value means none
  BandTextLists bandCallRows;
  std::vector<std::string> multipliers;  // the labels worked on the current band
};

// Copies the inputs of a painting: g_strEnteredCall, g_nCurrentBand, and under the module lock
// g_bandCallRows and the current band's list of g_bandMultipliers. Window thread only.
GridSnapshot TakeGridSnapshot();

// The painting of `snapshot` into an item whose rectangle is `item`. Sorts a copy of the
// labels (byte by byte, so digits before capitals); a row cell that is missing is not drawn.
std::vector<GridDrawOp> LayoutGrid(const GridSnapshot& snapshot, const GridRect& item);
