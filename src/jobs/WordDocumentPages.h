#pragma once
// The recognised pages of one word-processor document, gathered page by
// page as recognition delivers them and written in one go at the end.
//
// Only the layouts are kept: with colours kept each page's ink and paper
// colours are sampled from its image first, and its pictures cropped and
// compressed (in every mode but plain text), then the image is dropped, so
// a long document holds text and pictures, not whole pages of pixels.

#include <string>
#include <vector>

#include "documents/WordExport.h"
#include "ocr/PageLayout.h"
#include "ocr/RecognitionPool.h"

namespace zelk {

class WordDocumentPages {
 public:
  explicit WordDocumentPages(WordExportOptions options) : options_(options) {}

  // Pages an earlier document of the same name already holds; the pages
  // added here follow them.
  void Prepend(const std::vector<PageLayout>& earlier);

  void Add(RecognisedPage page);

  const std::vector<PageLayout>& Layouts() const { return layouts_; }

  // Writes the document to `writePath` (a temporary path of the item's
  // outputs, see OutputTransaction) in the format the name it is to have,
  // `finalPath`, asks for: DOCX for ".docx", RTF for every other name.
  void Write(const std::string& finalPath, const std::string& writePath) const;

 private:
  WordExportOptions options_;
  std::vector<PageLayout> layouts_;
};

}  // namespace zelk
