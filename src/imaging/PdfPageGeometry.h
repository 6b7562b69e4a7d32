#pragma once
// Where a page image goes on its PDF page.  Lengths are PDF points
// (1/72 inch).

#include <optional>
#include <vector>
#include <string>

namespace zelk {

struct PaperSize {
  std::string name;
  double width = 0;   // points, portrait
  double height = 0;
};

// A3, A4, A5, B4, B5 (ISO), Letter and Legal, portrait.
const std::vector<PaperSize>& StandardPaperSizes();

struct PdfPagePlacement {
  double pageWidth = 0;
  double pageHeight = 0;
  // The rectangle the image fills.
  double imageX = 0;
  double imageY = 0;
  double imageWidth = 0;
  double imageHeight = 0;
};

// The image's own size: pixels / dpi x 72.
PdfPagePlacement ImageSizeLayout(int pixelWidth, int pixelHeight, double xDpi, double yDpi);

// The image fitted (aspect kept) and centred on a sheet of the given size.
PdfPagePlacement FittedLayout(int pixelWidth, int pixelHeight, double xDpi, double yDpi,
                        double sheetWidth, double sheetHeight);

// The standard paper size (either orientation) both of whose sides lie
// within 3 % of the image's; the closest when several do.
std::optional<PaperSize> NearestStandardPaper(double imageWidth, double imageHeight);

// The image on the nearest standard paper when there is one, else at its
// own size.
PdfPagePlacement StandardPaperLayout(int pixelWidth, int pixelHeight, double xDpi, double yDpi);

}  // namespace zelk
