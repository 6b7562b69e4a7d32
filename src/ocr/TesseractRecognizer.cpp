#include "ocr/TesseractRecognizer.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <mutex>

#include "ocr/OcrError.h"
#include "ocr/TesseractLayout.h"

namespace zelk {
namespace {

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

}  // namespace

int RecognitionResolution(const Page& page) {
  const int dpi = page.yDpi > 0 ? page.yDpi : page.xDpi;
  return dpi >= 100 ? dpi : 300;
}

TesseractRecognizer::TesseractRecognizer(const TesseractSetup& setup)
    : api_(std::make_unique<tesseract::TessBaseAPI>()) {
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
  const int dpi = RecognitionResolution(page);
  api_->SetImage(page.pix.get());
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
  PageLayout layout;
  std::unique_ptr<tesseract::ResultIterator> iterator(api_->GetIterator());
  if (iterator) {
    layout = ReadPageLayout(*iterator, pixGetWidth(page.pix.get()), pixGetHeight(page.pix.get()), dpi);
  } else {
    layout.width = pixGetWidth(page.pix.get());
    layout.height = pixGetHeight(page.pix.get());
    layout.dpi = dpi;
  }
  iterator.reset();
  api_->Clear();
  return layout;
}

}  // namespace zelk
