#pragma once
// Text views of a recognised page layout: the PDF text-layer model and the
// plain-text export.

#include <string>
#include <vector>

#include "imaging/PageText.h"
#include "ocr/PageLayout.h"

namespace zelk {

// The line's words joined, a blank after each word that asks for one.
std::string LineText(const LayoutLine& line);

// The page's lines in reading order with their words, for the text layer.
PageText TextLayerOf(const PageLayout& layout);

// Plain text of a document: UTF-8, every line ended by CR LF, an empty line
// between paragraphs, a form feed between pages.
std::string PlainText(const std::vector<PageLayout>& pages);

// Writes PlainText(pages) to path; raises ExportError when the file cannot
// be written, and then leaves no partial file behind.
void WritePlainTextFile(const std::vector<PageLayout>& pages, const std::string& path);

}  // namespace zelk
