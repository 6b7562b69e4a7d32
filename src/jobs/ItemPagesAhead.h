#pragma once
// The pages of the work item after the one being written, read and
// prepared ahead.
//
// Within an item the loader threads keep both cores busy; between two
// items they would stand idle while the run thread commits the item (sync
// and rename) and lists the next one.  So while one item is written, the
// next item's pages are already being read and prepared on loaders of
// their own, at most a few pages ahead.  The job still takes the items one
// by one in work-list order and each item's pages in page order: outputs,
// result lines and the cancel test stay exactly where they would be
// without the look-ahead.  An item is taken with the pages it lists at
// that moment; pages planned ahead are used only when they are the same
// (a directory that changed meanwhile is read afresh).

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "jobs/PageSequence.h"

namespace zelk {

// What an item reads and how its pages are prepared.  The preparer runs
// on loader threads after the item's turn may have passed, so it holds
// copies of what it uses, never references into the run.
struct ItemPages {
  std::vector<PageSource> Sources;
  PagePreparer Prepare;
};

class ItemPagesAhead {
 public:
  // Plans the pages of row `index`; what it throws leaves the row to be
  // planned in its turn (where the job raises it in place).
  using Planner = std::function<ItemPages(std::size_t index)>;

  ItemPagesAhead(std::size_t rowCount, Planner planner);
  ItemPagesAhead(const ItemPagesAhead&) = delete;
  ItemPagesAhead& operator=(const ItemPagesAhead&) = delete;

  // The pages of row `index` as `pages` lists them, and the next row's
  // started behind them.  Stops the sequences of earlier rows.
  PageSequence& Take(std::size_t index, ItemPages pages);

  // Whether row `index` was started ahead (for tests).
  bool StartedAhead(std::size_t index) const { return rows_.count(index) > 0; }

 private:
  struct Row {
    std::vector<PageSource> sources;
    std::unique_ptr<PageSequence> pages;
  };
  static Row Started(ItemPages pages);

  std::size_t rowCount_;
  Planner planner_;
  std::map<std::size_t, Row> rows_;
};

// The pages of row `index` through the job's look-ahead `ahead`, made at
// the first call with `planner` for the rows of `rowCount`.
PageSequence& TakeItemPages(std::optional<ItemPagesAhead>& ahead, std::size_t rowCount,
                            std::size_t index, ItemPages pages,
                            const ItemPagesAhead::Planner& planner);

}  // namespace zelk
