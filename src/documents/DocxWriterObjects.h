#pragma once
// WordprocessingML of a document's pictures and ruled tables: an inline
// drawing (DrawingML picture) in a run, and a table's properties and grid.

#include <string>

#include <pugixml.hpp>

#include "documents/WordDocument.h"

namespace zelk {

// An attribute appended to `node`.
void Attribute(pugi::xml_node node, const char* name, const std::string& value);
void Attribute(pugi::xml_node node, const char* name, long long value);
// A length in twips as table properties take it (w:w and w:type dxa).
void TwipsWidth(pugi::xml_node node, int twips);

inline constexpr const char* kDrawingNamespace =
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";

// The picture, drawn inline at its size, as the run's content; `id` is a
// number unique in the document, `relationshipId` names its file.
void AppendInlinePicture(pugi::xml_node run, const WordPicture& picture, const std::string& relationshipId, int id);

// The table's properties (indent, single rules on every side and between
// all cells, fixed column widths, narrow cell margins) and its grid.
void AppendRuledTableProperties(pugi::xml_node table, const WordTable& ruled);

}  // namespace zelk
