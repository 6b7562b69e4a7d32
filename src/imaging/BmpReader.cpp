#include "imaging/BmpReader.h"

#include "imaging/FileBytes.h"
#include "imaging/ImageLimits.h"
#include "imaging/LibraryMessages.h"
#include "imaging/PixConvert.h"

#include <cstdlib>

namespace zelk {
namespace {

constexpr size_t kMaxBmpFileBytes = size_t{1} << 30;
constexpr size_t kFileHeaderBytes = 14;

int32_t LittleEndian32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                              uint32_t{p[3]} << 24);
}

int LittleEndian16(const uint8_t* p) { return p[0] | p[1] << 8; }

// The size the bitmap header declares, checked before Leptonica allocates.
void CheckDeclaredSize(const std::vector<uint8_t>& bytes, const std::string& path) {
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
    throw ImageError(ErrorKind::NotThatFormat, path, "no BMP signature");
  }
  if (bytes.size() < kFileHeaderBytes + 16) {
    throw ImageError(ErrorKind::Damaged, path, "the BMP header is cut short");
  }
  const uint8_t* info = bytes.data() + kFileHeaderBytes;
  const int32_t headerSize = LittleEndian32(info);
  long long width = 0, height = 0;
  if (headerSize == 12) {  // OS/2 core header
    width = LittleEndian16(info + 4);
    height = LittleEndian16(info + 6);
  } else {
    width = LittleEndian32(info + 4);
    height = std::llabs(static_cast<long long>(LittleEndian32(info + 8)));  // negative: top-down
  }
  CheckImageSize(width, height, path);
}

}  // namespace

Page LoadBmpPage(const std::string& path) {
  return DecodeBmpPage(ReadWholeFile(path, kMaxBmpFileBytes), path);
}

Page DecodeBmpPage(const std::vector<uint8_t>& bytes, const std::string& path) {
  SilenceImageLibraries();
  CheckDeclaredSize(bytes, path);
  PIX* pix = pixReadMemBmp(bytes.data(), bytes.size());
  if (pix == nullptr) throw ImageError(ErrorKind::Damaged, path, "Leptonica cannot read the BMP image");
  Page page;
  page.pix = WithoutBitonalColormap(PixPtr(pix));
  page.xDpi = pixGetXRes(page.pix.get());
  page.yDpi = pixGetYRes(page.pix.get());
  return page;
}

}  // namespace zelk
