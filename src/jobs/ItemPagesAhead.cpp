#include "jobs/ItemPagesAhead.h"

#include <algorithm>
#include <exception>

namespace zelk {
namespace {

bool SameSources(const std::vector<PageSource>& a, const std::vector<PageSource>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const PageSource& x, const PageSource& y) {
                      return x.Path == y.Path && x.PageNumber == y.PageNumber;
                    });
}

}  // namespace

ItemPagesAhead::Row ItemPagesAhead::Started(ItemPages pages) {
  Row row;
  row.sources = pages.Sources;
  row.pages = std::make_unique<PageSequence>(std::move(pages.Sources), std::move(pages.Prepare));
  return row;
}

ItemPagesAhead::ItemPagesAhead(std::size_t rowCount, Planner planner)
    : rowCount_(rowCount), planner_(std::move(planner)) {}

PageSequence& ItemPagesAhead::Take(std::size_t index, ItemPages pages) {
  rows_.erase(rows_.begin(), rows_.lower_bound(index));
  auto it = rows_.find(index);
  if (it == rows_.end() || !SameSources(it->second.sources, pages.Sources)) {
    it = rows_.insert_or_assign(index, Started(std::move(pages))).first;
  }
  const std::size_t next = index + 1;
  if (next < rowCount_ && rows_.count(next) == 0) {
    try {
      rows_.emplace(next, Started(planner_(next)));
    } catch (const std::exception&) {
      // Planned again in its turn, where the error belongs.
    }
  }
  return *it->second.pages;
}

PageSequence& TakeItemPages(std::optional<ItemPagesAhead>& ahead, std::size_t rowCount,
                            std::size_t index, ItemPages pages,
                            const ItemPagesAhead::Planner& planner) {
  if (!ahead) ahead.emplace(rowCount, planner);
  return ahead->Take(index, std::move(pages));
}

}  // namespace zelk
