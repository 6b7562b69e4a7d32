#pragma once
// Pages of one work item, loaded ahead of their use.
//
// Decoding a page is the slow part of most jobs.  While the job saves one
// page, the next few are already being loaded on a small, fixed set of
// loader threads; the job still receives them one by one, in the order
// given, so the documents it writes keep their page order and are written
// from one thread only.

#include <cstddef>
#include <string>
#include <vector>

#include "imaging/Page.h"
#include "platform/ReadAhead.h"

namespace zelk {

struct PageSource {
  std::string Path;
  int PageNumber = 1;  // counts from 1
};

class PageSequence {
 public:
  // `ahead`: how many pages may be loaded (or loading) and not yet taken;
  // 0 chooses two per loader thread.
  explicit PageSequence(std::vector<PageSource> sources, std::size_t ahead = 0);
  // Stops the loaders: pages not yet begun are never loaded, the running
  // loads end and are dropped.
  ~PageSequence() = default;
  PageSequence(const PageSequence&) = delete;
  PageSequence& operator=(const PageSequence&) = delete;

  bool AtEnd() const { return loads_.AtEnd(); }

  // The next page in order.  Throws what its load threw (ImageError for an
  // unreadable page), and std::out_of_range past the end.
  Page Next() { return loads_.Next(); }

 private:
  std::vector<PageSource> sources_;
  ReadAhead<Page> loads_;  // after sources_, which its loaders read
};

}  // namespace zelk
