#pragma once
// Rendered pages recognised by the real engine, as the Word jobs recognise
// them, for tests that print the documents made from them.

#include <vector>

#include "imaging/Page.h"
#include "ocr/PageLayout.h"
#include "support/TempDir.h"

namespace zelk::ocrtest {

// The pages' layouts, in order; the images go through PNG files in
// `directory`, one worker.
std::vector<PageLayout> RecognisePages(const std::vector<PixPtr>& images, const test::TempDir& directory);

}  // namespace zelk::ocrtest
