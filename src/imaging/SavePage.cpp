#include "imaging/SavePage.h"

#include "imaging/JpegWriter.h"
#include "imaging/PdfWriter.h"
#include "imaging/SaveFormat.h"
#include "imaging/TiffWriter.h"

namespace zelk {

void SavePage(const Page& page, const std::string& path, const SaveSpec& spec, bool append) {
  if (IsTiffFormat(spec.code)) {
    SaveTiffPage(page, path, spec, append);
  } else if (IsJpegFormat(spec.code)) {
    SaveJpegPage(page, path, spec, append);
  } else if (IsPdfFormat(spec.code)) {
    SavePdfPage(page, path, spec, append);
  } else {
    throw ImageError(ErrorKind::BadSetting, path,
                     "unknown save format code " + std::to_string(spec.code));
  }
}

}  // namespace zelk
