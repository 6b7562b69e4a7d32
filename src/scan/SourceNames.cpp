#include "scan/SourceNames.h"

#include <array>

#include "platform/AsciiCase.h"

namespace zelk {

bool IsAcceptedSourceName(std::string_view fileName) {
  static constexpr std::array<std::string_view, 5> kMarks = {".tif", ".bmp", ".jpg", ".png",
                                                             ".pdf"};
  const std::string lower = AsciiLower(fileName);
  for (std::string_view mark : kMarks) {
    if (lower.find(mark) != std::string::npos) return true;
  }
  return false;
}

bool IsPageFileName(std::string_view fileName, bool tif, bool jpg) {
  const std::string lower = AsciiLower(fileName);
  return (tif && lower.find(".tif") != std::string::npos) ||
         (jpg && lower.find(".jpg") != std::string::npos);
}

}  // namespace zelk
