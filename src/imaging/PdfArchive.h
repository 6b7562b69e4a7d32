#pragma once
// PDF/A-1b for the documents the PDF writer makes: the output intent with
// its sRGB profile, the XMP metadata and the information dictionary, and
// the judgement whether a document that pages are added to can stay or
// become PDF/A.
//
// The pages themselves are written within PDF/A-1 anyway: PDF 1.4, images
// in Flate, CCITT or DCT with device grey or RGB colour (which the sRGB
// output intent gives their meaning), no transparency, and the text layer
// in an embedded font drawn invisibly.

#include "imaging/PdfMetadata.h"

#include <qpdf/QPDF.hh>

#include <string>

namespace zelk {

// What a document that pages are added to is to PDF/A.
enum class PdfArchiveBase {
  // Written by this program as PDF/A-1b: its description is renewed.
  OwnArchive,
  // Another program's PDF/A-1b whose output intent is RGB, so that the
  // pages added keep it conformant: its description stays as it is.
  ForeignArchive,
  // Anything else (no PDF/A claim, another part or level, encrypted, a
  // grey or CMYK output intent): pages are added and the result is not
  // PDF/A.
  NotArchive,
};
PdfArchiveBase ClassifyArchiveBase(QPDF& pdf);

// The description of `pdf` when it is one of this program's PDF/A
// documents (its title and creation date), to be kept when pages are
// added; nullopt otherwise.
std::optional<PdfDescription> OwnArchiveDescription(QPDF& pdf);

// Makes `pdf` declare PDF/A-1b with `description`: the sRGB output intent,
// the XMP metadata stream and the information dictionary, replacing what
// was there.
void DeclarePdfA(QPDF& pdf, const PdfDescription& description);

}  // namespace zelk
