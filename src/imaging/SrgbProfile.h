#pragma once
// The sRGB colour profile that PDF output names as the colour space its
// device colours mean, made by LittleCMS rather than read from a file that
// may be missing on the machine.

#include <cstdint>
#include <vector>

namespace zelk {

// An ICC profile of sRGB IEC61966-2.1, version 2.1 (readers of PDF 1.4
// take ICC profiles up to version 2), three components.  Built once; the
// same bytes on every call.
const std::vector<uint8_t>& SrgbIccProfile();

}  // namespace zelk
