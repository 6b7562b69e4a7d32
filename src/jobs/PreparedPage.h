#pragma once
// A page with what a job will write for it, encoded ahead on a loader
// thread.
//
// Encoding (or deciding to copy the stored data) is most of an image job's
// work, so the loaders do it while the run thread writes the pages before.
// The save parameters come from a chooser that keeps state between calls
// (a setting outside its table leaves the previous page's value), so a
// loader only predicts them with a fresh chooser; the run thread still
// chooses in page order and uses the encoding made ahead only when its
// parameters are exactly the predicted ones, encoding anew otherwise.

#include <optional>
#include <string>
#include <string_view>

#include "imaging/Page.h"
#include "imaging/PdfWriter.h"
#include "imaging/TiffWriter.h"
#include "ofd/OfdWriter.h"
#include "jobs/SaveChoice.h"

namespace zelk {

struct PreparedPage {
  Page page;
  struct Tiff {
    SaveParameters params;
    std::shared_ptr<const TiffStrips> strips;
  };
  struct Pdf {
    SaveParameters params;
    PdfImage image;
  };
  std::optional<Tiff> tif;
  std::optional<Pdf> pdf;
};

// Encodes `prepared.page` ahead for the TIFF the run thread will save it
// to (ChooseTifSaveFormat with `kind`), when the parameters can be
// predicted and name a TIFF code.  Never throws: what fails here fails
// again, in its place, when the run thread saves the page.
void PrepareTiff(PreparedPage& prepared, const Settings::ImageCompressSection& compress,
                 int16_t kind);

// The same for a PDF page (ChoosePdfSaveFormat with `name`).
void PreparePdf(PreparedPage& prepared, const Settings::ImageCompressSection& compress,
                std::string_view name);

// Saves the page to the TIFF (or, for a JPEG code, the JPEG file) at
// `path` with the parameters the chooser has just set, through the
// encoding made ahead when it was made for them.
void SavePrepared(const PreparedPage& prepared, const SaveParameters& params,
                  const std::string& path, bool append);

// Adds the page to the multi-page TIFF `writer` likewise (`params` name a
// TIFF code).
void AddPrepared(TiffDocumentWriter& writer, const PreparedPage& prepared,
                 const SaveParameters& params);

// Adds the page to `writer` likewise, and the same image to the OFD twin
// when there is one.
void AddPrepared(PdfDocumentWriter& writer, const PreparedPage& prepared,
                 const SaveParameters& params, const PdfPageOptions& options,
                 OfdDocumentWriter* twin = nullptr);

}  // namespace zelk
