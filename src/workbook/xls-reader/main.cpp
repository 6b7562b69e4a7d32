// zelk-xls-reader WORKBOOK
//
// Reads columns A to C of the first worksheet of an .xls workbook with
// FreeXL and answers the program that started it on standard output (see
// ChildProgramCall.h and SheetRowCodec.h).  FreeXL runs here, in a process
// of its own, because it crashes on some damaged files: such a file then
// fails its read instead of ending the program.

#include <string>

#include "FreeXlSheet.h"
#include "workbook/ChildProgramCall.h"
#include "workbook/SheetRowCodec.h"

int main(int argc, char** argv) {
  return zelk::AnswerParent([&]() -> std::string {
    if (argc != 2) throw zelk::SheetReadError("usage: zelk-xls-reader WORKBOOK");
    return zelk::EncodeSheetRows(zelk::ReadXlsRowsWithFreeXl(argv[1]));
  });
}
