#include "ocr/LayoutText.h"

#include <filesystem>
#include <fstream>
#include <system_error>

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

PageText TextLayerOf(const PageLayout& layout) {
  PageText page;
  page.frame = layout.frame;
  for (const LayoutBlock& block : layout.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (const LayoutLine& line : paragraph.lines) {
        TextLine& textLine = page.lines.emplace_back();
        textLine.box = line.box;
        textLine.baseline = line.baseline;
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
  if (!out) throw ExportError("cannot create text file " + path);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    throw ExportError("cannot write text file " + path);
  }
}

}  // namespace zelk
