#pragma once
// The invisible text layer of a page: recognised lines drawn with the
// glyph-less font, so that viewers can search, select and copy the text
// while only the scan is seen.
//
// Each line is one run of text on one baseline.  Every word is stretched
// horizontally to the width its box covers on the image, and the run has
// no gaps: a Chinese character reaches to where the next one begins, and
// between Latin words a blank fills the space.  Text extraction therefore
// sees blanks exactly where the recognised text has them and keeps the
// lines in their order even on a skewed page.

#include "imaging/PageText.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace zelk {

// Character codes of the glyph-less font: two bytes, equal to the Unicode
// code point for the Basic Multilingual Plane.  Characters beyond it get the
// codes D800..DFFF (surrogate values, never characters of their own) in the
// order they first occur; the ToUnicode map tells readers what they are.
class TextLayerEncoding {
 public:
  uint16_t CodeFor(char32_t codePoint);
  // The ToUnicode CMap for every code handed out so far, one entry for
  // each (some readers mishandle ranges of codes).
  std::string ToUnicodeCMap() const;

 private:
  std::map<uint16_t, char32_t> used_;
  std::map<char32_t, uint16_t> supplementary_;
};

// Text operators for `text` in the pixel space of an image of
// `imageWidth` x `imageHeight` pixels, y growing upwards (the caller's
// matrix maps pixels to the page).  Text recognised on the turned or
// straightened image (text.frame) is mapped back onto the image as stored,
// so that it lies over the words it was read from.  `fontName` is the
// font's resource name without the slash.  The text is drawn in render
// mode 3, neither filled nor stroked: nothing of it shows, whatever font
// a reader draws it with.
std::string TextLayerOperators(const PageText& text, int imageWidth, int imageHeight,
                               const std::string& fontName, TextLayerEncoding& encoding);

}  // namespace zelk
