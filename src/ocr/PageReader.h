#pragma once
// How the engine reads the pages of an image file.  Injectable so that the
// tests can hand in a fake one.

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

// The image toolkit's reader: TIFF (every page), JPEG, PNG, BMP and PDF.
PageReader DefaultPageReader();

}  // namespace zelk
