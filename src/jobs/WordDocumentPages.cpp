#include "jobs/WordDocumentPages.h"

namespace zelk {

void WordDocumentPages::Prepend(const std::vector<PageLayout>& earlier) {
  layouts_.insert(layouts_.begin(), earlier.begin(), earlier.end());
}

void WordDocumentPages::Add(RecognisedPage page) {
  if (options_.keepColours) SampleLayoutColours(page.image, page.layout);
  layouts_.push_back(std::move(page.layout));
}

void WordDocumentPages::Write(const std::string& finalPath, const std::string& writePath) const {
  ExportWordDocument(layouts_, options_, WordFileFormatFor(finalPath), writePath);
}

}  // namespace zelk
