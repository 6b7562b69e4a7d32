// Loading the whole record, the key table and its handles, the shipped file
// and the fall-back of damaged integer values to the shipped defaults.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "settings/SettingsFile.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// The value of one key in `settings`, as the text the file would hold.
std::string FieldText(Settings& settings, const SettingKey& key) {
  return key.IsInteger ? std::to_string(*key.IntField(settings)) : *key.TextField(settings);
}

std::string DefaultText(const SettingKey& key) {
  return key.IsInteger ? std::to_string(key.DefaultInt) : key.DefaultText;
}

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The shipped ZELK.conf as released: its sections, keys, their order and
// defaults.  Installed files hold these bytes, so they must never change.
constexpr const char* kShippedFile =
    "[Common]\r\n"
    "ImageSrcDir=\r\n"
    "ConvertDstDir=\r\n"
    "ConvertAction=1\r\n"
    "TimerType=0\r\n"
    "\r\n"
    "[Timer]\r\n"
    "Timer1=8:0\r\n"
    "Timer2=5\r\n"
    "\r\n"
    "[ImageCompress]\r\n"
    "Tif1Compress=0\r\n"
    "Tif2Compress=1\r\n"
    "Tif2Quality=0\r\n"
    "Tif2QualityValue=75\r\n"
    "JpgCompress=0\r\n"
    "JpgQuality=0\r\n"
    "JpgQualityValue=75\r\n"
    "\r\n"
    "[Merge]\r\n"
    "Tif=1\r\n"
    "Jpg=1\r\n"
    "KeepDir=1\r\n"
    "Grouping=\r\n"
    "\r\n"
    "[Split]\r\n"
    "FileType=1\r\n"
    "FileNameAutoAdd=1\r\n"
    "FileNamePre=-\r\n"
    "FileNameInit=1\r\n"
    "FileNameLength=4\r\n"
    "AddZero=1\r\n"
    "FileNamePos=\r\n"
    "\r\n"
    "[Rename]\r\n"
    "RFileNameAutoAdd=1\r\n"
    "RFileNamePre=-\r\n"
    "RFileNameInit=1\r\n"
    "RFileNameLength=4\r\n"
    "RAddZero=1\r\n"
    "RFileNamePos=\r\n"
    "\r\n"
    "[PDF]\r\n"
    "ConvertType=1\r\n"
    "KeepDir=1\r\n"
    "OutputTif=0\r\n"
    "OutputOfd=0\r\n"
    "Grouping=\r\n"
    "ImageResolution=0\r\n"
    "PaperSize=0\r\n"
    "\r\n"
    "[2PDF]\r\n"
    "ConvertType=1\r\n"
    "KeepDir=1\r\n"
    "OutputTxt=0\r\n"
    "OutputTif=0\r\n"
    "OutputOfd=0\r\n"
    "Grouping=\r\n"
    "PaperSize=0\r\n"
    "TextOutputMode=0\r\n"
    "ImageQuality=0\r\n"
    "ImageResolution=0\r\n"
    "\r\n"
    "[OCR]\r\n"
    "ConvertType=1\r\n"
    "OutputType=1\r\n"
    "RecognizeMode=0\r\n"
    "KeepTextAndBackgroundColor=0\r\n";

// The (section, key) names of `text`, in file order.
std::vector<std::pair<std::string, std::string>> KeyNamesOf(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> names;
  std::string section;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    if (line.starts_with("[")) {
      section = line.substr(1, line.size() - 2);
    } else if (!line.empty()) {
      names.emplace_back(section, line.substr(0, line.find('=')));
    }
  }
  return names;
}

class LoadSettingsTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  std::string conf_ = dir_.File(kSettingsFileName);
};

TEST_F(LoadSettingsTest, MissingFileIsReportedAndThePathStillRemembered) {
  Settings settings;
  EXPECT_FALSE(LoadSettings(dir_.Path().string(), settings));
  EXPECT_EQ(settings.IniPath, conf_);
}

TEST_F(LoadSettingsTest, ShippedFileHoldsEveryKeyAndLoadsAsTheDefaults) {
  WriteBytes(conf_, DefaultSettingsFileText());
  EXPECT_EQ(DefaultSettingsFileText(), kShippedFile);
  // The file matches names without regard to case, so no two keys may
  // differ in case alone.
  std::set<std::pair<std::string, std::string>> seen;
  for (const SettingKey& key : SettingKeys()) {
    EXPECT_TRUE(seen.emplace(Lowered(key.Section), Lowered(key.Key)).second)
        << key.Section << " " << key.Key;
  }
  EXPECT_EQ(seen.size(), 51u);

  Settings settings;
  ASSERT_TRUE(LoadSettings(dir_.Path().string(), settings));
  for (const SettingKey& key : SettingKeys()) {
    EXPECT_EQ(ReadIniString(conf_, key.Section, key.Key), DefaultText(key)) << key.Key;
    EXPECT_EQ(FieldText(settings, key), DefaultText(key)) << key.Key;
  }
}

// Each handle names exactly one row, the row of its place in the shipped
// file, and the row's accessor reaches a field of the record that no other
// handle reaches.
TEST(SettingKeyTableTest, EveryHandleNamesOneRowAndItsOwnField) {
  const auto shippedNames = KeyNamesOf(kShippedFile);
  const std::span<const SettingKey> rows = SettingKeys();
  ASSERT_EQ(rows.size(), shippedNames.size());
  Settings record;
  const auto* recordBegin = reinterpret_cast<const char*>(&record);
  std::set<const void*> fields = {&record.IniPath};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const SettingId id = static_cast<SettingId>(i);
    const SettingKey& row = SettingKeyOf(id);
    SCOPED_TRACE(std::string(row.Section) + " " + row.Key);
    const auto namesId = [id](const SettingKey& other) { return other.Id == id; };
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), namesId), 1);
    EXPECT_EQ(&row, &rows[i]);
    EXPECT_EQ((std::pair<std::string, std::string>(row.Section, row.Key)), shippedNames[i]);

    const std::span<const SettingKey> section = SettingKeysOf(row.SectionId);
    EXPECT_TRUE(&row >= section.data() && &row < section.data() + section.size());
    EXPECT_STREQ(section.front().Section, row.Section);

    EXPECT_EQ(row.IntField == nullptr, !row.IsInteger);
    EXPECT_EQ(row.TextField == nullptr, row.IsInteger);
    const auto* field = row.IsInteger ? static_cast<const void*>(row.IntField(record))
                                      : static_cast<const void*>(row.TextField(record));
    const auto* fieldBytes = static_cast<const char*>(field);
    EXPECT_TRUE(fieldBytes >= recordBegin && fieldBytes < recordBegin + sizeof(Settings));
    EXPECT_TRUE(fields.insert(field).second) << "field shared with another key";
  }
  // Where the section's name in the file differs from the record's member.
  EXPECT_STREQ(SettingKeyOf(SettingId::TwoPDF_KeepDir).Section, "2PDF");
  EXPECT_EQ(SettingKeyOf(SettingId::TwoPDF_KeepDir).IntField(record), &record.TwoPDF.KeepDir);
  EXPECT_EQ(SettingKeysOf(SettingSection::TwoPDF).size(), 10u);
}

// Every shipped integer lies in the domain its dialog or job accepts.
TEST_F(LoadSettingsTest, ShippedIntegersAreValidChoices) {
  const std::map<std::string, std::pair<int, int>> domains = {
      {"Common.ConvertAction", {1, 6}},       {"Common.TimerType", {0, 2}},
      {"ImageCompress.Tif1Compress", {0, 4}}, {"ImageCompress.Tif2Compress", {0, 4}},
      {"ImageCompress.Tif2Quality", {0, 3}},  {"ImageCompress.Tif2QualityValue", {1, 100}},
      {"ImageCompress.JpgCompress", {0, 2}},  {"ImageCompress.JpgQuality", {0, 3}},
      {"ImageCompress.JpgQualityValue", {1, 100}},
      {"Split.FileType", {1, 2}},             {"Split.FileNameLength", {1, 8}},
      {"Rename.RFileNameLength", {1, 8}},     {"PDF.ConvertType", {1, 2}},
      {"PDF.ImageResolution", {0, 7}},        {"PDF.PaperSize", {0, 1}},
      {"2PDF.ConvertType", {1, 2}},           {"2PDF.PaperSize", {0, 3}},
      {"2PDF.ImageQuality", {0, 3}},          {"2PDF.ImageResolution", {0, 7}},
      {"OCR.ConvertType", {1, 2}},            {"OCR.OutputType", {0, 2}},
      {"OCR.RecognizeMode", {0, 3}},
  };
  for (const SettingKey& key : SettingKeys()) {
    if (!key.IsInteger) continue;
    const auto found = domains.find(std::string(key.Section) + "." + key.Key);
    // Keys not listed are flags (0/1) or start values (any number).
    const auto [low, high] = found != domains.end() ? found->second
                             : std::string(key.Key).ends_with("Init") ? std::pair(0, 32767)
                                                                      : std::pair(0, 1);
    EXPECT_GE(key.DefaultInt, low) << key.Section << " " << key.Key;
    EXPECT_LE(key.DefaultInt, high) << key.Section << " " << key.Key;
  }
  Settings settings;
  WriteBytes(conf_, DefaultSettingsFileText());
  ASSERT_TRUE(LoadSettings(dir_.Path().string(), settings));
  EXPECT_EQ(settings.Timer.Timer1, "8:0");
  EXPECT_EQ(settings.Timer.Timer2, "5");
}

TEST_F(LoadSettingsTest, DamagedIntegersFallBackToTheShippedDefaults) {
  WriteBytes(conf_,
             "[Common]\r\nConvertAction=\r\nTimerType=abc\r\n"
             "[ImageCompress]\r\nTif1Compress=70000\r\nTif2Compress=-40000\r\n"
             "Tif2QualityValue=12abc\r\nJpgQualityValue=1.5\r\n"
             "[Split]\r\nFileNameInit=-32768\r\nFileNameLength=+3\r\nFileType= 2 \r\n"
             "[Rename]\r\nRFileNameInit=32767\r\n");
  Settings settings;
  ASSERT_TRUE(LoadSettings(dir_.Path().string(), settings));
  EXPECT_EQ(settings.Common.ConvertAction, 1);
  EXPECT_EQ(settings.Common.TimerType, 0);
  EXPECT_EQ(settings.ImageCompress.Tif1Compress, 0);
  EXPECT_EQ(settings.ImageCompress.Tif2Compress, 1);
  EXPECT_EQ(settings.ImageCompress.Tif2QualityValue, 75);
  EXPECT_EQ(settings.ImageCompress.JpgQualityValue, 75);
  EXPECT_EQ(settings.PDF.ConvertType, 1) << "missing key";
  // Well-formed numbers at the edges of 16 bits are taken as they are.
  EXPECT_EQ(settings.Split.FileNameInit, -32768);
  EXPECT_EQ(settings.Split.FileNameLength, 3);
  EXPECT_EQ(settings.Split.FileType, 2);
  EXPECT_EQ(settings.Rename.RFileNameInit, 32767);
  // Missing text keys are empty, not their shipped text.
  EXPECT_EQ(settings.Split.FileNamePre, "");
  EXPECT_EQ(settings.Timer.Timer2, "");
}

// Writing every key from a record and loading it again gives the same
// record: each table row reads and writes its own field.
TEST_F(LoadSettingsTest, EveryKeyRoundTripsThroughTheFile) {
  WriteBytes(conf_, "[Common]\r\n");
  Settings written;
  written.IniPath = conf_;
  int16_t number = -3;
  for (const SettingKey& key : SettingKeys()) {
    if (key.IsInteger) {
      *key.IntField(written) = number++;
    } else {
      *key.TextField(written) = std::string("\xE6\x95\xB0 ") + key.Section + "/" + key.Key;
    }
  }
  for (const SettingKey& key : SettingKeys()) {
    EXPECT_TRUE(WriteSettingKey(written, key.Id));
  }
  const std::string bytes = ReadBytes(conf_);
  EXPECT_NE(bytes.find("\r\nTimerType=-2\r\n"), std::string::npos) << "no blank before digits";
  EXPECT_EQ(bytes.find("= "), std::string::npos);

  Settings loaded;
  ASSERT_TRUE(LoadSettings(dir_.Path().string(), loaded));
  for (const SettingKey& key : SettingKeys()) {
    EXPECT_EQ(FieldText(loaded, key), FieldText(written, key)) << key.Section << " " << key.Key;
  }

  // A write that cannot reach the file is reported.
  written.IniPath = dir_.File("no/such/dir/ZELK.conf");
  EXPECT_FALSE(WriteSettingKey(written, SettingId::Common_TimerType));
}

TEST(DefaultConfToolTest, WritesTheShippedFileOnlyWhenNoneIsThere) {
  test::TempDir dir;
  const std::string conf = dir.File(kSettingsFileName);
  const std::string command = std::string(ZELK_DEFAULT_CONF_TOOL) + " '" + conf + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadBytes(conf), DefaultSettingsFileText());

  WriteBytes(conf, "[Common]\r\nConvertAction=4\r\n");
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadBytes(conf), "[Common]\r\nConvertAction=4\r\n");
}

}  // namespace
}  // namespace zelk
