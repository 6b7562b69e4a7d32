#pragma once
// JPEG file output: one page a file, grey or YCbCr with the chroma
// subsampling the format code names, the resolution in the JFIF header.

#include "imaging/Page.h"
#include "imaging/SaveFormat.h"

#include <string>

namespace zelk {

// `spec.bitsPerPixel` 24 writes colour; 1 and 8 write grey (a palette with
// colours is written as colour); 0 follows the page.  A source page whose
// own JPEG stream is no finer in quality or chroma than this encoding would
// be is copied as it stands, only its JFIF resolution set.
//
// A JPEG file holds one page: with `append` set and a non-empty file
// already at `path` the save fails instead of dropping a page.  Throws
// ImageError for a code outside the JPEG set or a failed write; a failed
// write leaves no file behind.
void SaveJpegPage(const Page& page, const std::string& path, const SaveSpec& spec, bool append);

}  // namespace zelk
