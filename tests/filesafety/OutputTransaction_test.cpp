#include "filesafety/OutputTransaction.h"

#include "filesafety/DirectoryBeneath.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

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

// What someone who saw one temporary name would guess for the next one:
// the same with its last number one higher.
fs::path NextGuess(const fs::path& seen) {
  std::string name = seen.filename().string();
  name.resize(name.size() - kTemporaryOutputSuffix.size());
  const std::size_t dash = name.rfind('-');
  std::ostringstream next;
  const unsigned long long last = std::stoull(name.substr(dash + 1), nullptr, 16);
  next << name.substr(0, dash + 1) << std::hex << last + 1 << kTemporaryOutputSuffix;
  return seen.parent_path() / next.str();
}

TEST(OutputTransaction, CommitPutsWrittenOutputsInPlace) {
  TempDir dir;
  WriteBytes(dir.File("doc.pdf"), "old pdf");
  OutputTransaction transaction(dir.Path());
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
    OutputTransaction transaction(dir.Path());
    const std::string tif = transaction.Add(dir.File("doc.tif"), true);
    EXPECT_EQ(ReadBytes(tif), "pages 1-3");
    WriteBytes(tif, "pages 1-3 and half of 4");
  }  // an item that failed
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"doc.tif"});
  EXPECT_EQ(ReadBytes(dir.File("doc.tif")), "pages 1-3");

  OutputTransaction transaction(dir.Path());
  const std::string tif = transaction.Add(dir.File("doc.tif"), true);
  WriteBytes(tif, "pages 1-4");
  transaction.Commit();
  EXPECT_EQ(ReadBytes(dir.File("doc.tif")), "pages 1-4");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"doc.tif"});
}

TEST(OutputTransaction, TemporaryNamesAreShortWhateverTheFinalName) {
  TempDir dir;
  const std::string longName(250, 'n');
  OutputTransaction transaction(dir.Path());
  const std::string temporary = transaction.Add(dir.File(longName + ".tif"), false);
  EXPECT_LT(fs::path(temporary).filename().string().size(), 80u);
  EXPECT_TRUE(IsTemporaryOutput(fs::path(temporary).filename().string()));
  EXPECT_FALSE(IsTemporaryOutput(".zelk-tmp"));
  WriteBytes(temporary, "pages");
  transaction.Commit();
  EXPECT_EQ(ReadBytes(dir.File(longName + ".tif")), "pages");
}

TEST(OutputTransaction, CompanionsReachTheirNamesBeforeTheResult) {
  TempDir dir;
  OutputTransaction transaction(dir.Path());
  const std::string pdf = transaction.Add(dir.File("a.pdf"), false);
  const std::string tif = transaction.Add(dir.File("a.tif"), false, OutputKind::Companion);
  WriteBytes(pdf, "pdf");
  WriteBytes(tif, "tif");
  // A directory holds the result's name, so its rename fails: the
  // companion must already be in place.
  fs::create_directory(dir.File("a.pdf"));
  WriteBytes(dir.File("a.pdf/blocker"), "x");
  EXPECT_THROW(transaction.Commit(), fs::filesystem_error);
  EXPECT_EQ(ReadBytes(dir.File("a.tif")), "tif");
  EXPECT_FALSE(fs::exists(pdf)) << "the result's temporary file is cleared";
}

TEST(OutputTransaction, NothingIsWrittenOrReadThroughALinkBelowTheRoot) {
  TempDir dir;
  const fs::path root = dir.Path() / "dst";
  fs::create_directories(root);
  fs::create_directory(dir.Path() / "elsewhere");
  WriteBytes(dir.Path() / "elsewhere" / "secret.pdf", "secret");
  fs::create_directory_symlink(dir.Path() / "elsewhere", root / "x");
  fs::create_symlink(dir.Path() / "elsewhere" / "secret.pdf", root / "doc.pdf");
  OutputTransaction transaction(root);
  EXPECT_THROW(transaction.Add((root / "x" / "y" / "y.pdf").string(), false), LinkInPathError);
  // Appending would start from the link's target: refused, a new output is not.
  EXPECT_THROW(transaction.Add((root / "doc.pdf").string(), true), LinkInPathError);
  const std::string fresh = transaction.Add((root / "doc.pdf").string(), false);
  WriteBytes(fresh, "new");
  transaction.Commit();
  EXPECT_EQ(ReadBytes(root / "doc.pdf"), "new") << "the link is replaced, not written through";
  EXPECT_EQ(Names(dir.Path() / "elsewhere"), std::vector<std::string>{"secret.pdf"});
  EXPECT_EQ(ReadBytes(dir.Path() / "elsewhere" / "secret.pdf"), "secret");
}

TEST(OutputTransaction, ADirectorySwappedForALinkAfterAddFailsTheCommit) {
  TempDir dir;
  const fs::path root = dir.Path() / "dst";
  fs::create_directory(dir.Path() / "elsewhere");
  OutputTransaction transaction(root);
  const std::string pdf = transaction.Add((root / "a" / "doc.pdf").string(), false);
  fs::rename(root / "a", root / "moved");
  fs::create_directory_symlink(dir.Path() / "elsewhere", root / "a");
  WriteBytes(pdf, "pages");  // the writer goes by the path
  EXPECT_THROW(transaction.Commit(), fs::filesystem_error);
  EXPECT_FALSE(fs::exists(dir.Path() / "elsewhere" / "doc.pdf"));
  EXPECT_FALSE(fs::exists(root / "moved" / "doc.pdf")) << "no empty output stands for it";
}

TEST(OutputTransaction, NoLinkCanBePlantedUnderTheNextTemporaryName) {
  TempDir dir;
  WriteBytes(dir.Path() / "victim", "kept");
  const fs::path final = dir.Path() / "doc.pdf";
  fs::create_symlink(dir.Path() / "victim", NextGuess(TemporaryPathBeside(final)));
  OutputTransaction transaction(dir.Path());
  const std::string temporary = transaction.Add(final.string(), false);
  WriteBytes(temporary, "pages");  // as the writers do: by name, following a link
  transaction.Commit();
  EXPECT_EQ(ReadBytes(dir.Path() / "victim"), "kept");
  EXPECT_EQ(ReadBytes(final), "pages");
  EXPECT_FALSE(fs::is_symlink(final));
}

}  // namespace
}  // namespace zelk
