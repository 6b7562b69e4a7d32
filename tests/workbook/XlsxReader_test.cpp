#include "workbook/XlsxReader.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace zelk {
namespace {

using Parts = std::vector<std::pair<std::string, std::string>>;

// A zip package at `path` holding `parts`.
void WritePackage(const std::string& path, const Parts& parts) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr) << "libzip error " << error;
  for (const auto& [name, text] : parts) {
    zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
    ASSERT_NE(source, nullptr);
    ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0);
  }
  ASSERT_EQ(zip_close(archive), 0);
}

// A workbook whose one sheet has an inline string in A1 to A<n>, one per text.
void WriteInlineStrings(const std::string& path, const std::vector<std::string>& texts) {
  std::string rows;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string row = std::to_string(i + 1);
    rows += "<row r=\"" + row + "\"><c r=\"A" + row + "\" t=\"inlineStr\"><is><t>" + texts[i] +
            "</t></is></c></row>";
  }
  const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const std::string relationships =
      "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  WritePackage(path,
               {{"xl/workbook.xml",
                 "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + relationships +
                     "\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
                {"xl/_rels/workbook.xml.rels",
                 "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                 "relationships\"><Relationship Id=\"rId1\" Type=\"" + relationships +
                     "/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
                {"xl/worksheets/sheet1.xml",
                 "<worksheet xmlns=\"" + main + "\"><sheetData>" + rows +
                     "</sheetData></worksheet>"}});
}

// "_xHHHH_" escapes turn into the character they name, in UTF-8 of one to
// three bytes; an escaped surrogate half or a malformed escape stays as written.
TEST(XlsxReader, EscapedCharactersBecomeUtf8AndMalformedEscapesStayAsWritten) {
  test::TempDir dir;
  const std::string path = dir.File("escapes.xlsx");
  WriteInlineStrings(path, {"a_x0041_b", "_x00E9_", "_x4E2D__x6587_", "_xFFFD_", "_xD800_",
                            "_x005F_x0041_", "_x12G4_"});
  const std::vector<SheetRow> rows = ReadXlsxRows(path);
  std::vector<std::string> columnA;
  for (const SheetRow& row : rows) columnA.push_back(row[0]);
  EXPECT_EQ(columnA, (std::vector<std::string>{"aAb", "\xC3\xA9", "\xE4\xB8\xAD\xE6\x96\x87",
                                               "\xEF\xBF\xBD", "_xD800_", "_x0041_",
                                               "_x12G4_"}));
}

}  // namespace
}  // namespace zelk
