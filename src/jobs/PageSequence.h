#pragma once
// Pages of one work item, loaded ahead of their use.
//
// Reading, decoding and encoding pages is the slow part of the image jobs.
// While the job writes one page, the next few are read (ReadPage: their
// stored form, decoded only where nothing else can stand for them) and
// prepared (the job's encoding made ahead, PreparedPage.h) on a small,
// fixed set of loader threads, one per core up to four; the job still
// receives them one by one, in the order given, so the documents it
// writes keep their page order and are written from one thread only.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "imaging/Page.h"
#include "jobs/PreparedPage.h"
#include "platform/ReadAhead.h"

namespace zelk {

struct PageSource {
  std::string Path;
  int PageNumber = 1;  // counts from 1
};

// Prepares a page read for item `index` of the sources, on a loader thread.
using PagePreparer = std::function<void(PreparedPage& page, std::size_t index)>;

class PageSequence {
 public:
  // `ahead`: how many pages may be loaded (or loading) and not yet taken;
  // 0 chooses two per loader thread.
  explicit PageSequence(std::vector<PageSource> sources, std::size_t ahead = 0);
  // Pages prepared by `prepare` after reading.
  PageSequence(std::vector<PageSource> sources, PagePreparer prepare);
  // Stops the loaders: pages not yet begun are never loaded, the running
  // loads end and are dropped.
  ~PageSequence() = default;
  PageSequence(const PageSequence&) = delete;
  PageSequence& operator=(const PageSequence&) = delete;

  bool AtEnd() const { return loads_.AtEnd(); }

  // The next page in order.  Throws what its load threw (ImageError for an
  // unreadable page), and std::out_of_range past the end.
  PreparedPage Next() { return loads_.Next(); }

 private:
  PageSequence(std::vector<PageSource> sources, PagePreparer prepare, std::size_t ahead);

  std::vector<PageSource> sources_;
  PagePreparer prepare_;
  ReadAhead<PreparedPage> loads_;  // after sources_ and prepare_, which its loaders use
};

}  // namespace zelk
