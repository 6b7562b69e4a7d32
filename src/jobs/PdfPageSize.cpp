#include "jobs/PdfPageSize.h"

#include <optional>

#include "jobs/PageResolution.h"

namespace zelk {

PdfPageOptions PdfPageOptionsFor(int16_t imageResolution, bool exactImageSize, const Page& page) {
  PdfPageOptions options;
  const std::optional<int> resolution = TableResolution(imageResolution);
  options.xDpi = resolution.value_or(page.xDpi);
  options.yDpi = resolution.value_or(page.yDpi);
  options.exactImageSize = exactImageSize;
  return options;
}

}  // namespace zelk
