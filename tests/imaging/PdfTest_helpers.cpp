#include "PdfTest_helpers.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace zelk::pdftest {
namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::random_device random;
  path_ = fs::temp_directory_path() / ("zelk-pdf-test-" + std::to_string(random()));
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string Quote(const std::string& path) {
  std::string quoted = "'";
  for (char c : path) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

static std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

CommandResult RunCommand(const std::string& command) {
  ScratchDir dir;
  const fs::path out = dir.path() / "out";
  const fs::path err = dir.path() / "err";
  const std::string full =
      command + " >" + Quote(out.string()) + " 2>" + Quote(err.string());
  const int status = std::system(full.c_str());
  CommandResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadText(out);
  result.err = ReadText(err);
  return result;
}

namespace {

Page Wrap(PIX* pix, int dpi) {
  Page page;
  pixSetResolution(pix, dpi, dpi);
  page.pix = PixPtr(pix);
  page.xDpi = page.yDpi = dpi;
  return page;
}

// Value of a pattern of stripes and blocks at (x, y), 0..255.
int Pattern(int x, int y, int channel) {
  return ((x / 7 + y / 11 + channel * 3) % 5) * 50 + ((x * y + channel) % 7);
}

}  // namespace

Page BitonalPage(int width, int height, int dpi) {
  PIX* pix = pixCreate(width, height, 1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool black = ((x / 13) % 3 == 0 && (y / 9) % 2 == 0) || (x + y) % 97 == 0;
      if (black) pixSetPixel(pix, x, y, 1);
    }
  }
  return Wrap(pix, dpi);
}

Page GreyPage(int width, int height, int dpi) {
  PIX* pix = pixCreate(width, height, 8);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixSetPixel(pix, x, y, Pattern(x, y, 0));
  }
  return Wrap(pix, dpi);
}

Page ColourPage(int width, int height, int dpi) {
  PIX* pix = pixCreate(width, height, 32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      l_uint32 value = 0;
      composeRGBPixel(Pattern(x, y, 0), Pattern(x, y, 1), Pattern(x, y, 2), &value);
      pixSetPixel(pix, x, y, value);
    }
  }
  return Wrap(pix, dpi);
}

Page PalettePage(int width, int height, int dpi, bool withColour) {
  PIX* pix = pixCreate(width, height, 8);
  PIXCMAP* cmap = pixcmapCreate(8);
  for (int i = 0; i < 4; ++i) {
    const int v = i * 80;
    if (withColour) pixcmapAddColor(cmap, v, 255 - v, (v * 3) % 256);
    else pixcmapAddColor(cmap, v, v, v);
  }
  pixSetColormap(pix, cmap);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixSetPixel(pix, x, y, (x / 10 + y / 10) % 4);
  }
  return Wrap(pix, dpi);
}

Page WhitePage(int width, int height, int dpi) {
  PIX* pix = pixCreate(width, height, 8);
  pixSetAllArbitrary(pix, 255);
  return Wrap(pix, dpi);
}

std::vector<ListedImage> ListImages(const std::string& pdf) {
  const CommandResult listed = RunCommand("pdfimages -list " + Quote(pdf));
  std::vector<ListedImage> images;
  std::istringstream lines(listed.out);
  std::string line;
  int row = 0;
  while (std::getline(lines, line)) {
    if (row++ < 2) continue;  // heading and rule
    std::istringstream fields(line);
    ListedImage image;
    std::string type, interp, object, id, size, ratio, comp;
    fields >> image.page >> object >> type >> image.width >> image.height >> image.color >>
        comp >> image.bpc >> image.enc >> interp >> object >> id >> image.xPpi >> image.yPpi;
    if (fields) images.push_back(image);
  }
  return images;
}

std::vector<PdfPageSize> PageSizes(const std::string& pdf) {
  const CommandResult info = RunCommand("pdfinfo -f 1 -l 100000 " + Quote(pdf));
  std::vector<PdfPageSize> sizes;
  std::istringstream lines(info.out);
  std::string line;
  while (std::getline(lines, line)) {
    // "Page    1 size: 595.28 x 841.89 pts (A4)"
    if (line.rfind("Page ", 0) != 0 || line.find(" size: ") == std::string::npos) continue;
    std::istringstream fields(line.substr(line.find(" size: ") + 7));
    PdfPageSize size;
    std::string x;
    fields >> size.width >> x >> size.height;
    sizes.push_back(size);
  }
  return sizes;
}

bool QpdfCheckClean(const std::string& pdf, std::string* report) {
  const CommandResult check = RunCommand("qpdf --check " + Quote(pdf));
  if (report) *report = check.out + check.err;
  return check.exitCode == 0 && check.err.empty() &&
         check.out.find("No syntax or stream encoding errors found") != std::string::npos;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace zelk::pdftest
