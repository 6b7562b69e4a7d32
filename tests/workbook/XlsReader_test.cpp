// The .xls reader program as the program finds and starts it, and the rows
// it passes back.
#include "workbook/XlsReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/TempDir.h"
#include "workbook/SheetRowCodec.h"

namespace zelk {
namespace {

std::string Fixture(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / ".." / "jobs" / "fixtures" / name)
      .lexically_normal()
      .string();
}

// Points ZELK_BIN_DIR elsewhere for one test.
class BinDirOverride {
 public:
  explicit BinDirOverride(const std::string& directory) {
    if (const char* old = std::getenv("ZELK_BIN_DIR")) old_ = old;
    setenv("ZELK_BIN_DIR", directory.c_str(), 1);
  }
  ~BinDirOverride() {
    if (old_) {
      setenv("ZELK_BIN_DIR", old_->c_str(), 1);
    } else {
      unsetenv("ZELK_BIN_DIR");
    }
  }
  BinDirOverride(const BinDirOverride&) = delete;
  BinDirOverride& operator=(const BinDirOverride&) = delete;

 private:
  std::optional<std::string> old_;
};

// A stand-in reader program in `dir` running the shell `script`.
void WriteReader(const test::TempDir& dir, const std::string& script) {
  const std::string path = dir.File(kXlsReaderProgramName);
  test::WriteBytes(path, "#!/bin/sh\n" + script + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

// What reading the workbook raises.
std::string ReadError(const std::string& path) {
  try {
    return std::to_string(ReadXlsRows(path).size()) + " rows read";
  } catch (const SheetReadError& error) {
    return error.what();
  }
}

TEST(XlsReaderTest, TheTestsFindTheBuiltReaderProgramThroughTheBinDirectory) {
  // The tests run from a directory of their own, without the program
  // beside them; the launcher names the programs' directory.
  const char* binDir = std::getenv("ZELK_BIN_DIR");
  ASSERT_NE(binDir, nullptr);
  EXPECT_EQ(XlsReaderProgram(), std::string(binDir) + "/" + kXlsReaderProgramName);
  EXPECT_EQ(access(XlsReaderProgram().c_str(), X_OK), 0);
  EXPECT_EQ(ReadError(Fixture("grouping-table.xls")), "5 rows read");
}

TEST(XlsReaderTest, AReaderThatCrashesOrIsMissingFailsTheReadOnly) {
  // The grouping table turns these into its "cannot read" message (the
  // damaged fixture of its tests crashes FreeXL for real).
  const std::string workbook = Fixture("grouping-table.xls");
  test::TempDir dir;
  {
    WriteReader(dir, "ulimit -c 0; kill -SEGV $$");
    const BinDirOverride override(dir.Path().string());
    EXPECT_EQ(ReadError(workbook),
              "cannot read " + workbook + ": the child process crashed: Segmentation fault");
  }
  {
    WriteReader(dir, "printf 'R\\001\\000\\000\\000'");  // a length with no text after it
    const BinDirOverride override(dir.Path().string());
    EXPECT_EQ(ReadError(workbook), "the .xls reader's result is cut short");
  }
  {
    const test::TempDir empty;
    const BinDirOverride override(empty.Path().string());
    const std::string beside =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / kXlsReaderProgramName;
    EXPECT_EQ(XlsReaderProgram(), beside);
    EXPECT_EQ(ReadError(workbook), "cannot read " + workbook + ": cannot start " + beside +
                                       ": No such file or directory");
  }
}

TEST(XlsReaderTest, RowsSurviveTheTripThroughTheCodecWhateverTheirBytes) {
  const std::vector<SheetRow> rows = {{"目录", "", "页号"},
                                      {std::string("a\0b", 3), std::string(70000, 'x'), "\xFF"}};
  EXPECT_EQ(DecodeSheetRows(EncodeSheetRows(rows)), rows);
  EXPECT_TRUE(DecodeSheetRows("").empty());
  const std::string bytes = EncodeSheetRows(rows);
  for (const std::size_t cut : {std::size_t{1}, std::size_t{6}, bytes.size() - 1}) {
    EXPECT_THROW(DecodeSheetRows(bytes.substr(0, cut)), SheetReadError) << cut;
  }
}

}  // namespace
}  // namespace zelk
