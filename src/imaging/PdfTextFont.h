#pragma once
// The glyph-less font as objects of one PDF document: a Type0 font with
// Identity-H encoding over a CIDFontType2 whose CIDs all map to the one
// empty glyph, and a ToUnicode CMap so that readers know each character.

#include "imaging/PdfTextLayer.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace zelk {

class PdfTextFont {
 public:
  // Creates the font's objects in `pdf`.
  explicit PdfTextFont(QPDF& pdf);

  // The Type0 font dictionary, for the pages' /Font resources.
  QPDFObjectHandle font() const { return font_; }
  // Hands out the character codes for the text drawn with this font.
  TextLayerEncoding& encoding() { return encoding_; }
  // Writes the ToUnicode CMap for every code handed out; call before the
  // document is written.
  void UpdateToUnicode();

 private:
  TextLayerEncoding encoding_;
  QPDFObjectHandle font_;
  QPDFObjectHandle toUnicode_;
};

}  // namespace zelk
