#pragma once
// Windows bitmap files through Leptonica.

#include "imaging/Page.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

Page LoadBmpPage(const std::string& path);

// A whole BMP file held in memory; `path` names it in errors.
Page DecodeBmpPage(const std::vector<uint8_t>& bytes, const std::string& path);

}  // namespace zelk
