#pragma once
// What the PDF jobs do around each PDF they write: the document's title,
// the note on an output that could not be made PDF/A, and the rule for
// adding to a PDF that has twins.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "filesafety/OutputTransaction.h"
#include "ofd/OfdWriter.h"
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

// The extension of a PDF's OFD twin.
inline constexpr const char* kOfdExtension = "ofd";

// The OFD twin of the PDF at `pdfPath`: the same name with ".ofd".
std::string OfdTwinOf(const std::string& pdfPath);

// The OFD twin of one PDF while a job writes it, or none when the job
// writes no twin: a companion output of the item's transaction, so that it
// reaches its name before the PDF and is dropped with it.
class OfdTwin {
 public:
  // A twin at `finalPath` when `wanted`, added to `outputs` with `append`
  // as the PDF is.  `continues`: the pages already at its temporary path
  // (the document appended to, or one this item started) come first.
  OfdTwin(bool wanted, OutputTransaction& outputs, const std::string& finalPath, bool append,
          bool continues, const std::string& title);

  // The writer the pages go to, or nullptr without a twin.
  OfdDocumentWriter* Writer() { return writer_ ? &*writer_ : nullptr; }
  void Finish();

 private:
  std::optional<OfdDocumentWriter> writer_;
};

// Whether a job that adds to existing documents (`appendToExisting`) adds
// to the PDF at `pdf` and its `twins` (TIFF, OFD): only when the PDF and
// every twin are there, so that one without the other (deleted by hand, or
// a run killed between two renames) is written anew with its partners and
// no page appears twice in any of them.  Without twins the PDF alone
// decides, as before.
bool AppendsToDocument(bool appendToExisting, const std::string& pdf,
                       const std::vector<std::string>& twins);

}  // namespace zelk
