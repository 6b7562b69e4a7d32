#include "ocr/OcrEngine.h"

#include <exception>
#include <variant>

#include "ocr/Join.h"
#include "ocr/OcrError.h"
#include "ocr/RecognitionWorkers.h"
#include "ocr/TessdataLocation.h"
#include "ocr/TesseractRecognizer.h"

namespace zelk {

OcrEngine::OcrEngine(std::unique_ptr<RecognitionPool> pool, PageReader reader)
    : pool_(std::move(pool)), reader_(std::move(reader)) {}

OcrEngine OcrEngine::Load(const OcrEngineOptions& options) {
  const auto codes = TesseractLanguageCodes(options.languages);
  if (!codes) throw EngineLoadError("unknown recognition language " + options.languages);
  const auto found = FindTessdata(
      options.tessdataCandidates.empty() ? DefaultTessdataCandidates() : options.tessdataCandidates,
      *codes);
  if (const auto* missing = std::get_if<TessdataMissing>(&found)) {
    throw EngineLoadError(missing->reason);
  }
  const TesseractSetup setup{std::get<TessdataDirectory>(found).path, Join(*codes, "+")};
  const int workers = options.workers > 0 ? options.workers : DefaultWorkerCount();
  try {
    auto pool = std::make_unique<RecognitionPool>(
        workers, [&setup] { return std::make_unique<TesseractRecognizer>(setup); },
        options.cancelled);
    return OcrEngine(std::move(pool), options.pageReader);
  } catch (const EngineLoadError&) {
    throw;
  } catch (const std::exception& error) {
    throw EngineLoadError(error.what());
  }
}

}  // namespace zelk
