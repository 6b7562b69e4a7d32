#include "ocr/TesseractRecognizer.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "ocr/OcrError.h"
#include "ocr/OrientationDetector.h"
#include "ocr/PageRegions.h"
#include "ocr/RecognitionImage.h"
#include "ocr/TesseractLayout.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

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

int RecognitionResolution(const Page& page) {
  const int dpi = page.yDpi > 0 ? page.yDpi : page.xDpi;
  return dpi >= 100 ? dpi : 300;
}

TesseractRecognizer::TesseractRecognizer(const TesseractSetup& setup)
    : api_(std::make_unique<tesseract::TessBaseAPI>()),
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

TesseractRecognizer::~TesseractRecognizer() { api_->End(); }

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
  const auto guess = orientation_->Detect(best.image.pix.get(), RecognitionResolution(page));
  if (guess && guess->quarterTurns == 0 && !best.sideways && guess->confidence >= kSureUprightConfidence) {
    return std::move(best.layout);
  }
  if (guess && guess->quarterTurns != 0) {
    std::erase(turns, guess->quarterTurns);
    turns.insert(turns.begin(), guess->quarterTurns);
  }
  for (int quarterTurns : turns) {
    Reading turned = ReadTurned(page, quarterTurns, cancelled);
    if (turned.Score() > best.Score()) best = std::move(turned);
    if (best.Plain()) break;
  }
  return std::move(best.layout);
}

TesseractRecognizer::Reading TesseractRecognizer::ReadTurned(const Page& page, int quarterTurns,
                                                             const RecognitionCancelCheck& cancelled) {
  if (cancelled && cancelled()) throw RecognitionCancelled();
  return Read(PrepareForRecognition(page.pix.get(), quarterTurns), RecognitionResolution(page),
              cancelled);
}

TesseractRecognizer::Reading TesseractRecognizer::Read(RecognitionImage image, int dpi,
                                                       const RecognitionCancelCheck& cancelled) {
  const PageRegions regions = FindPageRegions(image.pix.get(), dpi);
  const PixPtr textOnly = WithoutRegions(image.pix.get(), regions);
  api_->SetImage(textOnly ? textOnly.get() : image.pix.get());
  api_->SetSourceResolution(dpi);
  tesseract::ETEXT_DESC monitor;
  if (cancelled) {
    monitor.cancel = &CancelRequested;
    monitor.cancel_this = const_cast<RecognitionCancelCheck*>(&cancelled);
  }
  const int status = api_->Recognize(cancelled ? &monitor : nullptr);
  // A cancelled page may come back with part of its words, or as a failure.
  if (cancelled && cancelled()) {
    api_->Clear();
    throw RecognitionCancelled();
  }
  if (status != 0) {
    api_->Clear();
    throw RecognitionError("text recognition failed");
  }
  Reading reading;
  const int width = pixGetWidth(image.pix.get());
  const int height = pixGetHeight(image.pix.get());
  std::unique_ptr<tesseract::ResultIterator> iterator(api_->GetIterator());
  if (iterator) {
    reading.sideways = MostTextSideways(*iterator);
    reading.layout = ReadPageLayout(*iterator, width, height, dpi);
  } else {
    reading.layout.width = width;
    reading.layout.height = height;
    reading.layout.dpi = dpi;
  }
  iterator.reset();
  api_->Clear();
  AddRegionBlocks(*api_, image.pix.get(), dpi, regions, reading.layout);
  reading.layout.frame = image.frame;
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

