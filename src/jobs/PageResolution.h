#pragma once
// Resolution rules the jobs apply to a page they have just loaded.

#include <cstdint>
#include <optional>

#include "imaging/Page.h"

namespace zelk {

// Pages stored below this many dots per inch (or without a resolution)
// are taken as scanned at kRaisedResolution: such values come from
// scanners that write a screen resolution, and the page would otherwise
// come out several times its paper size.
inline constexpr int kLowestTrustedResolution = 100;
inline constexpr int kRaisedResolution = 300;

// Raises an X or Y resolution below kLowestTrustedResolution to
// kRaisedResolution, each on its own.  A fax's rows are the exception: a
// Y resolution of at least 40 % of a trusted X resolution (98 dpi under
// 204) is the true one, and raising it would squash the page to a third of
// its height.  The pixels are not touched.
void RaiseLowResolution(Page& page);

// The resolution an [PDF] or [2PDF] ImageResolution value asks for:
// 1 = 96, 2 = 150, 3 = 200, 4 = 300, 5 = 400, 6 = 500, 7 = 600 dots per
// inch.  0 (the page keeps its own) and any value outside the table give
// nothing.
std::optional<int> TableResolution(int16_t imageResolution);

}  // namespace zelk
