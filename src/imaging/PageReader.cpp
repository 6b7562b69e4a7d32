#include "imaging/PageReader.h"

#include "imaging/BmpReader.h"
#include "imaging/ImageFormat.h"
#include "imaging/JpegReader.h"
#include "imaging/LibraryMessages.h"
#include "imaging/PageRange.h"
#include "imaging/PdfPageReader.h"
#include "imaging/PngReader.h"
#include "imaging/TiffReader.h"

namespace zelk {
namespace {

[[noreturn]] void ThrowUnknownFormat(const std::string& path) {
  throw ImageError(ErrorKind::NotThatFormat, path, "not an image file the program can read");
}

}  // namespace

Page LoadPage(const std::string& path, int page) {
  SilenceImageLibraries();
  if (page < 0) {
    throw ImageError(ErrorKind::PageMissing, path, "invalid page number " + std::to_string(page));
  }
  const int index = page == 0 ? 0 : page - 1;
  const ImageFormat format = DetectFileFormat(path);
  switch (format) {
    case ImageFormat::Tiff: return LoadTiffPage(path, index);
    case ImageFormat::Pdf: return LoadPdfPage(path, index);
    case ImageFormat::Unknown: ThrowUnknownFormat(path);
    default: break;
  }
  if (index > 0) ThrowPageBeyondEnd(path, index + 1, 1);
  switch (format) {
    case ImageFormat::Jpeg: return LoadJpegPage(path);
    case ImageFormat::Png: return LoadPngPage(path);
    default: return LoadBmpPage(path);
  }
}

int GetPageCount(const std::string& path) {
  switch (DetectFileFormat(path)) {
    case ImageFormat::Tiff: return CountTiffPages(path);
    case ImageFormat::Pdf: return CountPdfPages(path);
    case ImageFormat::Unknown: ThrowUnknownFormat(path);
    default: return 1;
  }
}

Page ReadPage(const std::string& path, int page) {
  SilenceImageLibraries();
  if (page < 0) {
    throw ImageError(ErrorKind::PageMissing, path, "invalid page number " + std::to_string(page));
  }
  const int index = page == 0 ? 0 : page - 1;
  switch (DetectFileFormat(path)) {
    case ImageFormat::Tiff: return ReadTiffPage(path, index);
    case ImageFormat::Jpeg:
      if (index > 0) ThrowPageBeyondEnd(path, index + 1, 1);
      return ReadJpegPage(path);
    default: return LoadPage(path, page);
  }
}

}  // namespace zelk
