#pragma once
// Running the real image jobs through the run frame on temporary trees,
// with source images written by the libraries directly and outputs read
// back through libtiff, never through the program's own reader.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "run/JobId.h"
#include "run/RunFrame.h"
#include "settings/Settings.h"
#include "support/FakeClock.h"
#include "support/FileTree.h"
#include "support/RecordingObserver.h"
#include "support/TempDir.h"

namespace zelk::test {

// A source page: its size, its depth (1 bitonal, 8 grey, 24 colour) and
// its resolution (0 writes none).
struct SourcePage {
  int Width = 40;
  int Height = 30;
  int Bits = 8;
  int Dpi = 200;
  unsigned Shade = 0;    // the grey or colour pages' sample value
  bool Corrupt = false;  // bitonal only: G4 data that cannot be decoded
};

// A TIFF of the given pages (bitonal pages G4, others uncompressed).
void WriteTiff(const std::string& path, const std::vector<SourcePage>& pages);
// A single-page colour JPEG.
void WriteColourJpeg(const std::string& path, int width, int height, int dpi);

// What libtiff reports about one page of an output.
struct TiffPageInfo {
  uint32_t Width = 0, Height = 0;
  uint16_t Bits = 0, Samples = 0, Compression = 0;
  float XDpi = 0, YDpi = 0;
};
// Every page of a TIFF; empty when libtiff cannot open it.
std::vector<TiffPageInfo> ReadTiffInfo(const std::string& path);
// The widths of the pages, in order (the tests give pages distinct widths).
std::vector<uint32_t> PageWidths(const std::string& path);

// The committed grouping workbooks.
std::string Fixture(const std::string& name);

class JobRunTest : public ::testing::Test {
 protected:
  void SetUp() override;

  std::string In(const std::string& relative) const { return in_ + "/" + relative; }
  std::string Out(const std::string& relative) const { return out_ + "/" + relative; }
  std::string SuccessList() const;
  std::string FailureList() const;

  // Runs the registered job through the frame; `target` "-" runs without
  // an output directory.
  RunResult Run(JobId id, const std::string& target = {});

  // Called with every status of the runs (RecordingObserver::StatusHook).
  std::function<void(const std::string&)> onStatus_;
  // The runs' flags: a status hook may ask for a stop.
  RunControl control_;

  TempDir dir_;
  std::string in_ = dir_.File("in");
  std::string out_ = dir_.File("out");
  Settings settings_;
  FakeClock clock_{At(2026, 3, 7, 9, 5, 0)};
  RecordingObserver observer_;
};

}  // namespace zelk::test
