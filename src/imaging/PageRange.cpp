#include "imaging/PageRange.h"

#include "imaging/Page.h"

namespace zelk {

void ThrowPageBeyondEnd(const std::string& path, int pageNumber, int pageCount) {
  throw ImageError(ErrorKind::PageMissing, path,
                   "page " + std::to_string(pageNumber) + " is beyond the end of the file (" +
                       std::to_string(pageCount) + (pageCount == 1 ? " page)" : " pages)"));
}

}  // namespace zelk
