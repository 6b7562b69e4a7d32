#pragma once
// Depth conversions between what a reader produced and what a writer
// stores.  Every function returns a new reference (a clone of the argument
// when it already is what is asked for; treat it as read-only) or throws
// ImageError, and leaves its argument as it was.

#include "imaging/Page.h"

#include <string>

namespace zelk {

// The depth a save writes: `requested` when it is 1, 8 or 24; for 0 the
// class of the page's own depth (1, 8, or 24 for anything deeper).
// Throws ImageError (naming `path`) for any other value.
int BitsToSave(const Page& page, int requested, const std::string& path);

// A 1-bit image with a two-colour colormap as plain 1 bit per pixel, the
// darker colour black.  Any other image is returned unchanged.
PixPtr WithoutBitonalColormap(PixPtr pix);

// 1 bit per pixel, 1 = black, no colormap (deeper images thresholded at
// half brightness).
PixPtr ToBitonal(PIX* pix);

// 8 bits per pixel.  A palette image keeps its colormap (widened to 8-bit
// indexes) when `keepPalette`; everything else becomes grey.
PixPtr ToEightBit(PIX* pix, bool keepPalette);

// 32-bit RGB.
PixPtr ToRgb(PIX* pix);

// What JPEG can hold for a requested depth: 8-bit grey for 1 and 8 bits
// (a palette with colours becomes RGB instead), 32-bit RGB for 24.
PixPtr ToJpegPixels(PIX* pix, int bitsPerPixel);

// True when every colour of the colormap is a shade of grey.
bool IsGreyColormap(PIXCMAP* cmap);

}  // namespace zelk
