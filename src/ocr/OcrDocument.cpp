#include "ocr/OcrDocument.h"

#include <exception>
#include <stdexcept>

#include "ocr/LayoutText.h"

namespace zelk {

OcrDocument::OcrDocument(RecognitionPool& pool, PageReader reader)
    : pool_(&pool), reader_(std::move(reader)), abandoned_(std::make_shared<std::atomic<bool>>(false)) {}

OcrDocument::~OcrDocument() { Close(); }

void OcrDocument::AddImageFile(const std::string& path) {
  const int count = reader_.pageCount(path);
  for (int i = 0; i < count; ++i) pages_.emplace_back(path, i);
}

void OcrDocument::AddImagePage(const std::string& path, int pageIndex) {
  pages_.emplace_back(path, pageIndex);
}

void OcrDocument::BeginProcess() {
  processing_ = true;
  HandPagesToPool();
}

void OcrDocument::HandPagesToPool() {
  const std::size_t window = 2 * static_cast<std::size_t>(pool_->WorkerCount());
  while (submitted_ < PageCount() && inFlight_.size() < window) {
    const auto& [path, index] = pages_[submitted_++];
    inFlight_.push_back(pool_->Submit(
        [load = reader_.loadPage, path = path, index = index] { return load(path, index); },
        abandoned_));
  }
}

RecognisedPage OcrDocument::NextPage() {
  if (!processing_) BeginProcess();
  if (inFlight_.empty()) throw std::logic_error("no page left in the document");
  std::future<RecognisedPage> next = std::move(inFlight_.front());
  inFlight_.pop_front();
  ++delivered_;
  HandPagesToPool();
  try {
    RecognisedPage page = next.get();
    layouts_.push_back(page.layout);
    return page;
  } catch (...) {
    layouts_.emplace_back();  // keeps Layouts()[i] the layout of page i
    throw;
  }
}

void OcrDocument::Process() {
  std::exception_ptr firstError;
  while (HasNextPage()) {
    try {
      NextPage();
    } catch (...) {
      if (!firstError) firstError = std::current_exception();
    }
  }
  if (firstError) std::rethrow_exception(firstError);
}

void OcrDocument::WritePlainText(const std::string& path) {
  Process();
  WritePlainTextFile(layouts_, path);
}

void OcrDocument::Close() {
  if (abandoned_) abandoned_->store(true);
  inFlight_.clear();
}

}  // namespace zelk
