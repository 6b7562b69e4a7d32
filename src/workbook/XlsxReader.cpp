#include "workbook/XlsxReader.h"

#include <pugixml.hpp>

#include <charconv>
#include <cstdint>
#include <map>
#include <string_view>
#include <system_error>

#include "platform/Utf8.h"
#include "workbook/ZipPackage.h"

namespace zelk {
namespace {

// Element and attribute names without their namespace prefix: producers
// write both <c> and <x:c>.
std::string_view LocalName(const char* name) {
  const std::string_view text(name);
  const auto colon = text.rfind(':');
  return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

pugi::xml_node Child(pugi::xml_node parent, std::string_view name) {
  for (pugi::xml_node child : parent.children()) {
    if (child.type() == pugi::node_element && LocalName(child.name()) == name) return child;
  }
  return {};
}

// The relationship id of a <sheet> is the prefixed attribute "r:id"; the
// prefix differs between producers, the local name does not.
std::string RelationshipId(pugi::xml_node sheet) {
  for (pugi::xml_attribute attribute : sheet.attributes()) {
    const std::string_view name(attribute.name());
    if (name.find(':') != std::string_view::npos && LocalName(attribute.name()) == "id") {
      return attribute.value();
    }
  }
  return {};
}

pugi::xml_document ParsePart(const ZipPackage& package, const std::string& part) {
  const std::string bytes = package.Read(part);
  pugi::xml_document document;
  // Keeps a text that is nothing but blanks, as <t xml:space="preserve"> </t>.
  const auto parsed = document.load_buffer(bytes.data(), bytes.size(),
                                           pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (!parsed) {
    throw SheetReadError("part " + part + " is not readable XML: " + parsed.description());
  }
  return document;
}

struct Relationship {
  std::string Type;
  std::string Part;
};

// The relationships of `sourcePart`, by id, with their targets resolved.
std::map<std::string, Relationship> RelationshipsOf(const ZipPackage& package,
                                                    const std::string& sourcePart) {
  const auto slash = sourcePart.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? sourcePart : sourcePart.substr(slash + 1);
  const std::string relsPart = dir + "_rels/" + name + ".rels";
  std::map<std::string, Relationship> result;
  if (!package.Has(relsPart)) return result;
  const auto document = ParsePart(package, relsPart);
  for (pugi::xml_node node : Child(document, "Relationships").children()) {
    if (LocalName(node.name()) != "Relationship") continue;
    if (std::string_view(node.attribute("TargetMode").value()) == "External") continue;
    result[node.attribute("Id").value()] = {
        node.attribute("Type").value(),
        ResolvePartName(sourcePart, node.attribute("Target").value())};
  }
  return result;
}

bool HasType(const Relationship& relationship, std::string_view kind) {
  const std::string_view type(relationship.Type);
  return type.size() > kind.size() && type.substr(type.size() - kind.size()) == kind &&
         type[type.size() - kind.size() - 1] == '/';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Spreadsheet text escapes characters XML cannot carry as "_xHHHH_"
// (a carriage return is "_x000D_", a literal "_x" is written "_x005F_x").
std::string DecodeEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
      std::uint32_t code = 0;
      bool hex = true;
      for (std::size_t k = 2; k < 6; ++k) {
        const int digit = HexDigit(text[i + k]);
        hex = hex && digit >= 0;
        code = code * 16 + static_cast<std::uint32_t>(digit < 0 ? 0 : digit);
      }
      // A lone surrogate half would not be valid UTF-8; such text stays as written.
      if (hex && (code < 0xD800 || code > 0xDFFF)) {
        AppendUtf8(out, code);
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// The text of a string item (<si> or <is>): its <t>, or the <t> of every
// rich-text run in order; phonetic guides (<rPh>) are not part of it.
void CollectText(pugi::xml_node node, std::string& out) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view name = LocalName(child.name());
    if (name == "t") {
      out += child.child_value();
    } else if (name != "rPh") {
      CollectText(child, out);
    }
  }
}

std::string StringItemText(pugi::xml_node item) {
  std::string raw;
  CollectText(item, raw);
  return DecodeEscapes(raw);
}

std::vector<std::string> SharedStrings(const ZipPackage& package, const std::string& part) {
  std::vector<std::string> strings;
  const auto document = ParsePart(package, part);
  for (pugi::xml_node item : Child(document, "sst").children()) {
    if (item.type() == pugi::node_element && LocalName(item.name()) == "si") {
      strings.push_back(StringItemText(item));
    }
  }
  return strings;
}

struct CellRef {
  std::uint32_t Row = 0;     // from 1; 0 when the reference has none
  std::uint32_t Column = 0;  // from 1; 0 when the reference has none
};

CellRef ParseCellRef(std::string_view ref) {
  CellRef result;
  std::size_t i = 0;
  for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) {
    if (result.Column > 100000) return {};
    result.Column = result.Column * 26 + static_cast<std::uint32_t>(ref[i] - 'A' + 1);
  }
  const auto parsed = std::from_chars(ref.data() + i, ref.data() + ref.size(), result.Row);
  if (parsed.ec != std::errc() || parsed.ptr != ref.data() + ref.size()) result.Row = 0;
  return result;
}

std::uint32_t ParseRowNumber(const char* text) {
  const std::string_view value(text);
  std::uint32_t row = 0;
  const auto parsed = std::from_chars(value.data(), value.data() + value.size(), row);
  return parsed.ec == std::errc() && parsed.ptr == value.data() + value.size() ? row : 0;
}

std::string NumberText(std::string_view value) {
  double number = 0;
  const auto parsed = std::from_chars(value.data(), value.data() + value.size(), number);
  if (parsed.ec != std::errc() || parsed.ptr != value.data() + value.size()) {
    return std::string(value);
  }
  return NumberCellText(number);
}

std::string CellText(pugi::xml_node cell, const std::vector<std::string>& shared,
                     const std::string& part) {
  const std::string_view type(cell.attribute("t").value());
  const std::string_view value(Child(cell, "v").child_value());
  if (type == "inlineStr") return StringItemText(Child(cell, "is"));
  if (type == "s") {
    std::size_t index = 0;
    const auto parsed = std::from_chars(value.data(), value.data() + value.size(), index);
    if (parsed.ec != std::errc() || index >= shared.size()) {
      throw SheetReadError("cell of " + part + " names a shared string that does not exist");
    }
    return shared[index];
  }
  if (type == "b") return value == "1" ? "TRUE" : "FALSE";
  if (type == "str" || type == "e" || type == "d") return DecodeEscapes(value);
  return NumberText(value);
}

// Columns A to C of every row of the sheet, by row number.
std::map<std::uint32_t, SheetRow> ReadCells(const pugi::xml_document& sheet,
                                            const std::vector<std::string>& shared,
                                            const std::string& part) {
  std::map<std::uint32_t, SheetRow> rows;
  const pugi::xml_node data = Child(Child(sheet, "worksheet"), "sheetData");
  std::uint32_t rowNumber = 0;
  for (pugi::xml_node row : data.children()) {
    if (row.type() != pugi::node_element || LocalName(row.name()) != "row") continue;
    const std::uint32_t stated = ParseRowNumber(row.attribute("r").value());
    rowNumber = stated != 0 ? stated : rowNumber + 1;
    std::uint32_t column = 0;
    for (pugi::xml_node cell : row.children()) {
      if (cell.type() != pugi::node_element || LocalName(cell.name()) != "c") continue;
      const CellRef ref = ParseCellRef(cell.attribute("r").value());
      column = ref.Column != 0 ? ref.Column : column + 1;
      const std::uint32_t cellRow = ref.Row != 0 ? ref.Row : rowNumber;
      if (column > kSheetColumns) continue;
      rows[cellRow][column - 1] = CellText(cell, shared, part);
    }
  }
  return rows;
}

// The part of the first worksheet in the workbook's sheet order (chart
// and dialog sheets are not worksheets).
std::string FirstWorksheetPart(const ZipPackage& package, const std::string& workbookPart,
                               const std::map<std::string, Relationship>& relationships) {
  const auto workbook = ParsePart(package, workbookPart);
  for (pugi::xml_node sheet : Child(Child(workbook, "workbook"), "sheets").children()) {
    if (sheet.type() != pugi::node_element || LocalName(sheet.name()) != "sheet") continue;
    const auto found = relationships.find(RelationshipId(sheet));
    if (found != relationships.end() && HasType(found->second, "worksheet")) {
      return found->second.Part;
    }
  }
  throw SheetReadError("no worksheet in " + workbookPart);
}

std::string WorkbookPart(const ZipPackage& package) {
  for (const auto& [id, relationship] : RelationshipsOf(package, "")) {
    if (HasType(relationship, "officeDocument")) return relationship.Part;
  }
  return "xl/workbook.xml";
}

}  // namespace

std::vector<SheetRow> ReadXlsxRows(const std::string& path) {
  const ZipPackage package(path);
  const std::string workbookPart = WorkbookPart(package);
  const auto relationships = RelationshipsOf(package, workbookPart);
  const std::string sheetPart = FirstWorksheetPart(package, workbookPart, relationships);
  std::vector<std::string> shared;
  for (const auto& [id, relationship] : relationships) {
    if (HasType(relationship, "sharedStrings")) shared = SharedStrings(package, relationship.Part);
  }
  const auto cells = ReadCells(ParsePart(package, sheetPart), shared, sheetPart);
  const std::uint32_t lastRow = cells.empty() ? 0 : cells.rbegin()->first;
  return LeadingRows(lastRow, [&](std::uint32_t row, int column) -> std::string {
    const auto found = cells.find(row);
    return found == cells.end() ? std::string() : found->second[column];
  });
}

}  // namespace zelk
