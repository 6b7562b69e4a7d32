#pragma once
// Pages of PDF files, rendered to pixels.  A scanned PDF holds one image a
// page; the page is rendered at that image's resolution (found with qpdf)
// so that no detail is lost and nothing is blown up, and as bitonal, grey
// or colour after the image's own colours.  A page without images is
// rendered in colour at 300 dpi.

#include "imaging/Page.h"

#include <string>

namespace zelk {

// `pageIndex` counts from 0.
Page LoadPdfPage(const std::string& path, int pageIndex);

int CountPdfPages(const std::string& path);

}  // namespace zelk
