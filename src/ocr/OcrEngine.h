#pragma once
// The recognition engine of one run: language data loaded into one
// Tesseract instance per worker thread, and the documents recognised on
// them.  Loading takes a moment and a good deal of memory, so a job loads
// the engine once at the start of its run and drops it (unloads) at the end.

#include <memory>
#include <string>
#include <vector>

#include "ocr/OcrDocument.h"
#include "ocr/PageReader.h"
#include "ocr/RecognitionLanguage.h"
#include "ocr/RecognitionPool.h"

namespace zelk {

struct OcrEngineOptions {
  // Program language names joined with "+".
  std::string languages{kDefaultRecognitionLanguage};
  // Directories searched for the language data, most preferred first;
  // empty means DefaultTessdataCandidates().
  std::vector<std::string> tessdataCandidates;
  // Worker threads; 0 means DefaultWorkerCount().
  int workers = 0;
  // How documents read their image files.
  PageReader pageReader = DefaultPageReader();
  // Asked by the workers while they recognise; true stops the pages in
  // progress and drops the queued ones (RecognitionPool).
  RecognitionCancelCheck cancelled;
};

class OcrEngine {
 public:
  // Loads the engine.  Raises EngineLoadError (number 10000, description
  // "Error while loading OCR engine: " and the reason) when the languages
  // are unknown, their data is missing or unreadable, or the workers cannot
  // be started.
  static OcrEngine Load(const OcrEngineOptions& options = {});

  // An engine on a ready pool (tests use it with stand-in recognizers).
  OcrEngine(std::unique_ptr<RecognitionPool> pool, PageReader reader);

  // A new empty document; the engine must outlive it.
  OcrDocument CreateDocument() { return OcrDocument(*pool_, reader_); }
  RecognitionPool& Pool() { return *pool_; }
  int WorkerCount() const { return pool_->WorkerCount(); }

 private:
  std::unique_ptr<RecognitionPool> pool_;
  PageReader reader_;
};

}  // namespace zelk
