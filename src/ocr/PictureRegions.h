#pragma once
// Pictures on a page image: photographs and drawings in continuous tone,
// or halftone screens on a bitonal scan, as opposed to text.  Recognition
// reads text only; a picture read as text gives garbage words over and
// around it and pulls its neighbours into lines with them.
//
// On a grey page a picture is a stretch where hardly a patch of eight by
// eight pixels is paper: strokes of print, however bold, leave paper
// between them at that scale.  On a bitonal page Leptonica's halftone mask
// finds the screens.

#include <vector>

#include "imaging/Page.h"
#include "imaging/PageText.h"

namespace zelk {

// The boxes of the pictures on the page image (1-bit, or grey on paper
// lighter than the picture) recognised at `dpi`, top to bottom.
std::vector<TextBox> FindPictureRegions(const Pix* image, int dpi);

}  // namespace zelk
