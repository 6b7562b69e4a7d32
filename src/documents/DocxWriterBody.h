#pragma once
// word/document.xml of a DOCX package: the document's sections, paragraphs
// and table grids as WordprocessingML.

#include <string>

#include "documents/WordDocument.h"

namespace zelk {

std::string DocxDocumentXml(const WordDocument& document);

}  // namespace zelk
