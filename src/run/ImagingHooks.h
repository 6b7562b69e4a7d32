#pragma once
// Connects the scans to the image toolkit: page counts of image files and
// the names of the output writers' temporary files.

#include "scan/ScanOptions.h"

namespace zelk {

void AttachImagingHooks(ScanOptions& options);

}  // namespace zelk
