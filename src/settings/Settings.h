#pragma once
// The in-memory record of every key of ZELK.conf.  Loaded once at start-up;
// each writer changes a field first and then writes the same value to the
// file (see SettingsFile.h), so record and file agree after every write.
//
// Texts are held as UTF-8 whatever the file's own encoding is; integers are
// 16-bit signed as the file format defines them.  The shipped defaults live
// in one table, SettingKeys() in SettingKeys.h, not here.

#include <cstdint>
#include <string>

namespace zelk {

struct Settings {
  // Full path of the settings file all later writes go to.
  std::string IniPath;

  struct CommonSection {
    std::string ImageSrcDir;
    std::string ConvertDstDir;
    int16_t ConvertAction = 0;  // 1 merge .. 6 batch rename
    int16_t TimerType = 0;      // 0 none, 1 daily, 2 every N minutes
  } Common;

  struct TimerSection {
    std::string Timer1;  // "H:M", no leading zeros
    std::string Timer2;  // interval in minutes, as text
  } Timer;

  struct ImageCompressSection {
    int16_t Tif1Compress = 0;
    int16_t Tif2Compress = 0;
    int16_t Tif2Quality = 0;
    int16_t Tif2QualityValue = 0;
    int16_t JpgCompress = 0;
    int16_t JpgQuality = 0;
    int16_t JpgQualityValue = 0;
  } ImageCompress;

  struct MergeSection {
    int16_t Tif = 0;
    int16_t Jpg = 0;
    int16_t KeepDir = 0;
    std::string Grouping;
  } Merge;

  struct SplitSection {
    int16_t FileType = 0;
    int16_t FileNameAutoAdd = 0;
    std::string FileNamePre;
    int16_t FileNameInit = 0;
    int16_t FileNameLength = 0;
    int16_t AddZero = 0;
    std::string FileNamePos;
  } Split;

  struct RenameSection {
    int16_t RFileNameAutoAdd = 0;
    std::string RFileNamePre;
    int16_t RFileNameInit = 0;
    int16_t RFileNameLength = 0;
    int16_t RAddZero = 0;
    std::string RFileNamePos;
  } Rename;

  struct PdfSection {
    int16_t ConvertType = 0;
    int16_t KeepDir = 0;
    int16_t OutputTif = 0;
    std::string Grouping;
    int16_t ImageResolution = 0;
    int16_t PaperSize = 0;
    int16_t OutputOfd = 0;  // 1: an OFD file beside each PDF
  } PDF;

  // The [2PDF] section.
  struct TwoPdfSection {
    int16_t ConvertType = 0;
    int16_t KeepDir = 0;
    int16_t OutputTxt = 0;
    int16_t OutputTif = 0;
    std::string Grouping;
    int16_t PaperSize = 0;
    int16_t TextOutputMode = 0;
    int16_t ImageQuality = 0;
    int16_t ImageResolution = 0;
    int16_t OutputOfd = 0;  // 1: an OFD file beside each PDF
  } TwoPDF;

  struct OcrSection {
    int16_t ConvertType = 0;
    int16_t OutputType = 0;
    int16_t RecognizeMode = 0;
    int16_t KeepTextAndBackgroundColor = 0;
  } OCR;
};

}  // namespace zelk
