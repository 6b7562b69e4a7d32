#pragma once
// Windows bitmap files through Leptonica.

#include "imaging/Page.h"

#include <string>

namespace zelk {

Page LoadBmpPage(const std::string& path);

}  // namespace zelk
