#pragma once
// Pages of one work item, loaded ahead of their use.
//
// Decoding a page is the slow part of most jobs.  While the job saves one
// page, the next few are already being loaded on other threads; the job
// still receives them one by one, in the order given, so the documents it
// writes keep their page order and are written from one thread only.

#include <cstddef>
#include <deque>
#include <future>
#include <string>
#include <vector>

#include "imaging/Page.h"

namespace zelk {

struct PageSource {
  std::string Path;
  int PageNumber = 1;  // counts from 1
};

class PageSequence {
 public:
  // `ahead`: how many loads may run at once; 0 chooses from the number of
  // processor cores.
  explicit PageSequence(std::vector<PageSource> sources, std::size_t ahead = 0);
  // Waits for the loads still running; their pages are dropped.
  ~PageSequence();
  PageSequence(const PageSequence&) = delete;
  PageSequence& operator=(const PageSequence&) = delete;

  bool AtEnd() const { return taken_ == sources_.size(); }

  // The next page in order.  Throws what its load threw (ImageError for an
  // unreadable page), and std::out_of_range past the end.
  Page Next();

 private:
  void StartLoads();

  std::vector<PageSource> sources_;
  std::size_t ahead_;
  std::size_t started_ = 0;
  std::size_t taken_ = 0;
  std::deque<std::future<Page>> loading_;
};

}  // namespace zelk
