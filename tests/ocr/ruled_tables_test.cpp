// Ruled tables found by their rules alone, on pages drawn here: grids with
// and without joined cells, and rules that are no table.
#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <string>
#include <vector>

#include "ocr/PictureRegions.h"
#include "ocr/RuledTables.h"

namespace zelk {
namespace {

// A 3 x 3 grid of 300 x 120 pixel cells at (200, 300) on a 300 dpi page;
// `missing` names rules left out as "v<row><column>" (the vertical rule
// left of column c in row r) or "h<row><column>" (the rule above row r in
// column c).
PixPtr GridPage(const std::vector<std::string>& missing, int rows = 3, int columns = 3) {
  PixPtr pix(pixCreate(1400, 1000, 1));
  const auto gone = [&](char kind, int row, int column) {
    const std::string name{kind, static_cast<char>('0' + row), static_cast<char>('0' + column)};
    return std::find(missing.begin(), missing.end(), name) != missing.end();
  };
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c <= columns; ++c) {
      if (!gone('v', r, c)) pixRasterop(pix.get(), 200 + c * 300 - 1, 300 + r * 120, 3, 121, PIX_SET, nullptr, 0, 0);
    }
  }
  for (int r = 0; r <= rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      if (!gone('h', r, c)) pixRasterop(pix.get(), 200 + c * 300, 300 + r * 120 - 1, 301, 3, PIX_SET, nullptr, 0, 0);
    }
  }
  return pix;
}

std::string Spans(const RuledTable& table) {
  std::string out;
  for (const RuledCell& cell : table.cells) {
    out += std::to_string(cell.row) + std::to_string(cell.column) + ":" + std::to_string(cell.rowSpan) +
           std::to_string(cell.columnSpan) + " ";
  }
  return out;
}

struct GridCase {
  const char* name;
  std::vector<std::string> missing;
  int rows, columns;
  const char* cells;  // "" for no table
};

TEST(RuledTables, GridsAndJoinedCellsAreFoundAndOtherRulesAreNot) {
  const GridCase cases[] = {
      {"full grid", {}, 3, 3, "00:11 01:11 02:11 10:11 11:11 12:11 20:11 21:11 22:11 "},
      {"header across two columns", {"v02"}, 3, 3, "00:11 01:12 10:11 11:11 12:11 20:11 21:11 22:11 "},
      {"cell down two rows", {"h20"}, 3, 3, "00:11 01:11 02:11 10:21 11:11 12:11 21:11 22:11 "},
      {"block of four", {"v12", "v22", "h21", "h22"}, 3, 3, "00:11 01:11 02:11 10:11 11:22 20:11 "},
      {"a box around a paragraph", {}, 1, 1, ""},
      {"rules across only", {"v00", "v01", "v02", "v03", "v10", "v11", "v12", "v13", "v20", "v21", "v22", "v23"}, 3, 3, ""},
  };
  for (const GridCase& each : cases) {
    SCOPED_TRACE(each.name);
    const std::vector<RuledTable> tables = FindRuledTables(GridPage(each.missing, each.rows, each.columns).get(), 300);
    if (std::string(each.cells).empty()) {
      EXPECT_TRUE(tables.empty());
      continue;
    }
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].columnRules.size(), 4u);
    EXPECT_EQ(tables[0].rowRules.size(), 4u);
    EXPECT_NEAR(tables[0].columnRules.front(), 200, 3);
    EXPECT_NEAR(tables[0].rowRules.back(), 660, 3);
    EXPECT_EQ(Spans(tables[0]), each.cells);
  }
}

TEST(PictureRegions, AGreyPhotographIsAPictureAndBoldTextIsNot) {
  PixPtr grey(pixCreate(1400, 1000, 8));
  pixSetAllArbitrary(grey.get(), 200);  // paper as the flattened recognition image has it
  // Bold strokes of a large heading: 10-pixel bars 10 pixels apart.
  for (int x = 100; x < 1300; x += 20) pixRasterop(grey.get(), x, 80, 10, 90, PIX_CLR, nullptr, 0, 0);
  // A photograph in mid tones with grain.
  for (int y = 400; y < 900; ++y) {
    for (int x = 300; x < 1000; ++x) pixSetPixel(grey.get(), x, y, 60 + (x * 7 + y * 13) % 110);
  }
  const std::vector<TextBox> pictures = FindPictureRegions(grey.get(), 300);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_NEAR(pictures[0].left, 300, 16);
  EXPECT_NEAR(pictures[0].top, 400, 16);
  EXPECT_NEAR(pictures[0].right, 1000, 16);
  EXPECT_NEAR(pictures[0].bottom, 900, 16);
}

}  // namespace
}  // namespace zelk
