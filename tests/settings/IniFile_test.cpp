// Reading and writing single keys of an INI file: encodings, the value
// length limit, and edits that leave every other byte of the file alone.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/SettingsFile.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// "/数据/扫描" in each encoding, spelled out as bytes so that the test does
// not depend on the converter it checks.
constexpr const char* kChinesePathUtf8 = "/\xE6\x95\xB0\xE6\x8D\xAE/\xE6\x89\xAB\xE6\x8F\x8F";
constexpr const char* kChinesePathGbk = "/\xCA\xFD\xBE\xDD/\xC9\xA8\xC3\xE8";

class IniFileTest : public ::testing::Test {
 protected:
  std::string Write(std::string_view bytes) {
    WriteBytes(path_, bytes);
    return path_;
  }
  test::TempDir dir_;
  std::string path_ = dir_.File("ZELK.conf");
};

TEST_F(IniFileTest, ChinesePathReadsBackExactlyFromUtf8AndGbkFiles) {
  Write(std::string("[Common]\r\nImageSrcDir=") + kChinesePathUtf8 + "\r\n");
  EXPECT_EQ(ReadIniString(path_, "Common", "ImageSrcDir"), kChinesePathUtf8);

  Write(std::string("[Common]\r\nImageSrcDir=") + kChinesePathGbk + "\r\n");
  EXPECT_EQ(ReadIniString(path_, "Common", "ImageSrcDir"), kChinesePathUtf8);
}

TEST_F(IniFileTest, GbkCharactersWithAsciiTrailBytesReadBackWhole) {
  // 0x81 0x5D ends in ']', 0x8A 0x41 in 'A'; the section name holds one too.
  Write("[\x81\x5D]\nKey=\x81\x5D\x8A\x41\n");
  EXPECT_EQ(ReadIniString(path_, "\xE4\xB9\x9A", "Key"), "\xE4\xB9\x9A\xE5\xA4\xBE");
}

TEST_F(IniFileTest, ValueLengthIsLimitedTo1023BytesWithoutSplittingCharacters) {
  const std::string bytes1023(1023, 'a');
  Write("[S]\nExact=" + bytes1023 + "\nLonger=" + bytes1023 + "b\nLong=" + std::string(5000, 'c') + "\n");
  EXPECT_EQ(ReadIniString(path_, "S", "Exact"), bytes1023);
  EXPECT_EQ(ReadIniString(path_, "S", "Longer"), bytes1023);
  EXPECT_EQ(ReadIniString(path_, "S", "Long"), std::string(1023, 'c'));

  // 1 + 341 three-byte characters = 1024 bytes: the character that crosses
  // byte 1023 is dropped whole.
  std::string utf8 = "a";
  for (int i = 0; i < 341; ++i) utf8 += "\xE6\x95\xB0";
  Write("[S]\nK=" + utf8 + "\n");
  EXPECT_EQ(ReadIniString(path_, "S", "K"), utf8.substr(0, 1 + 340 * 3));

  // 512 two-byte GBK characters = 1024 bytes: 511 of them come back.
  std::string gbk, expected;
  for (int i = 0; i < 512; ++i) gbk += "\xCA\xFD";
  for (int i = 0; i < 511; ++i) expected += "\xE6\x95\xB0";
  Write("[S]\nK=" + gbk + "\n");
  EXPECT_EQ(ReadIniString(path_, "S", "K"), expected);
}

TEST_F(IniFileTest, AbsentOrEmptyValuesReadAsEmpty) {
  Write(std::string("Loose=1\n[Merge]\nGrouping=\nNul=ab\0cd\n; Tif=1\n", 40));
  EXPECT_EQ(ReadIniString(path_, "Merge", "Grouping"), "");
  EXPECT_EQ(ReadIniString(path_, "Merge", "Nul"), "ab");
  EXPECT_EQ(ReadIniString(path_, "Merge", "Tif"), "") << "commented-out key";
  EXPECT_EQ(ReadIniString(path_, "Merge", "Loose"), "") << "key before any section";
  EXPECT_EQ(ReadIniString(path_, "Merge", "Missing"), "");
  EXPECT_EQ(ReadIniString(path_, "Nowhere", "Grouping"), "");
  EXPECT_EQ(ReadIniString(dir_.File("missing.conf"), "Merge", "Grouping"), "");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndBlanksAroundValuesAreDropped) {
  Write("[common]\r\n  imagesrcdir =  /scans  \r\n[Other]\r\n[COMMON]\r\nConvertAction=9\r\n");
  EXPECT_EQ(ReadIniString(path_, "Common", "ImageSrcDir"), "/scans");
  // Only the first section of a name is looked at, for reads and writes alike.
  EXPECT_EQ(ReadIniString(path_, "Common", "ConvertAction"), "");
}

TEST_F(IniFileTest, WriteReplacesOnlyItsLineAndKeepsCrLfEnds) {
  Write("; settings\r\n[Common]\r\nImageSrcDir=/old\r\nConvertDstDir=/out\r\n\r\n[Timer]\r\nTimer1=8:0");
  ASSERT_TRUE(WriteIniString(path_, "COMMON", "imagesrcdir", kChinesePathUtf8));
  EXPECT_EQ(ReadBytes(path_), std::string("; settings\r\n[Common]\r\nImageSrcDir=") + kChinesePathUtf8 +
                                  "\r\nConvertDstDir=/out\r\n\r\n[Timer]\r\nTimer1=8:0");
}

TEST_F(IniFileTest, MissingKeyGoesAfterTheSectionsLastLine) {
  Write("[Common]\nImageSrcDir=/a\n\n[Timer]\nTimer1=8:0\n");
  ASSERT_TRUE(WriteIniString(path_, "Common", "TimerType", "2"));
  EXPECT_EQ(ReadBytes(path_), "[Common]\nImageSrcDir=/a\nTimerType=2\n\n[Timer]\nTimer1=8:0\n");
}

TEST_F(IniFileTest, MissingSectionIsAddedAtTheEnd) {
  Write("[Common]\r\nImageSrcDir=/a");  // no line end after the last line
  ASSERT_TRUE(WriteIniString(path_, "2PDF", "KeepDir", "1"));
  EXPECT_EQ(ReadBytes(path_), "[Common]\r\nImageSrcDir=/a\r\n[2PDF]\r\nKeepDir=1\r\n");
  EXPECT_EQ(ReadIniString(path_, "2pdf", "KEEPDIR"), "1");
}

TEST_F(IniFileTest, GbkFileStaysGbk) {
  const std::string other = std::string("[Merge]\r\nGrouping=") + kChinesePathGbk + "\r\n";
  Write("[Common]\r\nImageSrcDir=\xC9\xA8\r\n" + other);
  ASSERT_TRUE(WriteIniString(path_, "Common", "ImageSrcDir", kChinesePathUtf8));
  EXPECT_EQ(ReadBytes(path_), std::string("[Common]\r\nImageSrcDir=") + kChinesePathGbk + "\r\n" + other);
  EXPECT_EQ(ReadIniString(path_, "Merge", "Grouping"), kChinesePathUtf8);
}

TEST_F(IniFileTest, UnstorableValuesAreRefusedAndTheFileKept) {
  const std::string original = "[Split]\r\nFileNamePre=A\r\n";
  Write(original);
  EXPECT_FALSE(WriteIniString(path_, "Split", "FileNamePre", "A\r\n[Common]"));
  EXPECT_FALSE(WriteIniString(path_, "Split", "FileNamePre", "\xFF\xFE"));
  EXPECT_FALSE(WriteIniString(path_, "Split", "Bad=Key", "x"));
  EXPECT_FALSE(WriteIniString(path_, "Spl]it", "Key", "x"));
  EXPECT_EQ(ReadBytes(path_), original);

  // A value ends at its first NUL, as in a C string.
  ASSERT_TRUE(WriteIniString(path_, "Split", "FileNamePre", std::string("B\0C", 3)));
  EXPECT_EQ(ReadBytes(path_), "[Split]\r\nFileNamePre=B\r\n");
}

TEST_F(IniFileTest, WriteKeepsPermissionsAndLinksAndLeavesNoTemporaryFiles) {
  Write("[Common]\n");
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  const std::string link = dir_.File("link.conf");
  std::filesystem::create_symlink(path_, link);

  ASSERT_TRUE(WriteIniString(link, "Common", "TimerType", "1"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(path_), "[Common]\nTimerType=1\n");
  EXPECT_EQ(test::PermissionBits(path_), 0640u);
  EXPECT_EQ(test::EntryCount(dir_.Path()), 2) << "no temporary or lock file left beside";
}

TEST_F(IniFileTest, WritersInTwoProcessesLoseNoKey) {
  // A dialog's OK and a zelk-batch start, many times over: each writer
  // reads, changes and replaces the whole file.
  Write("[Common]\r\n");
  constexpr int kKeys = 150;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  const char* writer = child == 0 ? "Child" : "Parent";
  bool written = true;
  for (int i = 0; i < kKeys; ++i) {
    written = WriteIniString(path_, "Common", writer + std::to_string(i), "1") && written;
  }
  if (child == 0) _exit(written ? 0 : 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(written);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  for (int i = 0; i < kKeys; ++i) {
    for (const char* name : {"Child", "Parent"}) {
      EXPECT_EQ(ReadIniString(path_, "Common", name + std::to_string(i)), "1") << name << i;
    }
  }
}

TEST_F(IniFileTest, WriteToAMissingFileCreatesIt) {
  ASSERT_TRUE(WriteIniString(path_, "Timer", "Timer2", "5"));
  EXPECT_EQ(ReadBytes(path_), "[Timer]\r\nTimer2=5\r\n");
  EXPECT_FALSE(WriteIniString(dir_.File("no/such/dir.conf"), "Timer", "Timer2", "5"));
}

}  // namespace
}  // namespace zelk
