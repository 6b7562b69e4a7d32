#include "documents/DocxWriterObjects.h"

#include <cmath>

#include "documents/WordWriterSupport.h"

namespace zelk {
namespace {

constexpr const char* kDrawingMain = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* kPictureNamespace = "http://schemas.openxmlformats.org/drawingml/2006/picture";
// Rules as the scan's: single, half a point.
constexpr int kRuleEighths = 4;

long long Emu(double points) { return std::llround(points * 12700); }

void Extent(pugi::xml_node node, const WordPicture& picture) {
  Attribute(node, "cx", Emu(picture.width));
  Attribute(node, "cy", Emu(picture.height));
}

}  // namespace

void Attribute(pugi::xml_node node, const char* name, const std::string& value) {
  node.append_attribute(name) = value.c_str();
}

void Attribute(pugi::xml_node node, const char* name, long long value) {
  node.append_attribute(name) = value;
}

void TwipsWidth(pugi::xml_node node, int twips) {
  Attribute(node, "w:w", twips);
  Attribute(node, "w:type", "dxa");
}

void AppendInlinePicture(pugi::xml_node run, const WordPicture& picture, const std::string& relationshipId, int id) {
  const std::string name = "Picture " + std::to_string(id);
  pugi::xml_node inline_ = run.append_child("w:drawing").append_child("wp:inline");
  for (const char* side : {"distT", "distB", "distL", "distR"}) Attribute(inline_, side, 0);
  Extent(inline_.append_child("wp:extent"), picture);
  pugi::xml_node properties = inline_.append_child("wp:docPr");
  Attribute(properties, "id", id);
  Attribute(properties, "name", name);
  pugi::xml_node graphic = inline_.append_child("a:graphic");
  Attribute(graphic, "xmlns:a", kDrawingMain);
  pugi::xml_node data = graphic.append_child("a:graphicData");
  Attribute(data, "uri", kPictureNamespace);
  pugi::xml_node pic = data.append_child("pic:pic");
  Attribute(pic, "xmlns:pic", kPictureNamespace);
  pugi::xml_node nonVisual = pic.append_child("pic:nvPicPr");
  pugi::xml_node cNvPr = nonVisual.append_child("pic:cNvPr");
  Attribute(cNvPr, "id", id);
  Attribute(cNvPr, "name", name);
  nonVisual.append_child("pic:cNvPicPr");
  pugi::xml_node fill = pic.append_child("pic:blipFill");
  Attribute(fill.append_child("a:blip"), "r:embed", relationshipId);
  fill.append_child("a:stretch").append_child("a:fillRect");
  pugi::xml_node shape = pic.append_child("pic:spPr");
  pugi::xml_node transform = shape.append_child("a:xfrm");
  pugi::xml_node offset = transform.append_child("a:off");
  Attribute(offset, "x", 0);
  Attribute(offset, "y", 0);
  Extent(transform.append_child("a:ext"), picture);
  pugi::xml_node geometry = shape.append_child("a:prstGeom");
  Attribute(geometry, "prst", "rect");
  geometry.append_child("a:avLst");
}

void AppendRuledTableProperties(pugi::xml_node table, const WordTable& ruled) {
  pugi::xml_node properties = table.append_child("w:tblPr");
  int width = 0;
  for (double column : ruled.columns) width += Twips(column);
  TwipsWidth(properties.append_child("w:tblW"), width);
  TwipsWidth(properties.append_child("w:tblInd"), Twips(ruled.indent));
  pugi::xml_node borders = properties.append_child("w:tblBorders");
  for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
    pugi::xml_node border = borders.append_child(side);
    Attribute(border, "w:val", "single");
    Attribute(border, "w:sz", kRuleEighths);
    Attribute(border, "w:space", 0);
    Attribute(border, "w:color", "000000");
  }
  Attribute(properties.append_child("w:tblLayout"), "w:type", "fixed");
  pugi::xml_node margins = properties.append_child("w:tblCellMar");
  TwipsWidth(margins.append_child("w:top"), 0);
  TwipsWidth(margins.append_child("w:left"), Twips(kTableCellMargin));
  TwipsWidth(margins.append_child("w:bottom"), 0);
  TwipsWidth(margins.append_child("w:right"), Twips(kTableCellMargin));
  pugi::xml_node grid = table.append_child("w:tblGrid");
  for (double column : ruled.columns) Attribute(grid.append_child("w:gridCol"), "w:w", Twips(column));
}

}  // namespace zelk
