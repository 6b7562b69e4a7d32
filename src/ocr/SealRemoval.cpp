#include "ocr/SealRemoval.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstdint>

#include "ocr/ConnectedBoxes.h"

namespace zelk {
namespace {

// Saturated red or orange as seals are stamped: bright red with little
// green and blue, or orange with some green and little blue.  Dark red
// print (below kBrightest) and pale tints stay.
constexpr int kBrightest = 170;
constexpr double kMostGreen = 0.72;  // of the red
constexpr double kMostBlue = 0.55;

constexpr double kSmallestSealInches = 0.8;  // about 2 cm
constexpr double kLargestSealInches = 2.8;   // about 7 cm
constexpr double kFlattestSeal = 0.6;        // height over width, either way
// Red pixels a seal covers at least, of its box: a ring 1 mm wide on a
// 4 cm seal covers about 10 %.
constexpr double kSmallestCover = 0.05;

// Inside a seal, its ink's paler edges count too: any bright pixel
// clearly redder than it is green or blue.  Print under the seal, darkened
// by the ink, is not bright and stays.
constexpr int kBrightestEdge = 150;
constexpr int kRedderEdge = 16;

bool SealEdge(std::uint32_t pixel) {
  l_int32 red = 0, green = 0, blue = 0;
  extractRGBValues(pixel, &red, &green, &blue);
  return red >= kBrightestEdge && red - std::max(green, blue) >= kRedderEdge;
}

bool SealRed(std::uint32_t pixel) {
  l_int32 red = 0, green = 0, blue = 0;
  extractRGBValues(pixel, &red, &green, &blue);
  return red >= kBrightest && green <= kMostGreen * red && blue <= kMostBlue * red;
}

// The 1-bit mask of seal-red pixels.
PixPtr RedMask(Pix* colour) {
  const int width = pixGetWidth(colour), height = pixGetHeight(colour);
  PixPtr mask(pixCreate(width, height, 1));
  if (!mask) return mask;
  const int wpl = pixGetWpl(colour), maskWpl = pixGetWpl(mask.get());
  for (int y = 0; y < height; ++y) {
    const l_uint32* line = pixGetData(colour) + y * wpl;
    l_uint32* maskLine = pixGetData(mask.get()) + y * maskWpl;
    for (int x = 0; x < width; ++x) {
      if (SealRed(line[x])) SET_DATA_BIT(maskLine, x);
    }
  }
  return mask;
}

bool SealShaped(int width, int height, long redPixels, int dpi) {
  const double smallest = kSmallestSealInches * dpi, largest = kLargestSealInches * dpi;
  if (width < smallest || height < smallest || width > largest || height > largest) return false;
  if (height < kFlattestSeal * width || width < kFlattestSeal * height) return false;
  return redPixels >= kSmallestCover * width * height;
}

// Paper where the seal's ink lies; what is not red stays as it is.
void Whiten(Pix* colour, const TextBox& box) {
  const int wpl = pixGetWpl(colour);
  for (int y = box.top; y < box.bottom; ++y) {
    l_uint32* line = pixGetData(colour) + y * wpl;
    for (int x = box.left; x < box.right; ++x) {
      if (SealEdge(line[x])) line[x] = 0xffffff00;
    }
  }
}

}  // namespace

std::vector<TextBox> RemoveSeals(Pix* colour, int dpi) {
  std::vector<TextBox> seals;
  if (colour == nullptr || pixGetDepth(colour) != 32 || dpi <= 0) return seals;
  PixPtr mask = RedMask(colour);
  l_int32 empty = 1;
  if (!mask || pixZero(mask.get(), &empty) != 0 || empty) return seals;
  // Joins a seal's ring, star and characters into one patch.
  const int reach = std::max(3, dpi / 25);
  PixPtr joined(pixCloseSafeBrick(nullptr, mask.get(), reach, reach));
  if (!joined) return seals;
  for (const TextBox& box : ConnectedBoxes(joined.get())) {
    const int w = box.right - box.left, h = box.bottom - box.top;
    if (!SealShaped(w, h, SetPixelsIn(mask.get(), box), dpi)) continue;
    Whiten(colour, box);
    seals.push_back(box);
  }
  return seals;
}

void DropSealWords(PageLayout& layout, const std::vector<TextBox>& seals) {
  constexpr float kSureWord = 60;
  if (seals.empty()) return;
  const auto inSeal = [&](const LayoutWord& word) {
    if (word.confidence >= kSureWord) return false;
    const int x = (word.box.left + word.box.right) / 2, y = (word.box.top + word.box.bottom) / 2;
    return std::any_of(seals.begin(), seals.end(), [&](const TextBox& seal) {
      return x >= seal.left && x < seal.right && y >= seal.top && y < seal.bottom;
    });
  };
  for (LayoutBlock& block : layout.blocks) {
    for (LayoutParagraph& paragraph : block.paragraphs) {
      for (LayoutLine& line : paragraph.lines) std::erase_if(line.words, inSeal);
      std::erase_if(paragraph.lines, [](const LayoutLine& line) { return line.words.empty(); });
    }
    std::erase_if(block.paragraphs, [](const LayoutParagraph& paragraph) { return paragraph.lines.empty(); });
  }
}

}  // namespace zelk
