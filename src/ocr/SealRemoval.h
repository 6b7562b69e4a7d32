#pragma once
// Red and orange official seals taken out of the image recognition reads.
//
// A seal's cinnabar turns as dark as ink in a grey image: its ring and arc
// text read as garbage words over the text it is stamped on.  A seal is a
// patch of saturated red or orange of a seal's size (2 to 7 cm across,
// about as tall as wide); its red pixels become paper, so the print under
// it, black or darkened by the ink, stays.  Red print that is no seal (the
// red heading of an official document, a red rule under it) is left alone.

#include <vector>

#include "imaging/Page.h"
#include "imaging/PageText.h"
#include "ocr/PageLayout.h"

namespace zelk {

// Whitens the seals of a 32-bit colour image in place and gives their
// boxes; an image of any other depth has none.
std::vector<TextBox> RemoveSeals(Pix* colour, int dpi);

// Leaves out the words lying inside a seal that were read with little
// confidence: what is left of the seal's ring and characters, not the
// print under it.
void DropSealWords(PageLayout& layout, const std::vector<TextBox>& seals);

}  // namespace zelk
