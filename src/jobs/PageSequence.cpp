#include "jobs/PageSequence.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "imaging/PageReader.h"

namespace zelk {
namespace {

// A decoded A4 colour page takes some 35 MB, so only a few are held at once.
constexpr std::size_t kMostLoadsAhead = 4;

std::size_t LoadsAhead(std::size_t requested) {
  if (requested > 0) return requested;
  const std::size_t cores = std::thread::hardware_concurrency();
  return std::clamp<std::size_t>(cores, 1, kMostLoadsAhead);
}

}  // namespace

PageSequence::PageSequence(std::vector<PageSource> sources, std::size_t ahead)
    : sources_(std::move(sources)), ahead_(LoadsAhead(ahead)) {
  StartLoads();
}

PageSequence::~PageSequence() {
  for (std::future<Page>& load : loading_) {
    if (load.valid()) load.wait();
  }
}

void PageSequence::StartLoads() {
  while (started_ < sources_.size() && loading_.size() < ahead_) {
    const PageSource& source = sources_[started_++];
    loading_.push_back(std::async(std::launch::async, [path = source.Path,
                                                       page = source.PageNumber] {
      return LoadPage(path, page);
    }));
  }
}

Page PageSequence::Next() {
  if (AtEnd()) throw std::out_of_range("no page left in the sequence");
  std::future<Page> load = std::move(loading_.front());
  loading_.pop_front();
  ++taken_;
  StartLoads();
  return load.get();
}

}  // namespace zelk
