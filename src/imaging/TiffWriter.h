#pragma once
// TIFF output through libtiff, one directory per page.
//
// Appending opens the file in libtiff's append mode: the new page's data
// and directory go to the end and the last directory is linked to it; the
// pages already there are neither read nor rewritten, so a page costs the
// same time and memory however long the document is.

#include "imaging/Page.h"

#include <string>

namespace zelk {

// Writes `page` with the compression of the TIFF format code at
// `bitsPerPixel` (1, 8 or 24; 0 keeps the page's own depth class) and the
// quality factor (JPEG codes only).  `append`: add the page to the file
// when it exists; otherwise the file is created or replaced.
//
// A page that is already single-strip G4 data (Page::raw) saved with the G4
// code has that data copied as it stands.  A palette page at 8 bits keeps
// its palette; JPEG codes write grey pages as one-component JPEG.
//
// Throws ImageError for a code outside the TIFF set, a CCITT code on a page
// deeper than 1 bit, or a failed write.  Checks happen before the file is
// touched; a write that fails half-way is taken back (an appended file
// returns to its former bytes and length, a new or replaced one is removed).
void SaveTiffPage(const Page& page, const std::string& path, int formatCode, int bitsPerPixel,
                  int qualityFactor, bool append);

}  // namespace zelk
