#include "SourceTrees.h"

#include <tiffio.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "imaging/Toolkit_helpers.h"
#include "run/ResultLog.h"
#include "settings/SettingsFile.h"
#include "support/TempDir.h"

namespace zelk::batchtest {

namespace fs = std::filesystem;

namespace {

constexpr int kDpi = 300;

void MakeParent(const std::string& path) { fs::create_directories(fs::path(path).parent_path()); }

// `number` with leading zeros to `width` digits.
std::string Padded(int number, std::size_t width) {
  const std::string digits = std::to_string(number);
  return std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
}

}  // namespace

void WriteBitonalTiff(const std::string& path, int pages, unsigned seed) {
  MakeParent(path);
  toolkittest::TiffSource how;
  how.compression = COMPRESSION_CCITTFAX4;
  how.photometric = PHOTOMETRIC_MINISWHITE;
  how.dpi = kDpi;
  for (int page = 0; page < pages; ++page) {
    const PixPtr pix = toolkittest::BitonalPix(kPageWidth, kPageHeight, seed * 7919u + page);
    toolkittest::WriteTiffPage(path, pix.get(), how, page > 0);
  }
}

void WriteGreyJpeg(const std::string& path, unsigned seed) {
  MakeParent(path);
  const PixPtr bitonal = toolkittest::BitonalPix(kPageWidth, kPageHeight, seed);
  const PixPtr grey(pixConvert1To8(nullptr, bitonal.get(), 235, 30));
  if (!grey) throw std::runtime_error("cannot make a grey page for " + path);
  toolkittest::WriteJpeg(path, grey.get(), 75, kDpi);
}

void WritePageDirectory(const std::string& directory, int pages, unsigned seed) {
  for (int page = 1; page <= pages; ++page) {
    const std::string name = directory + "/p" + Padded(page, 2);
    if (page % 4 == 0) {
      WriteGreyJpeg(name + ".jpg", seed + page);
    } else {
      WriteBitonalTiff(name + ".tif", 1, seed + page);
    }
  }
}

void WriteDistinctPageCopies(const std::string& directory, int files, unsigned seed) {
  const std::string tiff = directory + "/p" + Padded(1, 3) + ".tif";
  const std::string jpeg = directory + "/p" + Padded(10, 3) + ".jpg";
  WriteBitonalTiff(tiff, 1, seed);
  WriteGreyJpeg(jpeg, seed);
  const std::string tiffBytes = test::ReadBytes(tiff);
  const std::string jpegBytes = test::ReadBytes(jpeg);
  for (int file = 1; file <= files; ++file) {
    const bool isJpeg = file % 10 == 0;
    const std::string path =
        directory + "/p" + Padded(file, 3) + (isJpeg ? ".jpg" : ".tif");
    test::WriteBytes(path, (isJpeg ? jpegBytes : tiffBytes) + "#" + std::to_string(file));
  }
  if (files < 10) fs::remove(jpeg);
}

ProgramDirectory::ProgramDirectory(std::string path, const std::vector<SettingLine>& settings)
    : path_(std::move(path)) {
  fs::create_directories(path_);
  test::WriteBytes(SettingsFile(), DefaultSettingsFileText());
  for (const SettingLine& line : settings) {
    if (!WriteIniString(SettingsFile(), line.Section, line.Key, line.Value)) {
      throw std::runtime_error("cannot write [" + line.Section + "] " + line.Key);
    }
  }
}

std::vector<std::string> ProgramDirectory::SuccessListLines(const Shard& shard) const {
  std::vector<fs::path> lists;
  const fs::path logs = fs::path(path_) / "Logs";
  const std::string ending = ShardListName("-成功.txt", shard);
  if (fs::is_directory(logs)) {
    for (const auto& entry : fs::directory_iterator(logs)) {
      if (entry.path().filename().string().ends_with(ending)) lists.push_back(entry.path());
    }
  }
  std::sort(lists.begin(), lists.end());
  std::vector<std::string> lines;
  for (const fs::path& list : lists) {
    std::ifstream in(list, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
  }
  return lines;
}

}  // namespace zelk::batchtest
