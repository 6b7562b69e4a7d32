#include "ofd/OfdPageContent.h"

#include "imaging/TextLayerLines.h"
#include "ofd/OfdXml.h"
#include "platform/Utf8.h"

#include <pugixml.hpp>

#include <algorithm>

namespace zelk {
namespace {

// The box of a line's TextObject reaches this far above the baseline and
// below it, in type sizes, so that readers that clip to the box keep the
// glyphs whole.
constexpr double kAboveBaseline = 1.0;
constexpr double kBelowBaseline = 0.3;

std::string Ids(unsigned id) { return std::to_string(id); }

// Upright frame pixels to millimetres on the page.
struct FrameToPage {
  double x0, y0, sx, sy;
  double X(double x) const { return x0 + x * sx; }
  double Y(double y) const { return y0 + y * sy; }
};

void AddImage(pugi::xml_node layer, const OfdPageDrawing& drawing, unsigned id) {
  const OfdRect& r = drawing.layout.image;
  pugi::xml_node image = layer.append_child("ofd:ImageObject");
  image.append_attribute("ID") = Ids(id).c_str();
  image.append_attribute("Boundary") = OfdBox(r.x, r.y, r.width, r.height).c_str();
  const auto& m = drawing.layout.imageCtm;
  std::string ctm = OfdNumber(m[0]);
  for (std::size_t i = 1; i < m.size(); ++i) {
    ctm += ' ';
    ctm += OfdNumber(m[i]);
  }
  image.append_attribute("CTM") = ctm.c_str();
  image.append_attribute("ResourceID") = Ids(drawing.imageResource).c_str();
}

void AddLine(pugi::xml_node layer, const PlacedTextLine& line, const FrameToPage& map,
             unsigned font, unsigned id) {
  const double size = line.size * map.sy;
  // Each character advances by its span's width shared among its
  // characters; DeltaX lists the advance of each character but the last.
  std::u32string text;
  std::string deltas;
  double length = 0, previous = 0;
  for (const TextSpan& span : line.spans) {
    const double advance =
        (span.end - span.start) / static_cast<double>(span.text.size()) * map.sx;
    for (char32_t c : span.text) {
      if (!text.empty()) {
        if (!deltas.empty()) deltas += ' ';
        deltas += OfdNumber(previous);
      }
      text.push_back(c);
      previous = advance;
    }
    length += (span.end - span.start) * map.sx;
  }
  const double left = map.X(line.x), baseline = map.Y(line.baseline);
  const double width = std::max(length, size);
  const double top = baseline - kAboveBaseline * size;
  pugi::xml_node object = layer.append_child("ofd:TextObject");
  object.append_attribute("ID") = Ids(id).c_str();
  object.append_attribute("Boundary") =
      OfdBox(left, top, width, (kAboveBaseline + kBelowBaseline) * size).c_str();
  object.append_attribute("Font") = Ids(font).c_str();
  object.append_attribute("Size") = OfdNumber(size).c_str();
  pugi::xml_node fill = object.append_child("ofd:FillColor");
  fill.append_attribute("Value") = "0 0 0";
  fill.append_attribute("Alpha") = "0";
  pugi::xml_node code = object.append_child("ofd:TextCode");
  code.append_attribute("X") = "0";
  code.append_attribute("Y") = OfdNumber(baseline - top).c_str();
  if (!deltas.empty()) code.append_attribute("DeltaX") = deltas.c_str();
  code.text().set(EncodeUtf8(text).c_str());
}

void AddText(pugi::xml_node layer, const OfdPageDrawing& drawing,
             const std::function<unsigned()>& nextId) {
  const PageText& text = *drawing.text;
  const TextFrameSize frame = TextFrameSizeOf(text.frame, drawing.imageWidth, drawing.imageHeight);
  const OfdRect& r = drawing.layout.image;
  const FrameToPage map{r.x, r.y, r.width / frame.width, r.height / frame.height};
  for (const PlacedTextLine& line : drawing.lines) AddLine(layer, line, map, drawing.font, nextId());
}

}  // namespace

std::string OfdPageContentXml(const OfdPageDrawing& drawing,
                              const std::function<unsigned()>& nextId) {
  pugi::xml_document document;
  pugi::xml_node page = OfdRoot(document, "Page");
  page.append_child("ofd:Area").append_child("ofd:PhysicalBox").text().set(
      OfdBox(0, 0, drawing.layout.width, drawing.layout.height).c_str());
  pugi::xml_node layer = page.append_child("ofd:Content").append_child("ofd:Layer");
  layer.append_attribute("ID") = Ids(nextId()).c_str();
  const bool text = drawing.font != 0 && !drawing.lines.empty();
  const bool textFirst = drawing.textOrder == TextLayerOrder::TextUnderImage;
  if (text && textFirst) AddText(layer, drawing, nextId);
  AddImage(layer, drawing, nextId());
  if (text && !textFirst) AddText(layer, drawing, nextId);
  return OfdXmlText(document);
}

}  // namespace zelk
