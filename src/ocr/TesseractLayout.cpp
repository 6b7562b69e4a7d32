#include "ocr/TesseractLayout.h"

#include <tesseract/baseapi.h>
#include <tesseract/publictypes.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "ocr/ChinesePunctuation.h"
#include "ocr/LayoutCleanup.h"
#include "ocr/WordSpacing.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

using tesseract::PageIteratorLevel;
using tesseract::ResultIterator;

TextBox BoxAt(const ResultIterator& it, PageIteratorLevel level) {
  TextBox box;
  it.BoundingBox(level, &box.left, &box.top, &box.right, &box.bottom);
  return box;
}

BlockKind KindOf(tesseract::PolyBlockType type) {
  switch (type) {
    case tesseract::PT_FLOWING_TEXT:
    case tesseract::PT_VERTICAL_TEXT:
    case tesseract::PT_EQUATION:
    case tesseract::PT_INLINE_EQUATION:
      return BlockKind::Text;
    case tesseract::PT_HEADING_TEXT:
      return BlockKind::Heading;
    case tesseract::PT_PULLOUT_TEXT:
    case tesseract::PT_CAPTION_TEXT:
      return BlockKind::Caption;
    case tesseract::PT_TABLE:
      return BlockKind::Table;
    case tesseract::PT_FLOWING_IMAGE:
    case tesseract::PT_HEADING_IMAGE:
    case tesseract::PT_PULLOUT_IMAGE:
      return BlockKind::Image;
    case tesseract::PT_HORZ_LINE:
    case tesseract::PT_VERT_LINE:
      return BlockKind::Separator;
    default:
      return BlockKind::Other;
  }
}

ParagraphAlignment AlignmentOf(tesseract::ParagraphJustification justification) {
  switch (justification) {
    case tesseract::JUSTIFICATION_LEFT: return ParagraphAlignment::Left;
    case tesseract::JUSTIFICATION_CENTER: return ParagraphAlignment::Center;
    case tesseract::JUSTIFICATION_RIGHT: return ParagraphAlignment::Right;
    default: return ParagraphAlignment::Unknown;
  }
}

// y of the line's baseline where it crosses the middle of the line box.
int BaselineAt(const ResultIterator& it, const TextBox& lineBox) {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  if (!it.Baseline(tesseract::RIL_TEXTLINE, &x1, &y1, &x2, &y2)) return lineBox.bottom;
  if (x2 == x1) return (y1 + y2) / 2;
  const double middle = (lineBox.left + lineBox.right) / 2.0;
  return static_cast<int>(std::lround(y1 + (y2 - y1) * (middle - x1) / (x2 - x1)));
}

std::string WordText(const ResultIterator& it) {
  std::unique_ptr<char[]> text(it.GetUTF8Text(tesseract::RIL_WORD));
  if (!text) return {};
  std::string word(text.get());
  std::erase_if(word, [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
  return word;
}

// Tesseract's size estimate for the word's row, in points; 0 when it has none.
int WordPointSize(const ResultIterator& it) {
  bool bold = false, italic = false, underlined = false, monospace = false, serif = false,
       smallcaps = false;
  int pointSize = 0, fontId = 0;
  it.WordFontAttributes(&bold, &italic, &underlined, &monospace, &serif, &smallcaps, &pointSize,
                        &fontId);
  return pointSize;
}

bool HoldsChinese(const LayoutLine& line) {
  for (const LayoutWord& word : line.words) {
    for (char32_t c : DecodeUtf8(word.text)) {
      if (IsCjkCharacter(c)) return true;
    }
  }
  return false;
}

// The type size of a line in points.  Chinese characters fill nearly their
// whole em, so a line holding them gets its size from its height; Tesseract's
// own estimate rests on the x-height of Latin script and runs high there.
// Latin lines take the median of Tesseract's word estimates.
double LineFontSize(const LayoutLine& line, std::vector<int> wordSizes, int dpi) {
  constexpr double kChineseInkShareOfEm = 0.92;
  const double heightPoints = dpi > 0 ? (line.box.bottom - line.box.top) * 72.0 / dpi : 0;
  if (HoldsChinese(line)) return heightPoints / kChineseInkShareOfEm;
  std::erase(wordSizes, 0);
  if (wordSizes.empty()) return heightPoints;
  std::nth_element(wordSizes.begin(), wordSizes.begin() + wordSizes.size() / 2, wordSizes.end());
  return wordSizes[wordSizes.size() / 2];
}

void SetWordSpacing(LayoutLine& line) {
  const int height = line.box.bottom - line.box.top;
  for (std::size_t i = 0; i + 1 < line.words.size(); ++i) {
    LayoutWord& word = line.words[i];
    const LayoutWord& next = line.words[i + 1];
    word.spaceAfter = BlankBetweenWords(word.text, next.text, next.box.left - word.box.right, height);
  }
  if (!line.words.empty()) line.words.back().spaceAfter = false;
}

// Builds the layout while the iterator walks the page word by word.
class LayoutBuilder {
 public:
  LayoutBuilder(int width, int height, int dpi, bool columns)
      : dpi_(dpi), columns_(columns), imageWidth_(width) {
    layout_.width = columns ? height : width;
    layout_.height = columns ? width : height;
    layout_.dpi = dpi;
  }

  void AddPictureBlock(const ResultIterator& it) {
    FinishLine();
    layout_.blocks.push_back(LayoutBlock{KindOf(it.BlockType()), Box(it, tesseract::RIL_BLOCK), {}});
    block_ = nullptr;
    paragraph_ = nullptr;
  }

  // Notes where blocks, paragraphs and lines begin, even at words that turn
  // out empty, so that a line never runs on into the next one.
  void NotePosition(const ResultIterator& it) {
    newBlock_ = newBlock_ || it.IsAtBeginningOf(tesseract::RIL_BLOCK);
    newParagraph_ = newParagraph_ || it.IsAtBeginningOf(tesseract::RIL_PARA);
    newLine_ = newLine_ || it.IsAtBeginningOf(tesseract::RIL_TEXTLINE);
  }

  void AddWord(const ResultIterator& it) {
    std::string text = WordText(it);
    if (text.empty()) return;
    if (newBlock_ || block_ == nullptr) StartBlock(it);
    if (newParagraph_ || paragraph_ == nullptr) StartParagraph(it);
    if (newLine_ || line_ == nullptr) StartLine(it);
    line_->words.push_back(LayoutWord{std::move(text), Box(it, tesseract::RIL_WORD),
                                      it.Confidence(tesseract::RIL_WORD), false});
    wordSizes_.push_back(WordPointSize(it));
  }

  PageLayout Finish() {
    FinishLine();
    return std::move(layout_);
  }

 private:
  // The box in the layout's frame: a column's box turned a quarter
  // counter-clockwise with the image.
  TextBox Box(const ResultIterator& it, PageIteratorLevel level) const {
    const TextBox box = BoxAt(it, level);
    if (!columns_) return box;
    return TextBox{box.top, imageWidth_ - box.right, box.bottom, imageWidth_ - box.left};
  }

  void StartBlock(const ResultIterator& it) {
    FinishLine();
    block_ = &layout_.blocks.emplace_back();
    block_->kind = KindOf(it.BlockType());
    block_->box = Box(it, tesseract::RIL_BLOCK);
    paragraph_ = nullptr;
    newBlock_ = false;
  }

  void StartParagraph(const ResultIterator& it) {
    FinishLine();
    paragraph_ = &block_->paragraphs.emplace_back();
    paragraph_->box = Box(it, tesseract::RIL_PARA);
    tesseract::ParagraphJustification justification = tesseract::JUSTIFICATION_UNKNOWN;
    bool crown = false;
    it.ParagraphInfo(&justification, &paragraph_->isListItem, &crown, &paragraph_->firstLineIndent);
    paragraph_->alignment = AlignmentOf(justification);
    newParagraph_ = false;
  }

  void StartLine(const ResultIterator& it) {
    FinishLine();
    line_ = &paragraph_->lines.emplace_back();
    line_->box = Box(it, tesseract::RIL_TEXTLINE);
    // A column's characters stand on its left edge, the line's foot once turned.
    line_->baseline = columns_ ? line_->box.bottom : BaselineAt(it, line_->box);
    newLine_ = false;
  }

  void FinishLine() {
    if (line_ == nullptr) return;
    RestoreChinesePunctuation(*line_);
    RepairWordBoxes(*line_);
    SetWordSpacing(*line_);
    line_->fontSize = LineFontSize(*line_, std::move(wordSizes_), dpi_);
    wordSizes_.clear();
    line_ = nullptr;
  }

  int dpi_;
  bool columns_;
  int imageWidth_;
  PageLayout layout_;
  LayoutBlock* block_ = nullptr;
  LayoutParagraph* paragraph_ = nullptr;
  LayoutLine* line_ = nullptr;
  bool newBlock_ = false;
  bool newParagraph_ = false;
  bool newLine_ = false;
  std::vector<int> wordSizes_;
};

}  // namespace

PageLayout ReadPageLayout(ResultIterator& it, int width, int height, int dpi, bool columns) {
  LayoutBuilder builder(width, height, dpi, columns);
  it.Begin();
  while (!it.Empty(tesseract::RIL_BLOCK)) {
    if (!tesseract::PTIsTextType(it.BlockType())) {
      builder.AddPictureBlock(it);
      if (!it.Next(tesseract::RIL_BLOCK)) break;
      continue;
    }
    builder.NotePosition(it);
    if (!it.Empty(tesseract::RIL_WORD)) builder.AddWord(it);
    if (!it.Next(tesseract::RIL_WORD)) break;
  }
  PageLayout layout = builder.Finish();
  RemoveFragmentLines(layout);
  return layout;
}

PageLayout ReadRectangle(tesseract::TessBaseAPI& api, const TextBox& box, int width, int height, int dpi) {
  api.SetRectangle(box.left, box.top, box.right - box.left, box.bottom - box.top);
  if (api.Recognize(nullptr) != 0) return {};
  std::unique_ptr<ResultIterator> iterator(api.GetIterator());
  if (!iterator) return {};
  return ReadPageLayout(*iterator, width, height, dpi);
}

}  // namespace zelk
