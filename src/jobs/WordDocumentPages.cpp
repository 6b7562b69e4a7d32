#include "jobs/WordDocumentPages.h"

#include "documents/LayoutPictures.h"
#include "ocr/RecognitionImage.h"

namespace zelk {

void WordDocumentPages::Prepend(const std::vector<PageLayout>& earlier) {
  layouts_.insert(layouts_.begin(), earlier.begin(), earlier.end());
}

void WordDocumentPages::Add(RecognisedPage page) {
  const bool pictures = options_.retention != LayoutRetention::PlainText && HasPictureRegions(page.layout);
  if (options_.keepColours || pictures) {
    // The boxes lie on the page as recognised: turned upright and straightened.
    if (!page.layout.frame.IsIdentity()) {
      page.image.pix = UprightPageImage(page.image.pix.get(), page.layout.frame);
      DropStoredForms(page.image);
    }
    if (options_.keepColours) SampleLayoutColours(page.image, page.layout);
    if (pictures) CropLayoutPictures(page.image, page.layout);
  }
  layouts_.push_back(std::move(page.layout));
}

void WordDocumentPages::Write(const std::string& finalPath, const std::string& writePath) const {
  ExportWordDocument(layouts_, options_, WordFileFormatFor(finalPath), writePath);
}

}  // namespace zelk
