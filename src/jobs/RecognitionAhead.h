#pragma once
// Recognition of the work items after the one being written.
//
// Recognising a page costs far more than writing it, so the workers must
// never wait for the job.  The item being written is the current one; while
// fewer than two pages per worker of it (and of items already started) are
// still owed, the next items' documents are started too, so their pages
// queue behind the current ones.  The job still takes the items one by one
// in work-list order and each item's pages in page order: outputs, result
// lines and the cancel test stay exactly where they would be without the
// look-ahead.  Items started ahead of a cancel are simply closed.

#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <optional>

#include "ocr/OcrDocument.h"
#include "ocr/OcrEngine.h"

namespace zelk {

class RecognitionAhead {
 public:
  // The document of row `index` with its pages added, not yet processing;
  // nothing when the row has no page to recognise.  What it raises is kept
  // and raised again when the row is taken.
  using DocumentStarter = std::function<std::optional<OcrDocument>(std::size_t index)>;

  RecognitionAhead(OcrEngine& engine, std::size_t rowCount, DocumentStarter starter);
  RecognitionAhead(const RecognitionAhead&) = delete;
  RecognitionAhead& operator=(const RecognitionAhead&) = delete;

  // Makes row `index` the current one, starting it now unless it was
  // started ahead, and closes the documents of earlier rows.  Raises what
  // starting the row raised.  Null when the row has nothing to recognise.
  OcrDocument* Take(std::size_t index);

  // The current row's next page, in page order (raises that page's error,
  // and ItemCancelled when a stop request dropped it).
  RecognisedPage NextPage();

  // Number of rows started so far, the current one included (for tests).
  std::size_t StartedRows() const { return nextToStart_; }

 private:
  struct Row {
    std::optional<OcrDocument> document;
    std::exception_ptr error;
    int owed = 0;  // pages not yet taken
  };

  void Start(std::size_t index);
  void StartAhead();

  OcrEngine& engine_;
  std::size_t rowCount_;
  DocumentStarter starter_;
  std::map<std::size_t, Row> rows_;
  std::size_t nextToStart_ = 0;
  std::optional<std::size_t> current_;
};

}  // namespace zelk
