// zelk-fuzz-seeds <directory>: writes a seed corpus for every fuzz target
// into <directory>/<target>/: pages written by the project's own TIFF and
// JPEG writers and by Leptonica's BMP writer, the shipped settings file, a
// rename journal, an owner text, shard record lines, the .xls reader's rows
// and the workbook fixtures of the tests.

#include "filesafety/ProcessOwner.h"
#include "imaging/JpegWriter.h"
#include "imaging/SaveFormat.h"
#include "imaging/TiffWriter.h"
#include "jobs/RenameJournal.h"
#include "run/ShardRecord.h"
#include "settings/SettingsFile.h"
#include "workbook/SheetRowCodec.h"

#include <allheaders.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace zelk;

namespace {

void Write(const fs::path& directory, const std::string& name, const std::string& bytes) {
  fs::create_directories(directory);
  std::ofstream(directory / name, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A small page with some structure, at `depth` bits (1, 8 or 32).
Page SmallPage(int depth) {
  PIX* pix = pixCreate(48, 32, depth);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) {
      const unsigned v = static_cast<unsigned>((x * 7 + y * 13) % 256);
      pixSetPixel(pix, x, y, depth == 1 ? (x / 4 + y / 4) % 2 : depth == 8 ? v : v << 24 | v << 8);
    }
  }
  Page page;
  page.pix = PixPtr(pix);
  page.xDpi = page.yDpi = 300;
  page.width = 48;
  page.height = 32;
  page.depth = depth;
  return page;
}

void ImageSeeds(const fs::path& root) {
  struct Tiff {
    int depth, code, bits;
  };
  int n = 0;
  const fs::path scratch = root / "scratch";
  fs::create_directories(scratch);
  for (const Tiff& t : {Tiff{1, kTiffCcittG4, 1}, Tiff{1, kTiffCcittG3TwoD, 1},
                        Tiff{1, kTiffCcittRle, 1}, Tiff{8, kTiffLzw, 8}, Tiff{8, kTiffJpeg444, 8},
                        Tiff{32, kTiffJpeg422, 24}, Tiff{32, kTiffUncompressed, 24}}) {
    const fs::path path = scratch / ("page" + std::to_string(n) + ".tif");
    SaveTiffPage(SmallPage(t.depth), path.string(), {t.code, t.bits, 130}, false);
    Write(root / "TiffStrips", "seed-" + std::to_string(n++), ReadFile(path));
  }
  for (const int depth : {8, 32}) {
    const fs::path path = scratch / ("page" + std::to_string(depth) + ".jpg");
    SaveJpegPage(SmallPage(depth), path.string(), {kJpeg422, depth == 8 ? 8 : 24, 130}, false);
    Write(root / "JpegStreamInfo", "seed-" + std::to_string(depth), ReadFile(path));
  }
  for (const int depth : {1, 8, 32}) {
    l_uint8* bytes = nullptr;
    size_t size = 0;
    if (pixWriteMemBmp(&bytes, &size, SmallPage(depth).pix.get()) == 0) {
      Write(root / "BmpReader", "seed-" + std::to_string(depth),
            std::string(reinterpret_cast<const char*>(bytes), size));
    }
    lept_free(bytes);
  }
  fs::remove_all(scratch);
}

void RecordSeeds(const fs::path& root) {
  Write(root / "IniDocument", "seed-shipped", DefaultSettingsFileText());
  RenameJournal journal;
  journal.Owner = DescribeOwner(ThisProcess());
  journal.Entries = {{"a.tif", ".zr-1", "0001.tif"}, {"b\nc.tif", ".zr-2", "0002.tif"}};
  Write(root / "RenameJournal", "seed-0",
        EncodeRenameJournal(journal) + EncodeRenamePhase(RenamePhase::ToNew));
  Write(root / "ClaimFile", "seed-owner", DescribeOwner(ThisProcess()));
  Write(root / "ClaimFile", "seed-token", OwnerToken(ThisProcess()));
  ShardRunLine line{1772874300, "node07", 4711, "1234_3", std::nullopt};
  Write(root / "ShardRecord", "seed-start", ShardRecordLine(line));
  line.End = ShardRunEnd{1772874365, ShardRunOutcome::Finished, 12, 1, 240};
  Write(root / "ShardRecord", "seed-end", ShardRecordLine(line));
  Write(root / "SheetRowCodec", "seed-0",
        EncodeSheetRows({{"key", "名称", "3"}, {"", "b\tc", "12"}}));
  for (const auto& entry : fs::directory_iterator(ZELK_WORKBOOK_FIXTURES)) {
    if (entry.path().extension() == ".xlsx") {
      Write(root / "XlsxReader", entry.path().filename().string(), ReadFile(entry.path()));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
    return 2;
  }
  ImageSeeds(argv[1]);
  RecordSeeds(argv[1]);
  return 0;
}
