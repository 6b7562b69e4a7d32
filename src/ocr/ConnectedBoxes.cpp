#include "ocr/ConnectedBoxes.h"

#include <leptonica/allheaders.h>

namespace zelk {

std::vector<TextBox> ConnectedBoxes(Pix* binary) {
  std::vector<TextBox> boxes;
  BOXA* found = pixConnComp(binary, nullptr, 8);
  if (found == nullptr) return boxes;
  for (int i = 0; i < boxaGetCount(found); ++i) {
    int x = 0, y = 0, w = 0, h = 0;
    boxaGetBoxGeometry(found, i, &x, &y, &w, &h);
    boxes.push_back(TextBox{x, y, x + w, y + h});
  }
  boxaDestroy(&found);
  return boxes;
}

long SetPixelsIn(Pix* binary, const TextBox& box) {
  BOX* rect = boxCreate(box.left, box.top, box.right - box.left, box.bottom - box.top);
  l_int32 count = 0;
  if (rect == nullptr || pixCountPixelsInRect(binary, rect, &count, nullptr) != 0) count = 0;
  boxDestroy(&rect);
  return count;
}

}  // namespace zelk
