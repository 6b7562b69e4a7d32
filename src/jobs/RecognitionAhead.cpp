#include "jobs/RecognitionAhead.h"

#include <stdexcept>
#include <utility>

#include "ocr/OcrError.h"
#include "run/Job.h"

namespace zelk {

RecognitionAhead::RecognitionAhead(OcrEngine& engine, std::size_t rowCount,
                                   DocumentStarter starter)
    : engine_(engine), rowCount_(rowCount), starter_(std::move(starter)) {}

void RecognitionAhead::Start(std::size_t index) {
  rows_.erase(index);
  Row& row = rows_[index];
  try {
    std::optional<OcrDocument> document = starter_(index);
    if (document) {
      row.document.emplace(std::move(*document));
      row.document->BeginProcess();
      row.owed = row.document->PageCount();
    }
  } catch (...) {
    row.document.reset();
    row.owed = 0;
    row.error = std::current_exception();
  }
}

void RecognitionAhead::StartAhead() {
  const int wanted = 2 * engine_.WorkerCount();
  int owed = 0;
  for (const auto& [index, row] : rows_) owed += row.owed;
  while (owed < wanted && nextToStart_ < rowCount_) {
    const std::size_t index = nextToStart_++;
    Start(index);
    owed += rows_.at(index).owed;
  }
}

OcrDocument* RecognitionAhead::Take(std::size_t index) {
  // Earlier rows are done with (or were passed over): their pages go.
  rows_.erase(rows_.begin(), rows_.lower_bound(index));
  if (index >= nextToStart_) {
    nextToStart_ = index + 1;
    Start(index);
  }
  current_ = index;
  Row& row = rows_.at(index);
  if (row.error) {
    const std::exception_ptr error = row.error;
    rows_.erase(index);
    current_.reset();
    std::rethrow_exception(error);
  }
  StartAhead();
  return row.document ? &*row.document : nullptr;
}

RecognisedPage RecognitionAhead::NextPage() {
  if (!current_) throw std::logic_error("no current row to take a page from");
  Row& row = rows_.at(*current_);
  if (!row.document || !row.document->HasNextPage()) {
    throw std::logic_error("the current row has no page left");
  }
  --row.owed;
  StartAhead();
  try {
    return row.document->NextPage();
  } catch (const RecognitionCancelled&) {
    // The current row's own pages are dropped only by a stop request.
    throw ItemCancelled();
  }
}

}  // namespace zelk
