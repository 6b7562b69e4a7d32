#pragma once
// The content of one OFD page (Content.xml): the page image, and the
// recognised lines as text the reader neither shows nor prints but
// searches and copies.
//
// Each line is one TextObject with one TextCode, placed where the PDF's
// text layer places it (TextLayerLines.h): every character gets its own
// advance (DeltaX), so the run covers its words on the image.  OFD has no
// invisible text mode; the text is filled with a fully transparent colour
// (FillColor Alpha 0), as OFD readers draw invisible text layers.

#include "imaging/PageText.h"
#include "imaging/TextLayerLines.h"
#include "ofd/OfdPageLayout.h"

#include <functional>
#include <string>
#include <vector>

namespace zelk {

struct OfdPageDrawing {
  OfdPageLayout layout;
  unsigned imageResource = 0;  // the MultiMedia's ID
  int imageWidth = 0;          // pixels of the stored image
  int imageHeight = 0;
  const PageText* text = nullptr;  // in the pixels of the stored image's upright frame
  std::vector<PlacedTextLine> lines;  // the text's lines placed in its frame; none to draw
  TextLayerOrder textOrder = TextLayerOrder::TextOverImage;
  unsigned font = 0;  // the Font's ID, when there are lines
};

// Content.xml of the page; `nextId` hands out the IDs of the layer and
// the objects.
std::string OfdPageContentXml(const OfdPageDrawing& drawing,
                              const std::function<unsigned()>& nextId);

}  // namespace zelk
