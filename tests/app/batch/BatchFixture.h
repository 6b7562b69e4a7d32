#pragma once
// What the tests that run the zelk-batch program share: a program
// directory with a settings file whose roots are in/ and out/ of a fresh
// temporary directory, and the page count of a TIFF output.

#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <string>

#include "settings/SettingsFile.h"
#include "support/TempDir.h"

namespace zelk::test {

// The pages of a TIFF file; -1 when it cannot be opened.
inline int TiffPageCount(const std::string& path) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr) return -1;
  const int count = TIFFNumberOfDirectories(tif);
  TIFFClose(tif);
  return count;
}

class BatchFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.File("program"));
    WriteBytes(conf_, DefaultSettingsFileText());
    Set("Common", "ImageSrcDir", in_);
    Set("Common", "ConvertDstDir", out_);
  }

  void Set(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WriteIniString(conf_, section, key, value));
  }

  TempDir dir_;
  std::string conf_ = dir_.File("program/ZELK.conf");
  std::string in_ = dir_.File("in");
  std::string out_ = dir_.File("out");
};

}  // namespace zelk::test
