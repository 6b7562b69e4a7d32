#include "imaging/PdfTextFont.h"

#include "imaging/FlateData.h"
#include "imaging/GlyphlessFont.h"

#include <string>
#include <vector>

namespace zelk {
namespace {

using Obj = QPDFObjectHandle;

const char* const kFontName = "/ZelkTextLayer";

Obj FlateStream(QPDF& pdf, const std::vector<uint8_t>& compressed) {
  Obj stream = pdf.newStream(std::string(compressed.begin(), compressed.end()));
  stream.getDict().replaceKey("/Filter", Obj::newName("/FlateDecode"));
  return stream;
}

Obj CidSystemInfo() {
  return Obj::parse("<< /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>");
}

}  // namespace

PdfTextFont::PdfTextFont(QPDF& pdf) {
  const std::vector<uint8_t>& fontFile = GlyphlessTrueTypeFont();
  Obj fontStream = FlateStream(pdf, FlateCompress(fontFile.data(), fontFile.size()));
  fontStream.getDict().replaceKey("/Length1",
                                  Obj::newInteger(static_cast<long long>(fontFile.size())));

  // Every two-byte CID shows glyph 1 (glyph 0, .notdef, upsets some readers).
  std::vector<uint8_t> cidToGid(2 * 65536);
  for (size_t i = 1; i < cidToGid.size(); i += 2) cidToGid[i] = 1;
  Obj cidToGidMap = FlateStream(pdf, FlateCompress(cidToGid.data(), cidToGid.size()));

  Obj descriptor = pdf.makeIndirectObject(Obj::parse(
      "<< /Type /FontDescriptor /Flags 5 /ItalicAngle 0 /StemV 80 /CapHeight 700 >>"));
  descriptor.replaceKey("/FontName", Obj::newName(kFontName));
  descriptor.replaceKey("/FontBBox", Obj::parse("[0 " + std::to_string(kGlyphlessDescent) + " " +
                                                std::to_string(kGlyphlessAdvance) + " " +
                                                std::to_string(kGlyphlessAscent) + "]"));
  descriptor.replaceKey("/Ascent", Obj::newInteger(kGlyphlessAscent));
  descriptor.replaceKey("/Descent", Obj::newInteger(kGlyphlessDescent));
  descriptor.replaceKey("/FontFile2", fontStream);

  Obj cidFont = pdf.makeIndirectObject(
      Obj::parse("<< /Type /Font /Subtype /CIDFontType2 >>"));
  cidFont.replaceKey("/BaseFont", Obj::newName(kFontName));
  cidFont.replaceKey("/CIDSystemInfo", CidSystemInfo());
  cidFont.replaceKey("/FontDescriptor", descriptor);
  cidFont.replaceKey("/DW", Obj::newInteger(kGlyphlessAdvance));
  cidFont.replaceKey("/CIDToGIDMap", cidToGidMap);

  toUnicode_ = pdf.newStream();
  UpdateToUnicode();

  font_ = pdf.makeIndirectObject(
      Obj::parse("<< /Type /Font /Subtype /Type0 /Encoding /Identity-H >>"));
  font_.replaceKey("/BaseFont", Obj::newName(kFontName));
  font_.replaceKey("/DescendantFonts", Obj::newArray({cidFont}));
  font_.replaceKey("/ToUnicode", toUnicode_);
}

void PdfTextFont::UpdateToUnicode() {
  const std::vector<uint8_t> compressed = FlateCompress(encoding_.ToUnicodeCMap());
  toUnicode_.replaceStreamData(std::string(compressed.begin(), compressed.end()),
                               Obj::newName("/FlateDecode"), Obj::newNull());
}

}  // namespace zelk
