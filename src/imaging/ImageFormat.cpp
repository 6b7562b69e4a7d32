#include "imaging/ImageFormat.h"

#include "imaging/FileBytes.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace zelk {
namespace {

constexpr size_t kPdfHeaderWindow = 1024;

bool StartsWith(const uint8_t* head, size_t size, std::string_view magic) {
  return size >= magic.size() && std::memcmp(head, magic.data(), magic.size()) == 0;
}

}  // namespace

ImageFormat DetectImageFormat(const uint8_t* head, size_t size) {
  using namespace std::string_view_literals;
  if (StartsWith(head, size, "II*\0"sv) || StartsWith(head, size, "MM\0*"sv) ||
      StartsWith(head, size, "II+\0"sv) || StartsWith(head, size, "MM\0+"sv)) {
    return ImageFormat::Tiff;
  }
  if (StartsWith(head, size, "\xFF\xD8\xFF"sv)) return ImageFormat::Jpeg;
  if (StartsWith(head, size, "\x89PNG\r\n\x1A\n"sv)) return ImageFormat::Png;
  if (StartsWith(head, size, "BM"sv) && size >= 26) return ImageFormat::Bmp;
  const std::string_view window(reinterpret_cast<const char*>(head),
                                std::min(size, kPdfHeaderWindow));
  if (window.find("%PDF-") != std::string_view::npos) return ImageFormat::Pdf;
  return ImageFormat::Unknown;
}

ImageFormat DetectFileFormat(const std::string& path) {
  const std::vector<uint8_t> head = ReadFileHead(path, kPdfHeaderWindow);
  return DetectImageFormat(head.data(), head.size());
}

}  // namespace zelk
