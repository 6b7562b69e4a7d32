#pragma once
// Which file names the scans take as image sources.

#include <string>
#include <string_view>

namespace zelk {

// An image file for the file-mode scan: the lower-cased name contains
// ".tif", ".bmp", ".jpg", ".png" or ".pdf" anywhere (so a.tiff and
// a.pdf.bak are taken, notes.txt is not).
bool IsAcceptedSourceName(std::string_view fileName);

// A page file of a leaf directory for the directory scan and jobs: the
// lower-cased name contains ".tif" (when `tif`) or ".jpg" (when `jpg`)
// anywhere, so x.tiff and scan.jpg.bak are pages and a.jpeg is not.
bool IsPageFileName(std::string_view fileName, bool tif, bool jpg);

}  // namespace zelk
