#pragma once
// PNG files through libpng: bitonal, grey (1 to 16 bits), palette and RGB
// images; alpha channels and transparency are dropped.

#include "imaging/Page.h"

#include <string>

namespace zelk {

Page LoadPngPage(const std::string& path);

}  // namespace zelk
