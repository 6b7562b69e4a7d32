#pragma once
// Serialisers of the editable document model: RTF (opened by Word and
// LibreOffice under ".rtf" and ".doc") and DOCX (an Office Open XML package
// written with libzip).  Both raise std::runtime_error naming the path and
// the reason when the file cannot be written.

#include <string>

#include "documents/WordDocument.h"

namespace zelk {

void WriteRtfDocument(const WordDocument& document, const std::string& path);
void WriteDocxDocument(const WordDocument& document, const std::string& path);

}  // namespace zelk
