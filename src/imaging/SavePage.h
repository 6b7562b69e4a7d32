#pragma once
// Saving a page with a save-format code: the one call the jobs make, after
// a chooser has picked the code, the bits per pixel and the quality factor.

#include "imaging/Page.h"
#include "imaging/SaveFormat.h"

#include <string>

namespace zelk {

// TIFF codes (29, 28, 27, 25, 17, 3, 11, 24, 22) go to the TIFF writer,
// JPEG codes (10, 23, 21) to the JPEG writer, PDF codes (146 to 152) to the
// PDF writer with the page's own resolution.  `append`: the page is added
// to the file at `path` when there is one (a JPEG file takes no second
// page), else the file is created or replaced.  Throws ImageError, also for
// an unknown code.
void SavePage(const Page& page, const std::string& path, const SaveSpec& spec, bool append);

}  // namespace zelk
