#pragma once
// How the engine reads the pages of an image file.  Injectable so that the
// jobs can hand in the image toolkit's reader and tests a fake one.

#include <functional>
#include <string>

#include "imaging/Page.h"

namespace zelk {

struct PageReader {
  // Number of pages of the file; raises ImageError when it cannot be read.
  std::function<int(const std::string& path)> pageCount;
  // Page pageIndex (0 is the first) with decoded pixels; raises ImageError.
  std::function<Page(const std::string& path, int pageIndex)> loadPage;
};

// Reads TIFF (every page), JPEG, PNG and BMP files through Leptonica.
PageReader DefaultPageReader();

}  // namespace zelk
