#include "imaging/SavePage.h"

#include "imaging/JpegWriter.h"
#include "imaging/PdfWriter.h"
#include "imaging/SaveFormat.h"
#include "imaging/TiffWriter.h"

namespace zelk {

void SavePage(const Page& page, const std::string& path, int formatCode, int bitsPerPixel,
              int qualityFactor, bool append) {
  if (IsTiffFormat(formatCode)) {
    SaveTiffPage(page, path, formatCode, bitsPerPixel, qualityFactor, append);
  } else if (IsJpegFormat(formatCode)) {
    SaveJpegPage(page, path, formatCode, bitsPerPixel, qualityFactor, append);
  } else if (IsPdfFormat(formatCode)) {
    SavePdfPage(page, path, formatCode, bitsPerPixel, qualityFactor, append);
  } else {
    throw ImageError(ErrorKind::BadSetting, path,
                     "unknown save format code " + std::to_string(formatCode));
  }
}

}  // namespace zelk
