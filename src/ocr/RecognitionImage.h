#pragma once
// The image recognition reads, prepared from a page as scanned: turned
// upright, resampled to square pixels (RecognitionScale.h), red seals
// taken out of a colour page, reduced to grey with the background
// flattened, and straightened.
//
// Flattening the background (Leptonica's background normalisation) lets a
// global threshold find text on tinted boxes, on uneven paper and in
// coloured ink, where a threshold over the whole page would turn a pale
// box black or its text white.  Straightening keeps each line of a sheet
// fed askew on one row of pixels, so lines do not interleave.  Bitonal
// pages have no background to flatten; one that needs resampling (a fax)
// is cleared of specks and streaks and made grey before it is enlarged.
// The page image itself is never changed: the writers keep the scan.

#include <vector>

#include "imaging/Page.h"
#include "imaging/PageText.h"
#include "ocr/RecognitionScale.h"

namespace zelk {

struct RecognitionImage {
  PixPtr pix;        // 8-bit grey, or 1-bit for a bitonal page
  TextFrame frame;   // how `pix` lies on the page image
  std::vector<TextBox> seals;  // where red seals were taken out, in `pix`
};

// Prepares `page` turned by `quarterTurns` clockwise quarter turns and
// resampled as `scale` says (a fax's rows doubled, a fine scan halved).
// Seals are taken out of colour pages; specks and fax streaks out of
// bitonal ones.  Raises RecognitionError when Leptonica cannot convert the
// image.
RecognitionImage PrepareForRecognition(const Pix* page, int quarterTurns,
                                       const RecognitionScale& scale = {});

// The page image (any depth) turned, resampled and straightened as `frame`
// says, for reading colours at the recognised boxes; a new handle to the
// same pixels when the frame leaves the page as it is.
PixPtr UprightPageImage(const Pix* page, const TextFrame& frame);

// True when the prepared image holds any mark the size of a character's
// stroke: the blank back of a duplex scan holds only specks.
bool HoldsInk(const RecognitionImage& image, int dpi);

}  // namespace zelk
