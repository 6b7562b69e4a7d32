#pragma once
// RTF of a document's pictures and ruled tables: a picture group with the
// file's bytes in hexadecimal, and the definition of a table row.

#include <string>

#include "documents/WordDocument.h"

namespace zelk {

// The picture as a \pict group (\pngblip or \jpegblip) at its size.
std::string RtfPicture(const WordPicture& picture);

// The definition of row `row` of the table (\trowd up to the last \cellx):
// its least height, single rules around every cell, each cell as wide as
// the grid columns it covers, cells joined down the rows marked \clvmgf
// where they start and \clvmrg below.
std::string RtfRuledRow(const WordTable& table, int row);

}  // namespace zelk
