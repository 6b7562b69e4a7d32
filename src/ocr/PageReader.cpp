#include "ocr/PageReader.h"

#include "imaging/PageReader.h"

namespace zelk {

PageReader DefaultPageReader() {
  return PageReader{[](const std::string& path) { return GetPageCount(path); },
                    [](const std::string& path, int pageIndex) { return LoadPage(path, pageIndex + 1); }};
}

}  // namespace zelk
