#pragma once
// What the PDF jobs do around each PDF they write: the document's title
// and the note on an output that could not be made PDF/A.

#include <cstddef>
#include <string>

#include "run/RunContext.h"

namespace zelk {

// The title a PDF written to `finalPath` gets: its file name without the
// extension ("b" for .../b.pdf), the name of the item or group it holds.
std::string PdfTitleOf(const std::string& finalPath);

// Notes in the day's reasons list that the PDF at `finalPath`, which item
// `index` added pages to, is not PDF/A because the document it started
// from is not (PdfDocumentWriter::Archival); the item still succeeds.
// Called once the outputs are in place.
void NoteUnarchivedPdf(RunContext& context, std::size_t index, const std::string& finalPath);

}  // namespace zelk
