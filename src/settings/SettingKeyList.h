#pragma once
// The one list of the sections and keys of ZELK.conf, in the order of the
// shipped file.  It is expanded twice: into the handles that callers name
// keys by (SettingKeys.h) and into the rows of the key table
// (SettingKeys.cpp), so a handle and its row cannot drift apart.
//
// SECTION(id, name): `id` is the section's member of the Settings record,
// `name` its name in the file.
// KEY(section, key, type, default): `key` is both the field of the section
// member and the key's name in the file; `type` is Int (16-bit integer) or
// Text; `default` is the shipped value.  A section's keys stand together.

#define ZELK_SETTING_SECTIONS(SECTION)                  \
  SECTION(Common, "Common")                             \
  SECTION(Timer, "Timer")                               \
  SECTION(ImageCompress, "ImageCompress")               \
  SECTION(Merge, "Merge")                               \
  SECTION(Split, "Split")                               \
  SECTION(Rename, "Rename")                             \
  SECTION(PDF, "PDF")                                   \
  SECTION(TwoPDF, "2PDF")                               \
  SECTION(OCR, "OCR")

#define ZELK_SETTING_KEYS(KEY)                          \
  KEY(Common, ImageSrcDir, Text, "")                    \
  KEY(Common, ConvertDstDir, Text, "")                  \
  KEY(Common, ConvertAction, Int, 1)                    \
  KEY(Common, TimerType, Int, 0)                        \
  KEY(Timer, Timer1, Text, "8:0")                       \
  KEY(Timer, Timer2, Text, "5")                         \
  KEY(ImageCompress, Tif1Compress, Int, 0)              \
  KEY(ImageCompress, Tif2Compress, Int, 1)              \
  KEY(ImageCompress, Tif2Quality, Int, 0)               \
  KEY(ImageCompress, Tif2QualityValue, Int, 75)         \
  KEY(ImageCompress, JpgCompress, Int, 0)               \
  KEY(ImageCompress, JpgQuality, Int, 0)                \
  KEY(ImageCompress, JpgQualityValue, Int, 75)          \
  KEY(Merge, Tif, Int, 1)                               \
  KEY(Merge, Jpg, Int, 1)                               \
  KEY(Merge, KeepDir, Int, 1)                           \
  KEY(Merge, Grouping, Text, "")                        \
  KEY(Split, FileType, Int, 1)                          \
  KEY(Split, FileNameAutoAdd, Int, 1)                   \
  KEY(Split, FileNamePre, Text, "-")                    \
  KEY(Split, FileNameInit, Int, 1)                      \
  KEY(Split, FileNameLength, Int, 4)                    \
  KEY(Split, AddZero, Int, 1)                           \
  KEY(Split, FileNamePos, Text, "")                     \
  KEY(Rename, RFileNameAutoAdd, Int, 1)                 \
  KEY(Rename, RFileNamePre, Text, "-")                  \
  KEY(Rename, RFileNameInit, Int, 1)                    \
  KEY(Rename, RFileNameLength, Int, 4)                  \
  KEY(Rename, RAddZero, Int, 1)                         \
  KEY(Rename, RFileNamePos, Text, "")                   \
  KEY(PDF, ConvertType, Int, 1)                         \
  KEY(PDF, KeepDir, Int, 1)                             \
  KEY(PDF, OutputTif, Int, 0)                           \
  KEY(PDF, OutputOfd, Int, 0)                           \
  KEY(PDF, Grouping, Text, "")                          \
  KEY(PDF, ImageResolution, Int, 0)                     \
  KEY(PDF, PaperSize, Int, 0)                           \
  KEY(TwoPDF, ConvertType, Int, 1)                      \
  KEY(TwoPDF, KeepDir, Int, 1)                          \
  KEY(TwoPDF, OutputTxt, Int, 0)                        \
  KEY(TwoPDF, OutputTif, Int, 0)                        \
  KEY(TwoPDF, OutputOfd, Int, 0)                        \
  KEY(TwoPDF, Grouping, Text, "")                       \
  KEY(TwoPDF, PaperSize, Int, 0)                        \
  KEY(TwoPDF, TextOutputMode, Int, 0)                   \
  KEY(TwoPDF, ImageQuality, Int, 0)                     \
  KEY(TwoPDF, ImageResolution, Int, 0)                  \
  KEY(OCR, ConvertType, Int, 1)                         \
  KEY(OCR, OutputType, Int, 1)                          \
  KEY(OCR, RecognizeMode, Int, 0)                       \
  KEY(OCR, KeepTextAndBackgroundColor, Int, 0)
