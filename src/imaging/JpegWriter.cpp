#include "imaging/JpegWriter.h"

#include "imaging/FileBytes.h"
#include "imaging/JpegEncoder.h"
#include "imaging/JpegQuality.h"
#include "imaging/LibraryMessages.h"
#include "imaging/PixConvert.h"
#include "imaging/SaveFormat.h"
#include "imaging/StoredFormCheck.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zelk {
namespace {

ChromaSubsampling SubsamplingFor(int code, const std::string& path) {
  switch (code) {
    case kJpeg444: return ChromaSubsampling::S444;
    case kJpeg422: return ChromaSubsampling::S422;
    case kJpeg411: return ChromaSubsampling::S411;
    default:
      throw ImageError(ErrorKind::BadSetting, path,
                       "format code " + std::to_string(code) + " is not a JPEG format");
  }
}

void PutBigEndian16(uint8_t* at, int value) {
  at[0] = static_cast<uint8_t>(value >> 8);
  at[1] = static_cast<uint8_t>(value & 0xFF);
}

// Puts the resolution into the JFIF segment that follows the start of the
// image, adding the segment when the stream has none.  A segment too short
// to hold the density fields does not count: writing them would overwrite
// the marker that follows it.
void SetJfifDensity(std::vector<uint8_t>& jpeg, int xDpi, int yDpi) {
  const int x = std::clamp(xDpi > 0 ? xDpi : yDpi, 0, 65535);
  const int y = std::clamp(yDpi > 0 ? yDpi : xDpi, 0, 65535);
  const uint8_t unit = x > 0 ? 1 : 0;  // 1: dots per inch; 0: aspect ratio only
  static constexpr uint8_t kJfifId[] = {'J', 'F', 'I', 'F', 0};
  constexpr int kDensityEnd = 14;  // segment length up to the Y density
  const bool hasJfif = jpeg.size() >= 20 && jpeg[2] == 0xFF && jpeg[3] == 0xE0 &&
                       (jpeg[4] << 8 | jpeg[5]) >= kDensityEnd &&
                       std::memcmp(&jpeg[6], kJfifId, sizeof kJfifId) == 0;
  if (!hasJfif) {
    const uint8_t segment[] = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    jpeg.insert(jpeg.begin() + 2, std::begin(segment), std::end(segment));
  }
  jpeg[13] = unit;
  PutBigEndian16(&jpeg[14], unit ? x : 1);
  PutBigEndian16(&jpeg[16], unit ? y : 1);
}

void WriteNewFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    throw ImageError(ErrorKindOfErrno(errno, ErrorKind::WriteFailed), path,
                     std::string("cannot create the file: ") + std::strerror(errno));
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int savedErrno = errno;
  if (std::fclose(file) != 0 || !written) {
    std::remove(path.c_str());
    throw ImageError(ErrorKindOfErrno(savedErrno, ErrorKind::WriteFailed), path,
                     std::string("cannot write the file: ") + std::strerror(savedErrno));
  }
}

}  // namespace

void SaveJpegPage(const Page& page, const std::string& path, const SaveSpec& spec, bool append) {
  SilenceImageLibraries();
  const ChromaSubsampling subsampling = SubsamplingFor(spec.code, path);
  if (append && FileHasData(path)) {
    throw ImageError(ErrorKind::Unsupported, path,
                     "a JPEG file holds one page and this one already exists");
  }
  const int bits = BitsToSave(page, spec.bitsPerPixel, path);
  const int quality = JpegQualityFromFactor(spec.qualityFactor);
  std::vector<uint8_t> bytes =
      JpegFileToCopy(page, bits, subsampling, quality)
          ? page.raw->bytes
          : EncodeJpeg(ToJpegPixels(PixelsOf(page).get(), bits).get(), subsampling, quality);
  SetJfifDensity(bytes, page.xDpi, page.yDpi);
  WriteNewFile(path, bytes);
}

}  // namespace zelk
