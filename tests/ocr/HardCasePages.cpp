#include "HardCasePages.h"

#include <leptonica/allheaders.h>

#include <cmath>
#include <random>
#include <stdexcept>

#include "KnownTextLines.h"
#include "TextPageRenderer.h"

namespace zelk::ocrtest {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kA4WidthMm = 210, kA4HeightMm = 297;
constexpr double kMarginMm = 20;
constexpr double kLineSpacing = 1.8;
constexpr int kLinesPerParagraph = 5;

int Pixels(double millimetres, int dpi) { return static_cast<int>(std::lround(millimetres * dpi / kMillimetresPerInch)); }

// An A4 page at `dpi` with `lines` in paragraphs of a few lines from the
// top margin, type of `pixelSize`; `top` is left below the last one.
LayoutPageSpec ParagraphPage(const std::vector<std::string>& lines, int dpi, int pixelSize, int* top = nullptr) {
  LayoutPageSpec spec;
  spec.dpi = dpi;
  spec.width = Pixels(kA4WidthMm, dpi);
  spec.height = Pixels(kA4HeightMm, dpi);
  const int margin = Pixels(kMarginMm, dpi);
  const int advance = static_cast<int>(std::lround(pixelSize * kLineSpacing));
  int y = margin;
  for (std::size_t i = 0; i < lines.size(); i += kLinesPerParagraph) {
    TextBlockSpec block;
    block.left = margin;
    block.top = y;
    block.pixelSize = pixelSize;
    block.lineSpacing = kLineSpacing;
    block.lines.assign(lines.begin() + static_cast<long>(i),
                       lines.begin() + static_cast<long>(std::min(lines.size(), i + kLinesPerParagraph)));
    y += static_cast<int>(block.lines.size()) * advance + pixelSize;
    spec.blocks.push_back(std::move(block));
  }
  if (top) *top = y;
  return spec;
}

PixPtr Checked(PIX* pix, const char* what) {
  if (pix == nullptr) throw std::runtime_error(std::string("cannot make the page: ") + what);
  return PixPtr(pix);
}

PixPtr Grey(const PixPtr& colour) {
  PixPtr grey = Checked(pixConvertRGBToLuminance(colour.get()), "grey");
  pixCopyResolution(grey.get(), colour.get());
  return grey;
}

}  // namespace

ScanCasePage FaxPage(const std::vector<std::string>& lines) {
  constexpr int kFaxWidth = 1728;  // pixels across every fax line
  constexpr int kDpi = 204, kRowDpi = 98;
  LayoutPageSpec spec = ParagraphPage(lines, kDpi, 32);
  spec.width = kFaxWidth;
  const PixPtr square = RenderLayoutPage(spec);
  // The fax machine samples rows at less than half the rate of pixels.
  PixPtr rows = Checked(pixScale(square.get(), 1.0f, static_cast<float>(kRowDpi) / kDpi), "fax rows");
  PixPtr bitonal = Binarize(rows);
  pixSetResolution(bitonal.get(), kDpi, kRowDpi);
  return ScanCasePage{"fax", std::move(bitonal), lines};
}

ScanCasePage VerticalPage(const std::vector<std::string>& columns) {
  constexpr int kDpi = 300, kPixelSize = 56;
  LayoutPageSpec spec = ParagraphPage({}, kDpi, kPixelSize);
  const int margin = Pixels(kMarginMm, kDpi);
  TextBlockSpec block;
  block.vertical = true;
  block.left = spec.width - margin - kPixelSize;
  block.top = margin;
  block.pixelSize = kPixelSize;
  block.lineSpacing = 1.7;
  block.lines = columns;
  spec.blocks.push_back(block);
  return ScanCasePage{"vertical", RenderLayoutPage(spec), columns};
}

ScanCasePage SealPage(const std::vector<std::string>& lines) {
  constexpr int kDpi = 300, kPixelSize = 44;
  int top = 0;
  LayoutPageSpec spec = ParagraphPage(lines, kDpi, kPixelSize, &top);
  // The signature and date the seal is stamped over, set to the right.
  const std::vector<std::string> signature{"江北区档案馆办公室", "2024年11月26日"};
  TextBlockSpec block;
  block.left = spec.width - Pixels(kMarginMm, kDpi) - LineWidth(signature.front(), kPixelSize);
  block.top = top + kPixelSize;
  block.pixelSize = kPixelSize;
  block.lineSpacing = kLineSpacing;
  block.lines = signature;
  spec.blocks.push_back(block);
  SealSpec seal;
  seal.centerX = block.left + LineWidth(signature.front(), kPixelSize) / 2;
  seal.centerY = block.top + kPixelSize;
  seal.text = "档案专用章";
  spec.seals.push_back(seal);
  // The seal also reaches over the end of the last paragraph.
  std::vector<std::string> truth = lines;
  truth.insert(truth.end(), signature.begin(), signature.end());
  return ScanCasePage{"seal", RenderLayoutPage(spec), std::move(truth)};
}

ScanCasePage FinePage(const std::vector<std::string>& lines) {
  constexpr int kDpi = 600;
  return ScanCasePage{"fine-600dpi", Grey(RenderLayoutPage(ParagraphPage(lines, kDpi, 88))), lines};
}

ScanCasePage MistaggedPage(const std::vector<std::string>& lines) {
  ScanCasePage page = FinePage(lines);
  pixSetResolution(page.image.get(), 72, 72);
  page.name = "tagged-72dpi";
  return page;
}

ScanCasePage BlankBackPage() {
  constexpr int kDpi = 300;
  LayoutPageSpec spec = ParagraphPage({}, kDpi, 44);
  spec.paper = Rgb{244, 242, 236};
  PixPtr page = Grey(RenderLayoutPage(spec));
  std::mt19937 random(7);
  for (int i = 0; i < 60; ++i) {
    const int x = static_cast<int>(random() % static_cast<unsigned>(spec.width - 4));
    const int y = static_cast<int>(random() % static_cast<unsigned>(spec.height - 4));
    BOX* speck = boxCreate(x, y, 1 + static_cast<int>(random() % 3), 1 + static_cast<int>(random() % 3));
    pixSetInRectArbitrary(page.get(), speck, 90);
    boxDestroy(&speck);
  }
  return ScanCasePage{"blank-back", std::move(page), {}};
}

std::vector<std::string> ColumnLines(int count, int characters, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(ChineseLine(random, characters, false));
  return lines;
}

void WriteTiffScan(const ScanCasePage& page, const std::string& path) {
  const l_int32 format = pixGetDepth(page.image.get()) == 1 ? IFF_TIFF_G3 : IFF_TIFF_LZW;
  if (pixWriteTiff(path.c_str(), page.image.get(), format, "w") != 0) {
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace zelk::ocrtest
