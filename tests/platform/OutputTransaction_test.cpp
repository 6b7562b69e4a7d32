#include "platform/OutputTransaction.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    names.push_back(fs::relative(entry.path(), dir).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(OutputTransaction, CommitPutsWrittenOutputsInPlace) {
  TempDir dir;
  WriteBytes(dir.File("doc.pdf"), "old pdf");
  OutputTransaction transaction;
  const std::string pdf = transaction.Add(dir.File("doc.pdf"), false);
  const std::string tif = transaction.Add(dir.File("sub/doc.tif"), true);  // directory made
  transaction.Add(dir.File("never-written.txt"), false);
  EXPECT_EQ(transaction.Add(dir.File("doc.pdf"), false), pdf);
  EXPECT_TRUE(IsTemporaryOutput(fs::path(pdf).filename().string()));
  EXPECT_EQ(fs::path(pdf).parent_path(), dir.Path());
  EXPECT_FALSE(fs::exists(pdf)) << "nothing to append to: no copy";
  WriteBytes(pdf, "new pdf");
  WriteBytes(tif, "new tif");
  EXPECT_EQ(ReadBytes(dir.File("doc.pdf")), "old pdf");
  transaction.Commit();
  EXPECT_EQ(ReadBytes(dir.File("doc.pdf")), "new pdf");
  EXPECT_EQ(ReadBytes(dir.File("sub/doc.tif")), "new tif");
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"doc.pdf", "sub", "sub/doc.tif"}));
}

TEST(OutputTransaction, UncommittedOutputsVanishAndAppendsStartFromACopy) {
  TempDir dir;
  WriteBytes(dir.File("doc.tif"), "pages 1-3");
  {
    OutputTransaction transaction;
    const std::string tif = transaction.Add(dir.File("doc.tif"), true);
    EXPECT_EQ(ReadBytes(tif), "pages 1-3");
    WriteBytes(tif, "pages 1-3 and half of 4");
  }  // an item that failed
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"doc.tif"});
  EXPECT_EQ(ReadBytes(dir.File("doc.tif")), "pages 1-3");

  OutputTransaction transaction;
  const std::string tif = transaction.Add(dir.File("doc.tif"), true);
  WriteBytes(tif, "pages 1-4");
  transaction.Commit();
  EXPECT_EQ(ReadBytes(dir.File("doc.tif")), "pages 1-4");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"doc.tif"});
}

TEST(OutputTransaction, LeftoverTemporaryFilesAreRemovedAndOnlyThey) {
  TempDir dir;
  fs::create_directories(dir.Path() / "a" / "b");
  WriteBytes(dir.File("a/b/doc.tif.123-4.zelk-tmp"), "x");
  WriteBytes(dir.File("top.pdf.9-9.zelk-tmp"), "x");
  WriteBytes(dir.File("a/keep.tif"), "x");
  WriteBytes(dir.File("a/zelk-tmp"), "x");
  WriteBytes(dir.File("a/.zelk-tmp.tif"), "x");
  EXPECT_EQ(RemoveTemporaryOutputs(dir.Path()), 2);
  EXPECT_EQ(Names(dir.Path()),
            (std::vector<std::string>{"a", "a/.zelk-tmp.tif", "a/b", "a/keep.tif", "a/zelk-tmp"}));
  EXPECT_EQ(RemoveTemporaryOutputs(dir.File("missing")), 0);
  EXPECT_FALSE(IsTemporaryOutput(".zelk-tmp"));
}

}  // namespace
}  // namespace zelk
