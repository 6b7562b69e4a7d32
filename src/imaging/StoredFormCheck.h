#pragma once
// Whether a page's stored form may be copied as it stands: damaged data
// must fail its page, as it does when the page is decoded, not slip into
// an output unseen.

#include "imaging/JpegStreamInfo.h"
#include "imaging/Page.h"

#include <optional>

namespace zelk {

// True when the page's pixels were decoded from the source (the data then
// decoded cleanly already), or when its stored strips or JPEG stream
// decode without damage now (without building pixels).
bool StoredFormDecodes(const Page& page);

// The headers of the page's whole JPEG file when that file serves as well
// as encoding the page as a JPEG at `bits` (24 colour, else grey) with
// `subsampling` and `quality` (JpegCopyServes), fits the page and decodes
// cleanly; nothing otherwise.
std::optional<JpegStreamInfo> JpegFileToCopy(const Page& page, int bits,
                                             ChromaSubsampling subsampling, int quality);

}  // namespace zelk
