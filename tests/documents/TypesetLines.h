#pragma once
// Known text broken into lines as a typesetter breaks it for a column of a
// given width, in the renderer's type (TextPageRenderer.h): for pages whose
// lines must fit where they are drawn.

#include <string>
#include <vector>

namespace zelk::ocrtest {

// The text broken into lines of at most `width` pixels at `pixelSize`, the
// first after `indent`; a line breaks between Chinese characters or after a
// Latin word and its blank, and no line starts with a mark that closes a
// phrase (the piece before moves down with it).
std::vector<std::string> SetLines(const std::string& text, const std::string& indent, int pixelSize,
                                  int width);

}  // namespace zelk::ocrtest
