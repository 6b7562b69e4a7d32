#pragma once
// The dual-layer PDF benches' comparison with ocrmypdf, a general-purpose
// OCR tool that adds a text layer to a PDF: the same pages, as one PDF
// made by img2pdf (the image data embedded as it is), recognised with
// `ocrmypdf -l chi_sim+eng --jobs 2` and any further options.  Also the
// measure both sides share: the character error rate of a PDF's text as
// pdftotext extracts it.

#include <optional>
#include <string>
#include <vector>

#include "BenchRun.h"
#include "RecognitionCorpus.h"

namespace zelk::bench {

// Errors of pdftotext's text of page `page` (1-based) of `pdf` against
// the known lines of that page; blanks and line ends ignored on both sides.
ErrorCount PdfPageErrors(const std::string& pdf, int page, const std::vector<std::string>& knownLines);

// Errors of the engine's own plain text (the `tesseract` command, -l
// chi_sim+eng, its page segmentation left as it is) of one page image
// against its known lines; nothing when the command is missing.
std::optional<ErrorCount> EngineTextErrors(const std::string& image, const std::vector<std::string>& knownLines);

struct OcrmypdfFigures {
  bool available = false;  // ocrmypdf and img2pdf found on the PATH
  RunFigures figures;      // ocrmypdf alone, its children included
  unsigned long long bytes = 0;
  ErrorCount errors;              // all pages
  std::vector<ErrorCount> pages;  // page by page, in the order of the input
};

// Builds `workDirectory`/input.pdf from `pageFiles` with img2pdf and runs
// ocrmypdf on it, with `options` added (--deskew ...), into
// `workDirectory`/ocrmypdf.pdf.
OcrmypdfFigures RunOcrmypdf(const std::vector<std::string>& pageFiles,
                            const std::vector<std::vector<std::string>>& known,
                            const std::string& workDirectory, const std::vector<std::string>& options = {});

}  // namespace zelk::bench
