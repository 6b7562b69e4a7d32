#pragma once
// The ruled tables and pictures of a page, found on the recognition image
// before Tesseract reads it.  The page's text is read with them painted
// out, so that a picture gives no words and pulls no caption or side text
// into its lines, and a table's rules and columns do not confuse the page
// layout; each cell of a table is then read on its own, and both come back
// into the layout as blocks of their own at their places in reading order.

#include <vector>

#include "imaging/Page.h"
#include "ocr/PageLayout.h"
#include "ocr/RuledTables.h"

namespace tesseract {
class TessBaseAPI;
}

namespace zelk {

struct PageRegions {
  std::vector<RuledTable> tables;
  std::vector<TextBox> pictures;  // none inside a table

  bool Empty() const { return tables.empty() && pictures.empty(); }
};

PageRegions FindPageRegions(const Pix* image, int dpi);

// A copy of the image with the regions painted over as paper; null when
// there are none.
PixPtr WithoutRegions(const Pix* image, const PageRegions& regions);

// Reads every table cell of the image on its own with `api` (its page
// segmentation mode is restored, its results cleared), and puts a Table
// block for each table and an Image block for each picture into the
// layout, each before the first block that starts below its top.
void AddRegionBlocks(tesseract::TessBaseAPI& api, const Pix* image, int dpi, const PageRegions& regions,
                     PageLayout& layout);

}  // namespace zelk
