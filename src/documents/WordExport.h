#pragma once
// The word-processor export of recognised pages (the engine's format code
// 0): the layout-retention mode and colour choice of a run, the mapping of
// page layouts onto an editable document, and the file it is written to.

#include <optional>
#include <string>
#include <vector>

#include "documents/WordDocument.h"
#include "imaging/Page.h"
#include "ocr/PageLayout.h"

namespace zelk {

// How much of the page's look the document keeps; the values are the
// engine's layout-retention codes.
enum class LayoutRetention {
  PlainText = 1,      // "纯文本": paragraphs in the default font and size
  FormattedText = 3,  // "带格式的文本": paragraphs with their font sizes and colours
  ExactCopy = 4,      // "和原稿保持一致": text blocks in a table grid at their places
  EditableCopy = 5,   // "容易编辑的原稿版本": flowing paragraphs keeping columns,
                      // font sizes and page breaks
};

// The engine's own choice when a run sets no mode.
inline constexpr LayoutRetention kDefaultLayoutRetention = LayoutRetention::EditableCopy;

struct WordExportOptions {
  LayoutRetention retention = kDefaultLayoutRetention;
  // True: word ink and block paper colours as sampled from the page image;
  // false: black text on white.
  bool keepColours = false;
};

// Samples the ink colour of every word and the paper colour of every block
// from the page image the layout was recognised on, into the layout's
// `color` and `background` fields.  Dark ink on white paper gives black on
// white.
void SampleLayoutColours(const Page& image, PageLayout& layout);

// The document of the recognised pages (in page order; one section per
// page, or per column band of a page in the editable-copy mode) under the
// options.  A page whose resolution is unknown (0) is taken at
// 300 dpi.
WordDocument BuildWordDocument(const std::vector<PageLayout>& pages,
                               const WordExportOptions& options);

// File formats of the export: a path ending in ".docx" (any case) gets an
// Office Open XML package, every other path (".doc", ".rtf", no extension)
// RTF, which word processors open under any of these names.
enum class WordFileFormat { Rtf, Docx };
WordFileFormat WordFileFormatFor(const std::string& path);

// BuildWordDocument, then the document written to `path` in the format its
// name asks for, replacing what is there.  Raises std::runtime_error naming
// the path and the reason when the file cannot be written; the caller
// writes to a temporary name and renames on success, so a failure leaves
// no document behind.
void ExportWordDocument(const std::vector<PageLayout>& pages, const WordExportOptions& options,
                        const std::string& path);
// The same in the given format, whatever the name (a temporary name of the
// final document, say).
void ExportWordDocument(const std::vector<PageLayout>& pages, const WordExportOptions& options,
                        WordFileFormat format, const std::string& path);

}  // namespace zelk
