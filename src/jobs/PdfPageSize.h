#pragma once
// The size the PDF jobs give a page: the PDF writer's resolution pair and
// its switch between the image's own size and a standard paper.

#include <cstdint>

#include "imaging/Page.h"
#include "imaging/PdfWriter.h"

namespace zelk {

// The options for `page` under an ImageResolution key: the resolution
// pair from the table (TableResolution), or the page's own for 0 and for
// any value outside the table; `exactImageSize` is the writer's switch
// (false: a standard paper when the image has nearly its size).
PdfPageOptions PdfPageOptionsFor(int16_t imageResolution, bool exactImageSize, const Page& page);

}  // namespace zelk
