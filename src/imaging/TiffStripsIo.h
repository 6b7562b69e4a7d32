#pragma once
// A TIFF page's stored strips, taken out of one file and put into another
// exactly as they are: the copy that spares decoding and encoding again.

#include "imaging/Page.h"
#include "imaging/TiffFile.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zelk {

// The current directory's strips and the tags that describe them, or null
// when the page cannot be copied strip by strip (tiles, separate planes,
// old-style JPEG, strips that do not fit the file).  CCITT strips stored
// least significant bit first are turned around.
std::shared_ptr<TiffStrips> ReadTiffStrips(const TiffFile& file);

// `strips` as the only page of a TIFF file held in memory (whole file
// bytes, to open with TiffFile::InMemory).  Throws ImageError.
std::vector<uint8_t> OnePageTiff(const TiffStrips& strips);

// Whether every strip decodes without a complaint from libtiff's codec:
// the check that lets damaged data fail its page rather than be copied.
// Decodes into a scratch buffer, sparing the conversion to pixels.
bool TiffStripsDecode(const TiffStrips& strips);

// Writes `strips` as a new directory of `file` with the resolution (0 for
// none) and closes the directory.  Throws ImageError on failure.
void WriteTiffStrips(const TiffFile& file, const TiffStrips& strips, int xDpi, int yDpi);

}  // namespace zelk
