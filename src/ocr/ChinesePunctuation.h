#pragma once
// Punctuation inside Chinese text in its fullwidth form.
//
// The recogniser often reads a fullwidth mark (，；：？！（）) as its ASCII twin.
// Inside Chinese text only the fullwidth forms are used, so a mark whose
// neighbours are Chinese characters (or a Chinese character and the end of
// the line) is given back its fullwidth form; this keeps the text as it
// stands on the page and findable by what a user types.

#include "ocr/PageLayout.h"

namespace zelk {

void RestoreChinesePunctuation(LayoutLine& line);

}  // namespace zelk
