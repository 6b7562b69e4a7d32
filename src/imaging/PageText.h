#pragma once
// Recognised text of one page, as the PDF writer draws it in an invisible
// text layer.  Coordinates are pixels of the page image, origin top left.
//
// Each line is drawn as one run on one baseline so that text extraction
// keeps the reading order of a slightly skewed page; a word's own box
// scales its glyphs horizontally to the width it covers on the image.

#include <string>
#include <vector>

namespace zelk {

struct TextBox {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive
};

struct TextWord {
  std::string text;  // UTF-8
  TextBox box;
  // True when a blank belongs between this word and the next one of the
  // line (Latin words); false inside runs of Chinese characters.
  bool spaceAfter = false;
};

struct TextLine {
  std::vector<TextWord> words;
  TextBox box;
  int baseline = 0;  // y of the baseline in image pixels
  // Type size in pixels; 0 takes the height of the line's box.  Lines of
  // one block share a size, so that text extraction keeps them together.
  int fontSize = 0;
};

// How the recognised page lies on the image.  Recognition reads a page
// upright and straight: it may have turned the image by quarter turns (a
// sheet fed sideways or upside down), resampled it to square pixels at a
// resolution recognition reads well (a fax, a page scanned at 600 dpi),
// and then rotated it by a small angle (a sheet fed askew).  Text set in
// columns is given in a frame turned a further quarter counter-clockwise,
// where its columns are lines like any other.  The text's coordinates are
// those of that upright, resampled, straightened (and for columns turned)
// image; the writer maps them back onto the image as stored.
struct TextFrame {
  int quarterTurns = 0;    // clockwise quarter turns that made the image upright, 0 to 3
  double skewDegrees = 0;  // the rotation about the centre that straightened it once
                           // resampled, in degrees, clockwise positive
  double xScale = 1;       // the factors it was resampled by after the turns,
  double yScale = 1;       // along the upright image's axes
  bool columns = false;    // text set in columns, given in the frame turned
                           // a quarter counter-clockwise
  bool IsIdentity() const {
    return Turns() == 0 && skewDegrees == 0 && !Resampled() && !columns;
  }
  bool Resampled() const { return xScale != 1 || yScale != 1; }
  // The quarter turns as 0 to 3, whatever was stored.
  int Turns() const { return ((quarterTurns % 4) + 4) % 4; }
  // True when the turns swap the image's width and height.
  bool Sideways() const { return Turns() % 2 != 0; }
};

struct PageText {
  std::vector<TextLine> lines;  // in reading order
  TextFrame frame;
};

// Where the invisible text goes relative to the page image.
enum class TextLayerOrder {
  TextOverImage,   // image below, invisible text above
  TextUnderImage,  // text drawn first, the opaque image covers it
};

}  // namespace zelk
