#include "imaging/Page.h"
#include "imaging/TiffFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <tiffio.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace zelk {
namespace {

using test::TempDir;

constexpr uint32_t kSide = 16;

// Tags and rows of a small grey page; libtiff keeps the rows in its buffer
// until the directory is written or the handle flushed.
void WritePendingPage(const TiffFile& file) {
  TIFF* tif = file.get();
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSide);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSide);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kSide);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  std::vector<uint8_t> row(kSide, 0x80);
  for (uint32_t y = 0; y < kSide; ++y) ASSERT_EQ(TIFFWriteScanline(tif, row.data(), y, 0), 1);
}

// Closes `file` while the file may grow no further than it already has,
// so the page libtiff still holds cannot be written; the failure message,
// or "" when Close() succeeded.
std::string CloseWithoutRoom(TiffFile& file) {
  rlimit saved{};
  EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = std::filesystem::file_size(file.path());
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::string failure;
  try {
    file.Close();
  } catch (const ImageError& e) {
    failure = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  return failure;
}

// A write error that only shows when the handle is closed is a failure,
// never a page written: the close throws and the writes are taken back.
TEST(TiffFile, AWriteFailingAtCloseThrowsAndTakesTheWritesBack) {
  TempDir dir;
  const std::string created = dir.File("new.tif");
  {
    TiffFile file(created, "wm");
    WritePendingPage(file);
    const std::string failure = CloseWithoutRoom(file);
    EXPECT_NE(failure.find("cannot finish writing"), std::string::npos) << failure;
  }
  EXPECT_FALSE(std::filesystem::exists(created));

  const std::string appended = dir.File("old.tif");
  {
    TiffFile file(appended, "wm");
    WritePendingPage(file);
    file.Close();
  }
  const std::string before = test::ReadBytes(appended);
  for (const bool dataWritten : {false, true}) {
    {
      TiffFile file(appended, "am");
      WritePendingPage(file);
      // With the rows on disk only the directory is left: libtiff links it
      // from the last directory (in place) before it fails to write it.
      if (dataWritten) {
        ASSERT_TRUE(TIFFFlushData(file.get()));
      }
      EXPECT_NE(CloseWithoutRoom(file), "");
    }
    EXPECT_EQ(test::ReadBytes(appended), before) << "rows written before: " << dataWritten;
  }
}

// A memory file hands out its bytes only after a successful close, and
// they read back as the page written.
TEST(TiffFile, AMemoryFileGivesItsBytesOnceClosed) {
  TiffFile writer(TiffFile::InMemory{}, "w");
  WritePendingPage(writer);
  EXPECT_TRUE(writer.TakeBytes().empty()) << "not yet closed";
  writer.Close();
  std::vector<uint8_t> bytes = writer.TakeBytes();
  ASSERT_FALSE(bytes.empty());

  TiffFile reader(TiffFile::InMemory{std::move(bytes)}, "r");
  uint32_t width = 0;
  ASSERT_TRUE(TIFFGetField(reader.get(), TIFFTAG_IMAGEWIDTH, &width));
  EXPECT_EQ(width, kSide);

  try {
    TiffFile notTiff(TiffFile::InMemory{{'n', 'o', 't', ' ', 'T', 'I', 'F', 'F'}}, "r");
    ADD_FAILURE() << "read as TIFF";
  } catch (const ImageError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("cannot read as TIFF", 0), 0u) << e.what();
  }
}

}  // namespace
}  // namespace zelk
