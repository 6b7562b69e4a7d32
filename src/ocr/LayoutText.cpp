#include "ocr/LayoutText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "ocr/Median.h"
#include "ocr/OcrError.h"

namespace zelk {

std::string LineText(const LayoutLine& line) {
  std::string text;
  for (std::size_t i = 0; i < line.words.size(); ++i) {
    text += line.words[i].text;
    if (line.words[i].spaceAfter && i + 1 < line.words.size()) text += ' ';
  }
  return text;
}

namespace {

// One type size for the lines of a page: the typical line's height, or
// more where lines stand further apart than one and a half times that.
// Text extraction (poppler's, and so copy and paste) keeps lines together
// in a block only when their sizes agree and their baselines are at most
// one and a half sizes apart, and blocks together in a column only when
// their sizes agree; lines it cannot keep together are each a block of
// their own, and the lines of side-by-side columns interleave.  Lines
// much taller than the typical one (headings) keep their own height.
struct TextLayerSizes {
  int common = 0;
  int Of(const LayoutLine& line) const {
    const int height = line.box.bottom - line.box.top;
    return 2 * height > 3 * common ? height : common;
  }
};

TextLayerSizes TextLayerSizesOf(const PageLayout& layout) {
  constexpr double kWidestLineSpacing = 1.45;  // in sizes, a little inside 1.5
  std::vector<int> heights, spacings;
  for (const LayoutBlock& block : layout.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (std::size_t i = 0; i < paragraph.lines.size(); ++i) {
        const LayoutLine& line = paragraph.lines[i];
        heights.push_back(line.box.bottom - line.box.top);
        if (i > 0) spacings.push_back(line.baseline - paragraph.lines[i - 1].baseline);
      }
    }
  }
  return {std::max(Median(heights), static_cast<int>(std::ceil(Median(spacings) / kWidestLineSpacing)))};
}

}  // namespace

PageText TextLayerOf(const PageLayout& layout) {
  PageText page;
  page.frame = layout.frame;
  const TextLayerSizes sizes = TextLayerSizesOf(layout);
  for (const LayoutBlock& block : layout.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (const LayoutLine& line : paragraph.lines) {
        TextLine& textLine = page.lines.emplace_back();
        textLine.box = line.box;
        textLine.baseline = line.baseline;
        textLine.fontSize = sizes.Of(line);
        for (const LayoutWord& word : line.words) {
          textLine.words.push_back(TextWord{word.text, word.box, word.spaceAfter});
        }
      }
    }
  }
  return page;
}

std::string PlainText(const std::vector<PageLayout>& pages) {
  std::string text;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) text += '\f';
    bool firstParagraph = true;
    for (const LayoutBlock& block : pages[p].blocks) {
      for (const LayoutParagraph& paragraph : block.paragraphs) {
        if (!firstParagraph) text += "\r\n";
        firstParagraph = false;
        for (const LayoutLine& line : paragraph.lines) text += LineText(line) + "\r\n";
      }
    }
  }
  return text;
}

void WritePlainTextFile(const std::vector<PageLayout>& pages, const std::string& path) {
  const std::string text = PlainText(pages);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw ExportError(path, "cannot create the text file");
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    throw ExportError(path, "cannot write the text file");
  }
}

}  // namespace zelk
