#pragma once
// Synthetic A4 pages at 300 dpi for the benchmarks: bitonal pages that look
// like typed text (so CCITT data has a realistic size) and colour pages with
// gradients, blocks and noise (so JPEG data does).

#include "imaging/Page.h"

#include <string>
#include <vector>

namespace zelk::bench {

inline constexpr int kA4Width = 2480;
inline constexpr int kA4Height = 3508;
inline constexpr int kA4Dpi = 300;

Page TextLikePage(unsigned seed);
Page ColourPage(unsigned seed);

// Writes `count` distinct single-page files into `dir` with the given save
// format code and returns their paths.
std::vector<std::string> WriteCorpus(const std::string& dir, int count, bool colour,
                                     int formatCode, int bitsPerPixel, int qualityFactor);

// Hard-links the corpus files over and over into `dir` (made afresh) as
// p0001<extension>, p0002<extension>, ... and returns their paths.
std::vector<std::string> LinkPages(const std::vector<std::string>& corpus, const std::string& dir,
                                   int pages, const std::string& extension);

}  // namespace zelk::bench
