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

// Every part but word/document.xml, for a document whose default font size
// is `defaultHalfPoints`.
std::vector<DocxPart> DocxPackageParts(int defaultHalfPoints);

inline constexpr const char* kDocxDocumentPart = "word/document.xml";

}  // namespace zelk
