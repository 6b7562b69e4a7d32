#include "ocr/TesseractRecognizer.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>
#include <vector>

#include "ocr/Median.h"
#include "ocr/OcrError.h"
#include "ocr/OrientationDetector.h"
#include "ocr/PageRegions.h"
#include "ocr/RecognitionImage.h"
#include "ocr/RecognitionScale.h"
#include "ocr/SealRemoval.h"
#include "ocr/TesseractLayout.h"
#include "ocr/WordSpacing.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

// Simplified Chinese, and its model for text set in columns (Debian's
// tesseract-ocr-chi-sim-vert), loaded the first time a page needs it.
constexpr const char* kChineseModel = "chi_sim";
constexpr const char* kColumnsModel = "chi_sim_vert";

// Mean word confidence from which a reading counts as plain.  Upright
// pages, clean or not, read at 80 to 95; upside-down ones at 20 to 35.
constexpr double kPlainConfidence = 70;
// A page with fewer characters than this has too little text to orient.
constexpr long kFewestCharactersToOrient = 20;
// Detector confidence from which an upright verdict is believed without
// trying the other turns (a poor scan that reads badly either way).
constexpr float kSureUprightConfidence = 5;

// Tesseract writes its diagnostics to stderr through one process-wide
// setting.  It is set once, before any instance loads its data, so no
// worker reads it while another writes it.
void SilenceTesseractDiagnostics() {
  static std::once_flag once;
  std::call_once(once, [] {
    tesseract::TessBaseAPI api;
    api.SetVariable("debug_file", "/dev/null");
  });
}

// The monitor's cancel function: `check` is the RecognitionCancelCheck.
bool CancelRequested(void* check, int words) {
  (void)words;
  const auto& cancelled = *static_cast<const RecognitionCancelCheck*>(check);
  return cancelled && cancelled();
}

// True when most of the page's text area lies in blocks whose lines run
// down the page: Tesseract found the lines of a page lying sideways.
bool MostTextSideways(tesseract::ResultIterator& iterator) {
  long upright = 0, sideways = 0;
  iterator.Begin();
  do {
    if (!PTIsTextType(iterator.BlockType())) continue;
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!iterator.BoundingBox(tesseract::RIL_BLOCK, &left, &top, &right, &bottom)) continue;
    tesseract::Orientation orientation;
    tesseract::WritingDirection direction;
    tesseract::TextlineOrder order;
    float deskew = 0;
    iterator.Orientation(&orientation, &direction, &order, &deskew);
    const long area = static_cast<long>(right - left) * (bottom - top);
    // Lines written top to bottom are, on an office page, lines lying on their side.
    const bool across = orientation == tesseract::ORIENTATION_PAGE_UP &&
                        direction != tesseract::WRITING_DIRECTION_TOP_TO_BOTTOM;
    (across ? upright : sideways) += area;
  } while (iterator.Next(tesseract::RIL_BLOCK));
  iterator.Begin();
  return sideways > upright;
}

}  // namespace

// One way of reading the page, and how well it went.
struct TesseractRecognizer::Reading {
  RecognitionImage image;
  PageLayout layout;
  double confidence = 0;  // mean over characters, 0 to 100
  long characters = 0;
  bool sideways = false;

  bool Plain() const {
    return !sideways && (characters < kFewestCharactersToOrient || confidence >= kPlainConfidence);
  }
  // Lines read down the page never beat lines read across it.
  double Score() const { return sideways ? confidence - 100 : confidence; }
};

namespace {

long CjkCharacters(const std::string& text) {
  long count = 0;
  for (char32_t c : DecodeUtf8(text)) count += IsCjkCharacter(c) ? 1 : 0;
  return count;
}

double MeanConfidence(const LayoutLine& line) {
  double sum = 0;
  for (const LayoutWord& word : line.words) sum += word.confidence;
  return line.words.empty() ? 0 : sum / static_cast<double>(line.words.size());
}

// A line on a page of Chinese holding Latin words read with little
// confidence: Chinese that Tesseract took for Latin, as it does now and
// then with a whole line that holds a Latin term or number.
bool LooksGarbled(const LayoutLine& line, bool chinesePage) {
  constexpr float kDoubtfulLatin = 60;
  constexpr float kUnsure = 30;  // a word this unsure may have swallowed others
  constexpr long kFewestDoubtfulLetters = 4;
  if (!chinesePage) return false;
  long doubtful = 0;
  for (const LayoutWord& word : line.words) {
    if (word.confidence < kUnsure) return true;
    if (word.confidence < kDoubtfulLatin && CjkCharacters(word.text) == 0) {
      doubtful += static_cast<long>(word.text.size());
    }
  }
  return doubtful >= kFewestDoubtfulLetters;
}

bool HoldsMuchChinese(const PageLayout& layout) {
  long cjk = 0, all = 0;
  for (const LayoutBlock& block : layout.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (const LayoutLine& line : paragraph.lines) {
        for (const LayoutWord& word : line.words) {
          cjk += CjkCharacters(word.text);
          all += static_cast<long>(DecodeUtf8(word.text).size());
        }
      }
    }
  }
  // A Chinese character takes the room of two to three Latin letters: a
  // page whose text is half Chinese by area has a quarter of its
  // characters Chinese.
  return 4 * cjk >= all;
}

// The median over the page's lines of `measure`; 0 on a page without lines.
template <class Measure>
int MedianOverLines(const PageLayout& layout, Measure measure) {
  std::vector<int> values;
  for (const LayoutBlock& block : layout.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (const LayoutLine& line : paragraph.lines) values.push_back(measure(line.box));
    }
  }
  return Median(std::move(values));
}

// The size of the page's characters: across its columns, or the height of
// its lines, whichever is less, for the typical line.
int TypicalCharacterSize(const PageLayout& layout) {
  return MedianOverLines(layout, [](const TextBox& box) {
    return std::min(box.right - box.left, box.bottom - box.top);
  });
}

int TypicalLineHeight(const PageLayout& layout) {
  return MedianOverLines(layout, [](const TextBox& box) { return box.bottom - box.top; });
}

}  // namespace

// Reads a garbled line again on its own: alone, Tesseract weighs the
// languages over the line's words afresh.  The new reading is kept when
// it is surer.
void TesseractRecognizer::RereadGarbledLines(PageLayout& layout, int dpi) {
  const bool chinese = HoldsMuchChinese(layout);
  const int typical = TypicalLineHeight(layout);
  for (LayoutBlock& block : layout.blocks) {
    for (LayoutParagraph& paragraph : block.paragraphs) {
      for (LayoutLine& line : paragraph.lines) {
        if (!LooksGarbled(line, chinese)) continue;
        // Garbage often reaches up into the line above: a line much taller
        // than the others is read from its foot, one line high.
        TextBox box = line.box;
        if (2 * (box.bottom - box.top) > 3 * typical) box.top = box.bottom - typical;
        std::optional<LayoutLine> again = ReadOneLine(box, layout.width, layout.height, dpi);
        if (again && MeanConfidence(*again) > MeanConfidence(line)) line = std::move(*again);
      }
    }
  }
}

std::optional<LayoutLine> TesseractRecognizer::ReadOneLine(const TextBox& box, int width, int height, int dpi) {
  const int margin = (box.bottom - box.top) / 4;
  const int left = std::max(0, box.left - margin), top = std::max(0, box.top - margin);
  api_->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
  const TextBox around{left, top, std::min(width, box.right + margin), std::min(height, box.bottom + margin)};
  std::optional<LayoutLine> line;
  for (LayoutBlock& block : ReadRectangle(*api_, around, width, height, dpi).blocks) {
    for (LayoutParagraph& paragraph : block.paragraphs) {
      if (!paragraph.lines.empty() && !line) line = std::move(paragraph.lines.front());
    }
  }
  api_->SetPageSegMode(tesseract::PSM_AUTO);
  return line;
}

TesseractRecognizer::TesseractRecognizer(const TesseractSetup& setup)
    : tessdataDirectory_(setup.tessdataDirectory),
      languages_(setup.languages),
      api_(std::make_unique<tesseract::TessBaseAPI>()),
      orientation_(std::make_unique<OrientationDetector>(setup.tessdataDirectory)) {
  SilenceTesseractDiagnostics();
  if (api_->Init(setup.tessdataDirectory.c_str(), setup.languages.c_str(),
                 tesseract::OEM_LSTM_ONLY) != 0) {
    throw EngineLoadError("Tesseract cannot load language data " + setup.languages + " from " +
                          setup.tessdataDirectory);
  }
  // Full layout analysis: columns, blocks and paragraphs in reading order.
  api_->SetPageSegMode(tesseract::PSM_AUTO);
}

TesseractRecognizer::~TesseractRecognizer() {
  api_->End();
  if (columnsApi_) columnsApi_->End();
}

PageLayout TesseractRecognizer::Recognise(const Page& page) {
  return RecogniseUnlessCancelled(page, {});
}

PageLayout TesseractRecognizer::RecogniseUnlessCancelled(const Page& page,
                                                         const RecognitionCancelCheck& cancelled) {
  if (!page.pix) throw RecognitionError("page has no decoded image");
  Reading best = ReadTurned(page, 0, cancelled);
  if (best.Plain()) return std::move(best.layout);

  std::vector<int> turns{2, 1, 3};
  if (best.sideways) turns = {1, 3, 2};
  const auto guess = orientation_->Detect(best.image.pix.get(), RecognitionScaleOf(page).dpi);
  if (guess && guess->quarterTurns == 0 && !best.sideways && guess->confidence >= kSureUprightConfidence) {
    return std::move(best.layout);
  }
  if (guess && guess->quarterTurns != 0) {
    std::erase(turns, guess->quarterTurns);
    turns.insert(turns.begin(), guess->quarterTurns);
  }
  // Lines read down the page are either a sheet fed sideways or text set
  // in columns: once the likeliest turn has not read plainly, the columns
  // are tried.
  bool columnsTried = !best.sideways;
  for (int quarterTurns : turns) {
    Reading turned = ReadTurned(page, quarterTurns, cancelled);
    if (turned.Score() > best.Score()) best = std::move(turned);
    if (best.Plain()) break;
    if (!columnsTried) {
      columnsTried = true;
      std::optional<Reading> columns = ReadColumns(page, TypicalCharacterSize(best.layout), cancelled);
      if (columns && columns->Score() > best.Score()) best = std::move(*columns);
      if (best.Plain()) break;
    }
  }
  return std::move(best.layout);
}

std::optional<TesseractRecognizer::Reading> TesseractRecognizer::ReadColumns(
    const Page& page, int characterSize, const RecognitionCancelCheck& cancelled) {
  // The vertical model reads columns best with characters about this many
  // pixels across: 56 pixel characters read at 12 % errors, at 25 pixels 0.3 %.
  constexpr double kBestCharacterSize = 25;
  tesseract::TessBaseAPI* columns = ColumnsEngine();
  if (columns == nullptr || characterSize <= 0) return std::nullopt;
  if (cancelled && cancelled()) throw RecognitionCancelled();
  RecognitionScale scale = RecognitionScaleOf(page);
  const double factor = std::clamp(kBestCharacterSize / characterSize, 0.25, 1.25);
  scale.x *= factor;
  scale.y *= factor;
  scale.dpi = static_cast<int>(std::lround(scale.dpi * factor));
  return Read(PrepareForRecognition(page.pix.get(), 0, scale), scale.dpi, cancelled, *columns, true);
}

tesseract::TessBaseAPI* TesseractRecognizer::ColumnsEngine() {
  if (columnsApi_ || columnsUnavailable_) return columnsApi_.get();
  columnsUnavailable_ = true;
  if (languages_.find(kChineseModel) == std::string::npos) return nullptr;
  auto api = std::make_unique<tesseract::TessBaseAPI>();
  if (api->Init(tessdataDirectory_.c_str(), kColumnsModel, tesseract::OEM_LSTM_ONLY) != 0) return nullptr;
  api->SetPageSegMode(tesseract::PSM_SINGLE_BLOCK_VERT_TEXT);
  columnsApi_ = std::move(api);
  columnsUnavailable_ = false;
  return columnsApi_.get();
}

TesseractRecognizer::Reading TesseractRecognizer::ReadTurned(const Page& page, int quarterTurns,
                                                             const RecognitionCancelCheck& cancelled) {
  if (cancelled && cancelled()) throw RecognitionCancelled();
  const RecognitionScale scale = RecognitionScaleOf(page);
  RecognitionImage image = PrepareForRecognition(page.pix.get(), quarterTurns, scale);
  // A page without ink (the blank back of a duplex scan) reads as no text.
  if (!HoldsInk(image, scale.dpi)) {
    Reading blank;
    blank.layout.width = pixGetWidth(image.pix.get());
    blank.layout.height = pixGetHeight(image.pix.get());
    blank.layout.dpi = scale.dpi;
    blank.layout.frame = image.frame;
    blank.image = std::move(image);
    return blank;
  }
  return Read(std::move(image), scale.dpi, cancelled, *api_, false);
}

TesseractRecognizer::Reading TesseractRecognizer::Read(RecognitionImage image, int dpi,
                                                       const RecognitionCancelCheck& cancelled,
                                                       tesseract::TessBaseAPI& api, bool columns) {
  // Tables and pictures are found on pages of lines, and read apart.
  const PageRegions regions = columns ? PageRegions{} : FindPageRegions(image.pix.get(), dpi);
  const PixPtr textOnly = WithoutRegions(image.pix.get(), regions);
  api.SetImage(textOnly ? textOnly.get() : image.pix.get());
  api.SetSourceResolution(dpi);
  tesseract::ETEXT_DESC monitor;
  if (cancelled) {
    monitor.cancel = &CancelRequested;
    monitor.cancel_this = const_cast<RecognitionCancelCheck*>(&cancelled);
  }
  const int status = api.Recognize(cancelled ? &monitor : nullptr);
  // A cancelled page may come back with part of its words, or as a failure.
  if (cancelled && cancelled()) {
    api.Clear();
    throw RecognitionCancelled();
  }
  if (status != 0) {
    api.Clear();
    throw RecognitionError("text recognition failed");
  }
  Reading reading;
  const int width = pixGetWidth(image.pix.get());
  const int height = pixGetHeight(image.pix.get());
  std::unique_ptr<tesseract::ResultIterator> iterator(api.GetIterator());
  if (iterator) {
    reading.sideways = !columns && MostTextSideways(*iterator);
    reading.layout = ReadPageLayout(*iterator, width, height, dpi, columns);
  } else {
    reading.layout.width = width;
    reading.layout.height = height;
    reading.layout.dpi = dpi;
  }
  iterator.reset();
  if (!columns) RereadGarbledLines(reading.layout, dpi);
  DropSealWords(reading.layout, image.seals);
  api.Clear();
  if (!columns) AddRegionBlocks(api, image.pix.get(), dpi, regions, reading.layout);
  reading.layout.frame = image.frame;
  reading.layout.frame.columns = columns;
  double weighted = 0;
  for (const LayoutBlock& block : reading.layout.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (const LayoutLine& line : paragraph.lines) {
        for (const LayoutWord& word : line.words) {
          const auto characters = static_cast<long>(DecodeUtf8(word.text).size());
          reading.characters += characters;
          weighted += word.confidence * static_cast<double>(characters);
        }
      }
    }
  }
  if (reading.characters > 0) reading.confidence = weighted / static_cast<double>(reading.characters);
  reading.image = std::move(image);
  return reading;
}

}  // namespace zelk

