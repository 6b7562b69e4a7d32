#pragma once
// The choice of paper and ink colours from pixel samples, behind
// SampleLayoutColours (WordExport.h).

#include <vector>

#include "ocr/PageLayout.h"

namespace zelk {

// Pure black for colours a scan of black ink gives (dark and nearly grey),
// pure white for what a scan of white paper gives (light and nearly grey);
// every other colour as it is.
Rgb SnapScanColour(Rgb colour);

// The most common colour among the samples, coarsely binned so scanner
// noise does not split it: the per-channel median of the samples in the
// fullest bin.  White when there are no samples.
Rgb DominantColour(const std::vector<Rgb>& samples);

// The ink colour among samples of a word on the given paper: the median of
// the samples farthest from the paper (the cores of the strokes, not their
// anti-aliased edges).  When nothing stands out from the paper, the colour
// that contrasts with it: black on light paper, white on dark.
Rgb InkColour(const std::vector<Rgb>& samples, Rgb paper);

}  // namespace zelk
