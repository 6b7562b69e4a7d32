#pragma once
// The fixed parts of a DOCX package around word/document.xml: content
// types, relationships, styles with the document's fonts and default size,
// settings and the document properties.

#include <string>
#include <vector>

namespace zelk {

struct DocxPart {
  std::string name;  // path inside the package
  std::string xml;
};

// A picture file of the document: its part name (word/media/...) and the
// relationship the document names it by.
struct DocxMedia {
  std::string part;
  std::string relationshipId;
};

// Every part but word/document.xml and the pictures, for a document whose
// default font size is `defaultHalfPoints` and which shows `media`.
std::vector<DocxPart> DocxPackageParts(int defaultHalfPoints, const std::vector<DocxMedia>& media = {});

inline constexpr const char* kDocxDocumentPart = "word/document.xml";

}  // namespace zelk
