#include "multiplier_window/grid_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "multiplier_window/window_state.h"
#include "platform/module_lock.h"

// Failure messages show rectangles by their edges.
void PrintTo(const GridRect& r, std::ostream* out) {
  *out << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}

namespace {

struct PlacedText {
  std::string text;
  int x;
  int y;
  bool operator==(const PlacedText&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PlacedText& t) {
  return out << '"' << t.text << "\" at (" << t.x << ", " << t.y << ")";
}

std::vector<PlacedText> Texts(const std::vector<GridDrawOp>& ops) {
  std::vector<PlacedText> texts;
  for (const GridDrawOp& op : ops) {
    if (op.kind == GridDrawOp::Kind::kText) texts.push_back({op.text, op.x, op.y});
  }
  return texts;
}

std::vector<GridDrawOp> Fills(const std::vector<GridDrawOp>& ops) {
  std::vector<GridDrawOp> fills;
  for (const GridDrawOp& op : ops) {
    if (op.kind == GridDrawOp::Kind::kFill) fills.push_back(op);
  }
  return fills;
}

// The rows as the contest reset builds them, each cell 4 told apart so that drawing it shows.
BandTextLists ResetRows() {
  BandTextLists rows;
  for (int k = 0; k < kContestBandCount; ++k) {
    rows[k] = {std::string(kContestBands[k]), "   -", "   -", "   -", "cell4"};
  }
  return rows;
}

GridSnapshot CallView(int band, BandTextLists rows = ResetRows()) {
  GridSnapshot snapshot;
  snapshot.enteredCall = "SM5ABC";
  snapshot.currentBand = band;
  snapshot.bandCallRows = std::move(rows);
  return snapshot;
}

GridSnapshot MultiplierView(int band, std::vector<std::string> labels) {
  GridSnapshot snapshot;
  snapshot.currentBand = band;
  snapshot.multipliers = std::move(labels);
  return snapshot;
}

TEST(GridMultiplierView, WithoutABandIsAPlainAreaWhateverTheLabels) {
  const GridRect item{0, 0, 386, 182};
  for (const int band : {-1, 6}) {
    const std::vector<GridDrawOp> ops = LayoutGrid(MultiplierView(band, {"SM5", "DL"}), item);
    ASSERT_EQ(ops.size(), 1u) << band;
    EXPECT_EQ(ops[0].kind, GridDrawOp::Kind::kFill) << band;
    EXPECT_EQ(ops[0].rect, item) << band;
    EXPECT_EQ(ops[0].color, kMultiplierViewColor) << band;
  }
}

TEST(GridMultiplierView, LabelsAreSortedByteByByteAfterTheBackground) {
  struct Case {
    std::vector<std::string> labels;
    std::vector<std::string> drawn;
  };
  const Case kCases[] = {
      {{"SM5", "DL", "OH2", "9A"}, {"9A", "DL", "OH2", "SM5"}},
      // Bytes compare unsigned: a label with a byte above 127 goes last, not first.
      {{"\xC4X", "ZZ", "OH0", "OH"}, {"OH", "OH0", "ZZ", "\xC4X"}},
      {{"dl", "DL"}, {"DL", "dl"}},
  };
  for (const Case& c : kCases) {
    const std::vector<GridDrawOp> ops = LayoutGrid(MultiplierView(3, c.labels), {0, 0, 386, 182});
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops[0].kind, GridDrawOp::Kind::kFill) << c.labels[0];
    EXPECT_EQ(ops[0].color, kMultiplierViewColor) << c.labels[0];
    std::vector<std::string> drawn;
    for (const PlacedText& t : Texts(ops)) drawn.push_back(t.text);
    EXPECT_EQ(drawn, c.drawn) << c.labels[0];
  }
}

TEST(GridMultiplierView, LabelsWrapBeforeTheRightEdge) {
  struct Case {
    int right;
    int perLine;
  };
  // After a label x grows by 40 and the next line starts once x > right - 40.
  const Case kCases[] = {{200, 4}, {204, 4}, {205, 5}, {85, 2}, {84, 1}, {0, 1}, {-50, 1}};
  const std::vector<std::string> labels = {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9"};
  for (const Case& c : kCases) {
    const std::vector<PlacedText> texts =
        Texts(LayoutGrid(MultiplierView(2, labels), {0, 0, c.right, 182}));
    ASSERT_EQ(texts.size(), labels.size()) << c.right;
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
      EXPECT_EQ(texts[i], (PlacedText{labels[i], 5 + 40 * (i % c.perLine), 15 * (i / c.perLine)}))
          << "right " << c.right << ", label " << i;
    }
  }
}

TEST(GridCallView, HeaderAndRowsAtTheirPointsWithRowsOneSeventhHigh) {
  BandTextLists rows = ResetRows();
  rows[3] = {"20m", "RTTY", "09:30", "EU", "cell4"};
  const std::vector<GridDrawOp> ops = LayoutGrid(CallView(2, rows), {0, 0, 386, 182});
  // clang-format off
  const std::vector<PlacedText> expected = {
      {"Band", 20, 18},  {"Mode", 100, 18}, {"SM5ABC", 140, 0}, {"Time", 178, 18},
      {"Continent", 245, 18},
      {"80m", 20, 52},   {"   -", 100, 52}, {"   -", 180, 52},  {"   -", 260, 52},
      {"40m", 20, 78},   {"   -", 100, 78}, {"   -", 180, 78},  {"   -", 260, 78},
      {"20m", 20, 104},  {"RTTY", 100, 104}, {"09:30", 180, 104}, {"EU", 260, 104},
      {"15m", 20, 130},  {"   -", 100, 130}, {"   -", 180, 130}, {"   -", 260, 130},
      {"10m", 20, 156},  {"   -", 100, 156}, {"   -", 180, 156}, {"   -", 260, 156},
  };
  // clang-format on
  EXPECT_EQ(Texts(ops), expected);
  // The background first, the strip over it, the texts over both.
  ASSERT_GE(ops.size(), 2u);
  EXPECT_EQ(ops[0].kind, GridDrawOp::Kind::kFill);
  EXPECT_EQ(ops[0].rect, (GridRect{0, 0, 386, 182}));
  EXPECT_EQ(ops[0].color, kCallViewColor);
  EXPECT_EQ(ops[1].kind, GridDrawOp::Kind::kFill);
  EXPECT_EQ(ops[1].rect, (GridRect{0, 78, 386, 104}));
  EXPECT_EQ(ops[1].color, kCurrentBandColor);
  EXPECT_EQ(Fills(ops).size(), 2u);
}

TEST(GridCallView, TheStripMarksTheCurrentBandIncluding160mWhichHasNoRow) {
  struct Case {
    int band;
    GridRect item;
    std::optional<GridRect> strip;
  };
  const Case kCases[] = {
      {0, {0, 0, 386, 182}, GridRect{0, 26, 386, 52}},
      {1, {0, 0, 386, 182}, GridRect{0, 52, 386, 78}},
      {5, {0, 0, 386, 182}, GridRect{0, 156, 386, 182}},
      // The strip starts at x 0 whatever the item's left edge.
      {3, {4, 0, 300, 70}, GridRect{0, 40, 300, 50}},
      {2, {0, 0, 386, 6}, GridRect{0, 0, 386, 0}},
      {-1, {0, 0, 386, 182}, std::nullopt},
      {6, {0, 0, 386, 182}, std::nullopt},
  };
  for (const Case& c : kCases) {
    const std::vector<GridDrawOp> ops = LayoutGrid(CallView(c.band), c.item);
    const std::vector<GridDrawOp> fills = Fills(ops);
    ASSERT_EQ(fills.size(), c.strip ? 2u : 1u) << c.band;
    EXPECT_EQ(fills[0].rect, c.item) << c.band;
    if (c.strip) {
      EXPECT_EQ(fills[1].rect, *c.strip) << c.band;
      EXPECT_EQ(fills[1].color, kCurrentBandColor) << c.band;
    }
    for (const PlacedText& t : Texts(ops)) {
      EXPECT_NE(t.text, "160m") << c.band;
      EXPECT_NE(t.text, "cell4") << c.band;
    }
  }
}

TEST(GridCallView, AnItemLowerThanSevenPixelsDrawsEveryRowAtTheTop) {
  const std::vector<PlacedText> texts = Texts(LayoutGrid(CallView(-1), {0, 0, 386, 6}));
  ASSERT_EQ(texts.size(), 5u + 5u * 4u);
  for (std::size_t i = 5; i < texts.size(); ++i) EXPECT_EQ(texts[i].y, 0) << texts[i];
}

TEST(GridCallView, MissingCellsAreLeftOut) {
  BandTextLists rows = ResetRows();
  rows[1].clear();
  rows[2] = {"40m", "RTTY"};
  const std::vector<PlacedText> texts = Texts(LayoutGrid(CallView(1, rows), {0, 0, 386, 182}));
  const std::vector<PlacedText> rowTexts(texts.begin() + 5, texts.begin() + 7);
  EXPECT_EQ(rowTexts, (std::vector<PlacedText>{{"40m", 20, 78}, {"RTTY", 100, 78}}));
  EXPECT_EQ(texts.size(), 5u + 2u + 3u * 4u);
}

class GridSnapshotTest : public ::testing::Test {
 protected:
  void TearDown() override {
    g_strEnteredCall.clear();
    g_nCurrentBand = -1;
    const ModuleLockGuard lock(g_moduleLock);
    g_bandMultipliers = {};
    g_bandCallRows = {};
  }
};

TEST_F(GridSnapshotTest, CopiesTheCurrentBandAndLeavesTheSharedListUnsorted) {
  {
    const ModuleLockGuard lock(g_moduleLock);
    g_bandMultipliers[3] = {"SM5", "DL", "OH2", "9A"};
    g_bandMultipliers[2] = {"LA1"};
    g_bandCallRows = ResetRows();
  }
  g_nCurrentBand = 3;
  const GridSnapshot snapshot = TakeGridSnapshot();
  EXPECT_EQ(snapshot.currentBand, 3);
  EXPECT_EQ(snapshot.enteredCall, "");
  EXPECT_EQ(snapshot.multipliers, (std::vector<std::string>{"SM5", "DL", "OH2", "9A"}));
  EXPECT_EQ(snapshot.bandCallRows, ResetRows());

  const std::vector<PlacedText> texts = Texts(LayoutGrid(snapshot, {0, 0, 200, 182}));
  EXPECT_EQ(texts, (std::vector<PlacedText>{
                       {"9A", 5, 0}, {"DL", 45, 0}, {"OH2", 85, 0}, {"SM5", 125, 0}}));
  const ModuleLockGuard lock(g_moduleLock);
  EXPECT_EQ(g_bandMultipliers[3], (std::vector<std::string>{"SM5", "DL", "OH2", "9A"}));
}

TEST_F(GridSnapshotTest, WithoutABandNoLabelsAreCopied) {
  {
    const ModuleLockGuard lock(g_moduleLock);
    g_bandMultipliers[0] = {"SM5"};
  }
  g_nCurrentBand = -1;
  g_strEnteredCall = "OH2ABC";
  const GridSnapshot snapshot = TakeGridSnapshot();
  EXPECT_TRUE(snapshot.multipliers.empty());
  EXPECT_EQ(snapshot.enteredCall, "OH2ABC");
}

}  // namespace
