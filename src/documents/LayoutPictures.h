#pragma once
// The pictures of a recognised page cropped from its image for the
// document: JPEG for colour and grey pictures (photographs), PNG for
// bitonal ones (drawings on a bitonal scan).

#include "imaging/Page.h"
#include "ocr/PageLayout.h"

namespace zelk {

// Whether the layout has a picture region worth cropping.
bool HasPictureRegions(const PageLayout& layout);

// Fills the `picture` of every Image block of the layout large enough to
// show (a third of an inch each way) from `image`, the page as recognised
// (turned upright and straightened).  A block whose pixels cannot be
// cropped or encoded is left without, and so left out of the document.
void CropLayoutPictures(const Page& image, PageLayout& layout);

}  // namespace zelk
