#include "ocr/PageReader.h"

#include <cstdio>
#include <memory>

namespace zelk {
namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

bool IsTiffFormat(l_int32 format) {
  switch (format) {
    case IFF_TIFF: case IFF_TIFF_PACKBITS: case IFF_TIFF_RLE: case IFF_TIFF_G3:
    case IFF_TIFF_G4: case IFF_TIFF_LZW: case IFF_TIFF_ZIP: case IFF_TIFF_JPEG:
      return true;
    default:
      return false;
  }
}

l_int32 FormatOf(const std::string& path) {
  l_int32 format = IFF_UNKNOWN;
  if (findFileFormat(path.c_str(), &format) != 0 || format == IFF_UNKNOWN) {
    throw ImageError("cannot read image file " + path);
  }
  return format;
}

int CountPages(const std::string& path) {
  if (!IsTiffFormat(FormatOf(path))) return 1;
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  l_int32 count = 0;
  if (!file || tiffGetCount(file.get(), &count) != 0 || count < 1) {
    throw ImageError("cannot read image file " + path);
  }
  return count;
}

Page ReadPage(const std::string& path, int pageIndex) {
  const bool tiff = IsTiffFormat(FormatOf(path));
  if (pageIndex < 0 || (!tiff && pageIndex > 0)) {
    throw ImageError("page " + std::to_string(pageIndex + 1) + " is beyond the end of " + path);
  }
  Page page;
  page.pix.reset(tiff ? pixReadTiff(path.c_str(), pageIndex) : pixRead(path.c_str()));
  if (!page.pix) {
    throw ImageError("cannot read page " + std::to_string(pageIndex + 1) + " of " + path);
  }
  l_int32 xDpi = 0, yDpi = 0;
  pixGetResolution(page.pix.get(), &xDpi, &yDpi);
  page.xDpi = xDpi;
  page.yDpi = yDpi;
  return page;
}

}  // namespace

PageReader DefaultPageReader() { return PageReader{CountPages, ReadPage}; }

}  // namespace zelk
