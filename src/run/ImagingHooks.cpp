#include "run/ImagingHooks.h"

#include "filesafety/OutputTransaction.h"
#include "imaging/PageReader.h"

namespace zelk {

void AttachImagingHooks(ScanOptions& options) {
  options.PageCount = [](const std::string& path) { return GetPageCount(path); };
  options.IsTemporaryOutput = [](std::string_view name) { return IsTemporaryOutput(name); };
}

}  // namespace zelk
