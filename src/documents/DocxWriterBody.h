#pragma once
// word/document.xml of a DOCX package: the document's sections, paragraphs
// and table grids as WordprocessingML.

#include <string>
#include <vector>

#include "documents/DocxWriterParts.h"
#include "documents/WordDocument.h"

namespace zelk {

// word/document.xml of `document`; the files of its pictures are added to
// `media` as parts named word/media/picture<n>.<png or jpeg>, related as
// rIdPicture<n>.
std::string DocxDocumentXml(const WordDocument& document, std::vector<DocxPart>& media);

}  // namespace zelk
