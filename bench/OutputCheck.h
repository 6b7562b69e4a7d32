#pragma once
// Whether a program's output holds what it should, read with tools that
// are not the program's own: libtiff and qpdf.  Each check prints a line
// saying what is wrong when it fails.  The TIFF checks run in a child
// process, so the bench that measures programs stays small.

#include <string>

namespace zelk::bench {

// `path` is a TIFF file of exactly `pages` directories.
bool TiffHoldsPages(const std::string& path, int pages);

// `dir` holds, at any depth, exactly `files` TIFF files of one page each.
bool HoldsSinglePageTiffs(const std::string& dir, int files);

// qpdf --show-npages reads `path` and counts `pages`.
bool PdfHoldsPages(const std::string& path, int pages);

}  // namespace zelk::bench
