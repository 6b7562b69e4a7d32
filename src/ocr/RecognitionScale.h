#pragma once
// The resolution a page is recognised at, and how its image is resampled
// to get there.  Recognition reads type best at square pixels of about
// 300 dpi: a fax (204 x 98 dpi) squashes every glyph to half its height,
// and a page scanned at 600 dpi takes twice the time and reads worse.  A
// resolution tag that cannot be true (an A4 page tagged 72 dpi, a 600 dpi
// scan tagged 150) is replaced by one estimated from the pixel size.  The
// stored image is never changed; the words are mapped back onto it.

#include "imaging/Page.h"

namespace zelk {

struct RecognitionScale {
  int dpi = 300;   // both ways, once resampled
  double x = 1;    // resampling factors along the stored image's axes
  double y = 1;
};

RecognitionScale RecognitionScaleOf(const Page& page);

}  // namespace zelk
