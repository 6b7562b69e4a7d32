#include "imaging/PdfPageGeometry.h"

#include <algorithm>
#include <cmath>

namespace zelk {
namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;
constexpr double kPaperTolerance = 0.03;

PaperSize Metric(const char* name, double widthMm, double heightMm) {
  return {name, widthMm * kPointsPerMillimetre, heightMm * kPointsPerMillimetre};
}

// Largest relative difference of the two sides; nothing when either lies
// beyond the tolerance.
std::optional<double> Deviation(double width, double height, double sheetWidth,
                                double sheetHeight) {
  const double dw = std::abs(width - sheetWidth) / sheetWidth;
  const double dh = std::abs(height - sheetHeight) / sheetHeight;
  if (dw > kPaperTolerance || dh > kPaperTolerance) return std::nullopt;
  return std::max(dw, dh);
}

}  // namespace

const std::vector<PaperSize>& StandardPaperSizes() {
  static const std::vector<PaperSize> sizes = {
      Metric("A3", 297, 420), Metric("A4", 210, 297),    Metric("A5", 148, 210),
      Metric("B4", 250, 353), Metric("B5", 176, 250),    {"Letter", 612, 792},
      {"Legal", 612, 1008},
  };
  return sizes;
}

PdfPagePlacement ImageSizeLayout(int pixelWidth, int pixelHeight, double xDpi, double yDpi) {
  PdfPagePlacement layout;
  layout.pageWidth = layout.imageWidth = pixelWidth / xDpi * 72.0;
  layout.pageHeight = layout.imageHeight = pixelHeight / yDpi * 72.0;
  return layout;
}

PdfPagePlacement FittedLayout(int pixelWidth, int pixelHeight, double xDpi, double yDpi,
                        double sheetWidth, double sheetHeight) {
  const PdfPagePlacement own = ImageSizeLayout(pixelWidth, pixelHeight, xDpi, yDpi);
  const double scale =
      std::min(sheetWidth / own.imageWidth, sheetHeight / own.imageHeight);
  PdfPagePlacement layout;
  layout.pageWidth = sheetWidth;
  layout.pageHeight = sheetHeight;
  layout.imageWidth = own.imageWidth * scale;
  layout.imageHeight = own.imageHeight * scale;
  layout.imageX = (sheetWidth - layout.imageWidth) / 2;
  layout.imageY = (sheetHeight - layout.imageHeight) / 2;
  return layout;
}

std::optional<PaperSize> NearestStandardPaper(double imageWidth, double imageHeight) {
  std::optional<PaperSize> best;
  double bestDeviation = 0;
  for (const PaperSize& paper : StandardPaperSizes()) {
    for (bool landscape : {false, true}) {
      PaperSize sheet = paper;
      if (landscape) std::swap(sheet.width, sheet.height);
      const auto deviation = Deviation(imageWidth, imageHeight, sheet.width, sheet.height);
      if (deviation && (!best || *deviation < bestDeviation)) {
        best = sheet;
        bestDeviation = *deviation;
      }
    }
  }
  return best;
}

PdfPagePlacement StandardPaperLayout(int pixelWidth, int pixelHeight, double xDpi, double yDpi) {
  const PdfPagePlacement own = ImageSizeLayout(pixelWidth, pixelHeight, xDpi, yDpi);
  const auto paper = NearestStandardPaper(own.imageWidth, own.imageHeight);
  if (!paper) return own;
  return FittedLayout(pixelWidth, pixelHeight, xDpi, yDpi, paper->width, paper->height);
}

}  // namespace zelk
