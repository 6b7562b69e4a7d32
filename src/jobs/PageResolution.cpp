#include "jobs/PageResolution.h"

#include <array>

namespace zelk {

namespace {

// A fax stores rows at 98 dpi under columns at 204 (or 100 under 200).
bool FaxRows(const Page& page) {
  return page.xDpi >= kLowestTrustedResolution && page.yDpi < kLowestTrustedResolution &&
         page.yDpi * 5 >= page.xDpi * 2;
}

}  // namespace

void RaiseLowResolution(Page& page) {
  if (FaxRows(page)) return;
  if (page.xDpi < kLowestTrustedResolution) page.xDpi = kRaisedResolution;
  if (page.yDpi < kLowestTrustedResolution) page.yDpi = kRaisedResolution;
}

std::optional<int> TableResolution(int16_t imageResolution) {
  static constexpr std::array<int, 7> kTable = {96, 150, 200, 300, 400, 500, 600};
  if (imageResolution < 1 || imageResolution > static_cast<int16_t>(kTable.size())) {
    return std::nullopt;
  }
  return kTable[static_cast<std::size_t>(imageResolution - 1)];
}

}  // namespace zelk
