#pragma once
// One document of the engine: the pages of one or more image files,
// recognised on the engine's worker pool.
//
// Typical use: AddImageFile, BeginProcess, then NextPage for each page in
// order (each page arrives with its image, for the PDF writer), then
// WritePlainText if a text file is wanted, then Close.  Process does all the
// pages at once when only the layouts are needed.
//
// Pages are handed to the pool a few at a time (twice the worker count
// ahead of the reader), so that memory holds a few decoded pages however
// long the document is.  Several documents may be processing at the same
// time; their pages share the pool in the order they were handed to it.

#include <atomic>
#include <deque>
#include <future>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ocr/PageLayout.h"
#include "ocr/PageReader.h"
#include "ocr/RecognitionPool.h"

namespace zelk {

class OcrDocument {
 public:
  OcrDocument(RecognitionPool& pool, PageReader reader);
  // Closes the document.
  ~OcrDocument();
  OcrDocument(OcrDocument&&) = default;
  OcrDocument& operator=(OcrDocument&&) = delete;

  // Appends every page of the file.  Raises ImageError when the file cannot
  // be read; the document is then unchanged.
  void AddImageFile(const std::string& path);
  // Appends page `pageIndex` (0 is the first) of the file without reading
  // it; a page that cannot be read fails when it is recognised.
  void AddImagePage(const std::string& path, int pageIndex);
  int PageCount() const { return static_cast<int>(pages_.size()); }

  // Starts recognition and returns at once.
  void BeginProcess();
  bool HasNextPage() const { return delivered_ < PageCount(); }
  // The next page in document order, waiting for it if need be.  Raises the
  // page's error (ImageError, RecognitionError); the page counts as
  // delivered either way, so the document can go on with the next one.
  RecognisedPage NextPage();
  // Recognises all remaining pages, keeping only their layouts.  Raises the
  // first page error, after the other pages have finished.
  void Process();

  // Layouts of the pages delivered so far, in document order (an empty one
  // for a page that failed).
  const std::vector<PageLayout>& Layouts() const { return layouts_; }
  // Writes the plain text of every page; processes what is left first.
  void WritePlainText(const std::string& path);

  // Drops the pages no worker has started; results still owed are dropped.
  void Close();

 private:
  void HandPagesToPool();

  RecognitionPool* pool_;
  PageReader reader_;
  std::vector<std::pair<std::string, int>> pages_;  // file and page index
  int submitted_ = 0;
  int delivered_ = 0;
  bool processing_ = false;
  std::deque<std::future<RecognisedPage>> inFlight_;
  std::vector<PageLayout> layouts_;
  std::shared_ptr<std::atomic<bool>> abandoned_;
};

}  // namespace zelk
