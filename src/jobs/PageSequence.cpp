#include "jobs/PageSequence.h"

#include <algorithm>

#include "imaging/PageReader.h"
#include "platform/AvailableCores.h"

namespace zelk {
namespace {

// Loaders read, decode and encode; the run thread only writes what they
// made.  Image jobs run alone (a recognition job reads its pages on its own
// pool), so the loaders may have every core the process may use (a Slurm
// task's share, its affinity mask), up to a few: a decoded A4 colour page
// and its conversions take some 70 MB while it is encoded.
constexpr std::size_t kMostLoaderThreads = 4;

std::size_t LoaderThreads() {
  return std::clamp<std::size_t>(AvailableCores(), 1, kMostLoaderThreads);
}

// A page a loader has prepared holds compressed data, except a page no
// stored form can stand for (PNG, BMP, tiles), which holds its decoded
// pixels (some 35 MB for A4 colour): one waiting per loader thread while
// it loads the next.
std::size_t PagesAhead(std::size_t requested) {
  return requested > 0 ? requested : 2 * LoaderThreads();
}

}  // namespace

PageSequence::PageSequence(std::vector<PageSource> sources, std::size_t ahead)
    : PageSequence(std::move(sources), nullptr, ahead) {}

PageSequence::PageSequence(std::vector<PageSource> sources, PagePreparer prepare)
    : PageSequence(std::move(sources), std::move(prepare), 0) {}

PageSequence::PageSequence(std::vector<PageSource> sources, PagePreparer prepare,
                           std::size_t ahead)
    : sources_(std::move(sources)),
      prepare_(std::move(prepare)),
      loads_(
          sources_.size(),
          [this](std::size_t index) {
            const PageSource& source = sources_[index];
            PreparedPage page{ReadPage(source.Path, source.PageNumber), {}, {}};
            if (prepare_) prepare_(page, index);
            return page;
          },
          LoaderThreads(), PagesAhead(ahead)) {}

}  // namespace zelk
