#include "documents/RtfWriterObjects.h"

#include <algorithm>

#include "documents/WordWriterSupport.h"

namespace zelk {
namespace {

constexpr const char* kRules = "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                               "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";

std::string Number(long value) { return std::to_string(value); }

}  // namespace

std::string RtfPicture(const WordPicture& picture) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = picture.jpeg ? "{\\pict\\jpegblip" : "{\\pict\\pngblip";
  out += "\\picw" + Number(picture.pixelWidth) + "\\pich" + Number(picture.pixelHeight);
  out += "\\picwgoal" + Number(Twips(picture.width)) + "\\pichgoal" + Number(Twips(picture.height)) + "\n";
  out.reserve(out.size() + picture.data.size() * 2 + picture.data.size() / 64 + 2);
  for (std::size_t i = 0; i < picture.data.size(); ++i) {
    const auto byte = static_cast<unsigned char>(picture.data[i]);
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
    if (i % 64 == 63) out += '\n';
  }
  out += "}";
  return out;
}

std::string RtfRuledRow(const WordTable& table, int row) {
  const double indent = table.indent;
  std::string out = "\\trowd\\trgaph" + Number(Twips(kTableCellMargin)) + "\\trleft" + Number(Twips(indent)) + "\\trrh" +
                    Number(Twips(table.rows[static_cast<std::size_t>(row)])) + "\\trpaddl" +
                    Number(Twips(kTableCellMargin)) + "\\trpaddr" + Number(Twips(kTableCellMargin)) +
                    "\\trpaddfl3\\trpaddfr3";
  const int columns = static_cast<int>(table.columns.size());
  double end = indent;
  for (int column = 0; column < columns;) {
    const WordTableCell* cell = table.Covering(row, column);
    const int span = cell ? std::min(cell->columnSpan, columns - column) : 1;
    for (int i = column; i < column + span; ++i) end += table.columns[static_cast<std::size_t>(i)];
    if (cell && cell->rowSpan > 1) out += cell->row == row ? "\\clvmgf" : "\\clvmrg";
    if (cell && cell->place != WordCellPlace::Top) out += cell->place == WordCellPlace::Middle ? "\\clvertalc" : "\\clvertalb";
    out += kRules;
    out += "\\cellx" + Number(Twips(end));
    column += span;
  }
  return out + "\n";
}

}  // namespace zelk
