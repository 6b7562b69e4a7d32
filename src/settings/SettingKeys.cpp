// The table of every key of ZELK.conf with its shipped default.  The same
// table writes the shipped file and supplies the value of an integer key
// that is missing or damaged, so the two can never disagree.

#include <array>
#include <cstring>

#include "settings/SettingsFile.h"

namespace zelk {
namespace {

#define ZELK_INT_KEY(sectionName, member, key, value)                                   \
  SettingKey {                                                                          \
    sectionName, #key, true, value, nullptr,                                            \
        [](Settings& s) -> int16_t* { return &s.member.key; }, nullptr                  \
  }
#define ZELK_TEXT_KEY(sectionName, member, key, value)                                  \
  SettingKey {                                                                          \
    sectionName, #key, false, 0, value, nullptr,                                        \
        [](Settings& s) -> std::string* { return &s.member.key; }                       \
  }

const std::array kSettingKeys = {
    ZELK_TEXT_KEY("Common", Common, ImageSrcDir, ""),
    ZELK_TEXT_KEY("Common", Common, ConvertDstDir, ""),
    ZELK_INT_KEY("Common", Common, ConvertAction, 1),
    ZELK_INT_KEY("Common", Common, TimerType, 0),
    ZELK_TEXT_KEY("Timer", Timer, Timer1, "8:0"),
    ZELK_TEXT_KEY("Timer", Timer, Timer2, "5"),
    ZELK_INT_KEY("ImageCompress", ImageCompress, Tif1Compress, 0),
    ZELK_INT_KEY("ImageCompress", ImageCompress, Tif2Compress, 1),
    ZELK_INT_KEY("ImageCompress", ImageCompress, Tif2Quality, 0),
    ZELK_INT_KEY("ImageCompress", ImageCompress, Tif2QualityValue, 75),
    ZELK_INT_KEY("ImageCompress", ImageCompress, JpgCompress, 0),
    ZELK_INT_KEY("ImageCompress", ImageCompress, JpgQuality, 0),
    ZELK_INT_KEY("ImageCompress", ImageCompress, JpgQualityValue, 75),
    ZELK_INT_KEY("Merge", Merge, Tif, 1),
    ZELK_INT_KEY("Merge", Merge, Jpg, 1),
    ZELK_INT_KEY("Merge", Merge, KeepDir, 1),
    ZELK_TEXT_KEY("Merge", Merge, Grouping, ""),
    ZELK_INT_KEY("Split", Split, FileType, 1),
    ZELK_INT_KEY("Split", Split, FileNameAutoAdd, 1),
    ZELK_TEXT_KEY("Split", Split, FileNamePre, "-"),
    ZELK_INT_KEY("Split", Split, FileNameInit, 1),
    ZELK_INT_KEY("Split", Split, FileNameLength, 4),
    ZELK_INT_KEY("Split", Split, AddZero, 1),
    ZELK_TEXT_KEY("Split", Split, FileNamePos, ""),
    ZELK_INT_KEY("Rename", Rename, RFileNameAutoAdd, 1),
    ZELK_TEXT_KEY("Rename", Rename, RFileNamePre, "-"),
    ZELK_INT_KEY("Rename", Rename, RFileNameInit, 1),
    ZELK_INT_KEY("Rename", Rename, RFileNameLength, 4),
    ZELK_INT_KEY("Rename", Rename, RAddZero, 1),
    ZELK_TEXT_KEY("Rename", Rename, RFileNamePos, ""),
    ZELK_INT_KEY("PDF", PDF, ConvertType, 1),
    ZELK_INT_KEY("PDF", PDF, KeepDir, 1),
    ZELK_INT_KEY("PDF", PDF, OutputTif, 0),
    ZELK_TEXT_KEY("PDF", PDF, Grouping, ""),
    ZELK_INT_KEY("PDF", PDF, ImageResolution, 0),
    ZELK_INT_KEY("PDF", PDF, PaperSize, 0),
    ZELK_INT_KEY("2PDF", TwoPDF, ConvertType, 1),
    ZELK_INT_KEY("2PDF", TwoPDF, KeepDir, 1),
    ZELK_INT_KEY("2PDF", TwoPDF, OutputTxt, 0),
    ZELK_INT_KEY("2PDF", TwoPDF, OutputTif, 0),
    ZELK_TEXT_KEY("2PDF", TwoPDF, Grouping, ""),
    ZELK_INT_KEY("2PDF", TwoPDF, PaperSize, 0),
    ZELK_INT_KEY("2PDF", TwoPDF, TextOutputMode, 0),
    ZELK_INT_KEY("2PDF", TwoPDF, ImageQuality, 0),
    ZELK_INT_KEY("2PDF", TwoPDF, ImageResolution, 0),
    ZELK_INT_KEY("OCR", OCR, ConvertType, 1),
    ZELK_INT_KEY("OCR", OCR, OutputType, 1),
    ZELK_INT_KEY("OCR", OCR, RecognizeMode, 0),
    ZELK_INT_KEY("OCR", OCR, KeepTextAndBackgroundColor, 0),
};

#undef ZELK_INT_KEY
#undef ZELK_TEXT_KEY

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::span<const SettingKey> SettingKeys() { return kSettingKeys; }

const SettingKey* FindSettingKey(std::string_view section, std::string_view key) {
  for (const SettingKey& entry : kSettingKeys) {
    if (EqualsIgnoringCase(entry.Section, section) && EqualsIgnoringCase(entry.Key, key)) {
      return &entry;
    }
  }
  return nullptr;
}

std::string DefaultSettingsFileText() {
  std::string text;
  const char* section = nullptr;
  for (const SettingKey& entry : kSettingKeys) {
    if (section == nullptr || std::strcmp(section, entry.Section) != 0) {
      if (section != nullptr) text += "\r\n";
      section = entry.Section;
      text += "[" + std::string(section) + "]\r\n";
    }
    text += std::string(entry.Key) + "=" +
            (entry.IsInteger ? std::to_string(entry.DefaultInt) : std::string(entry.DefaultText)) +
            "\r\n";
  }
  return text;
}

}  // namespace zelk
