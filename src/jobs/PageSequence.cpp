#include "jobs/PageSequence.h"

#include <algorithm>
#include <thread>

#include "imaging/PageReader.h"

namespace zelk {
namespace {

// Two loader threads keep up with any job's writing; more would only
// compete with the recognition workers and the writer for the cores.
constexpr std::size_t kMostLoaderThreads = 2;

std::size_t LoaderThreads() {
  return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMostLoaderThreads);
}

// A decoded A4 colour page takes some 35 MB, so only a few are held at
// once: one waiting per loader thread while it loads the next.
std::size_t PagesAhead(std::size_t requested) {
  return requested > 0 ? requested : 2 * LoaderThreads();
}

}  // namespace

PageSequence::PageSequence(std::vector<PageSource> sources, std::size_t ahead)
    : sources_(std::move(sources)),
      loads_(
          sources_.size(),
          [this](std::size_t index) {
            const PageSource& source = sources_[index];
            return LoadPage(source.Path, source.PageNumber);
          },
          LoaderThreads(), PagesAhead(ahead)) {}

}  // namespace zelk
