#include "jobs/JobRun_helpers.h"

#include <leptonica/allheaders.h>
#include <tiffio.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "jobs/JobCatalog.h"
#include "run/JobRegistry.h"
#include "settings/SettingsFile.h"
#include "support/PortablePlaces.h"

namespace zelk::test {
namespace fs = std::filesystem;

namespace {

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

// A bitonal page of black bars in MSB-first rows, 0 = white.
std::vector<uint8_t> BitonalRows(const SourcePage& page) {
  const int stride = (page.Width + 7) / 8;
  std::vector<uint8_t> rows(static_cast<std::size_t>(stride * page.Height), 0);
  for (int y = 0; y < page.Height; y += 4) {
    for (int x = 0; x < stride; ++x) rows[static_cast<std::size_t>(y * stride + x)] = 0xF0;
  }
  return rows;
}

}  // namespace

void WriteTiff(const std::string& path, const std::vector<SourcePage>& pages) {
  fs::create_directories(fs::path(path).parent_path());
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  Check(tif != nullptr, "cannot create " + path);
  for (const SourcePage& page : pages) {
    const bool bitonal = page.Bits == 1;
    const int samples = page.Bits == 24 ? 3 : 1;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(page.Width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(page.Height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(bitonal ? 1 : 8));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(samples));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
                 bitonal ? PHOTOMETRIC_MINISWHITE
                         : (samples == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, bitonal ? COMPRESSION_CCITTFAX4 : COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(page.Height));
    if (page.Dpi > 0) {
      TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(page.Dpi));
      TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(page.Dpi));
      TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    std::vector<uint8_t> data;
    if (bitonal && page.Corrupt) {
      data.assign(64, 0x00);  // runs of zero bits are no valid G4 code
      Check(TIFFWriteRawStrip(tif, 0, data.data(), static_cast<tmsize_t>(data.size())) >= 0,
            "cannot write a page of " + path);
      Check(TIFFWriteDirectory(tif) == 1, "cannot finish a page of " + path);
      continue;
    }
    if (bitonal) {
      data = BitonalRows(page);
    } else {
      data.assign(static_cast<std::size_t>(page.Width * page.Height * samples),
                  static_cast<uint8_t>(page.Shade));
    }
    Check(TIFFWriteEncodedStrip(tif, 0, data.data(), static_cast<tmsize_t>(data.size())) >= 0,
          "cannot write a page of " + path);
    Check(TIFFWriteDirectory(tif) == 1, "cannot finish a page of " + path);
  }
  TIFFClose(tif);
}

void WriteColourJpeg(const std::string& path, int width, int height, int dpi) {
  fs::create_directories(fs::path(path).parent_path());
  PIX* pix = pixCreate(width, height, 32);
  pixSetAllArbitrary(pix, 0x80402000);
  pixSetResolution(pix, dpi, dpi);
  const int failed = pixWrite(path.c_str(), pix, IFF_JFIF_JPEG);
  pixDestroy(&pix);
  Check(failed == 0, "cannot write " + path);
}

std::vector<TiffPageInfo> ReadTiffInfo(const std::string& path) {
  std::vector<TiffPageInfo> pages;
  TIFFSetWarningHandler(nullptr);
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr) return pages;
  do {
    TiffPageInfo info;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &info.Width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &info.Height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &info.Bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &info.Samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &info.Compression);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &info.XDpi);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &info.YDpi);
    pages.push_back(info);
  } while (TIFFReadDirectory(tif) == 1);
  TIFFClose(tif);
  return pages;
}

std::vector<uint32_t> PageWidths(const std::string& path) {
  std::vector<uint32_t> widths;
  for (const TiffPageInfo& page : ReadTiffInfo(path)) widths.push_back(page.Width);
  return widths;
}

std::string Fixture(const std::string& name) {
  return (fs::path(__FILE__).parent_path() / "fixtures" / name).string();
}

void JobRunTest::SetUp() {
  UseUtc();
  WriteBytes(dir_.File("ZELK.conf"), DefaultSettingsFileText());
  ASSERT_TRUE(LoadSettings(dir_.Path().string(), settings_));
  fs::create_directories(in_);
}

std::string JobRunTest::SuccessList() const {
  return ReadBytes(dir_.File("Logs/2026年03月07日-成功.txt"));
}

std::string JobRunTest::FailureList() const {
  return ReadBytes(dir_.File("Logs/2026年03月07日-失败.txt"));
}

RunResult JobRunTest::Run(JobId id, const std::string& target) {
  JobRegistry registry;
  RegisterBuiltInJobs(registry);
  const std::unique_ptr<Job> job = registry.Create(id);
  if (!job) throw std::runtime_error("job not registered");
  RunRequest request;
  request.RunSettings = settings_;
  request.SourceDir = in_;
  request.TargetDir = target.empty() ? out_ : (target == "-" ? std::string() : target);
  request.LogsDir = test::PortablePlacesIn(dir_.Path()).LogsDir;
  request.TimeSource = &clock_;
  observer_ = RecordingObserver();
  observer_.StatusHook = onStatus_;
  control_.BeginRun();
  return RunJob(*job, request, observer_, control_);
}

}  // namespace zelk::test
