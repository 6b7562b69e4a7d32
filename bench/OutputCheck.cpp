#include "OutputCheck.h"

#include "BenchRun.h"

#include <tiffio.h>

#include <cstdio>
#include <filesystem>

namespace zelk::bench {
namespace {

namespace fs = std::filesystem;

// The number of directories of a TIFF file, or -1 when it cannot be read.
int TiffPages(const std::string& path) {
  TIFF* tiff = TIFFOpen(path.c_str(), "rm");  // read, not mapped: only the directories are touched
  if (tiff == nullptr) return -1;
  const int pages = TIFFNumberOfDirectories(tiff);
  TIFFClose(tiff);
  return pages;
}

// Runs `check` in a child and tells whether it held.
bool HoldsInChild(const std::function<bool()>& check) {
  return RunInChild([&] {
           // The check says itself what is wrong.
           TIFFSetWarningHandler(nullptr);
           TIFFSetErrorHandler(nullptr);
           return check() ? 0 : 1;
         })
      .ok;
}

// The first line `command` prints, without its line end; empty when none.
std::string FirstLineOf(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  char line[256] = {};
  const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  std::string text = read ? line : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string Quoted(const std::string& path) {
  std::string quoted = "'";
  for (const char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

bool TiffHoldsPages(const std::string& path, int pages) {
  return HoldsInChild([&] {
    const int found = TiffPages(path);
    if (found == pages) return true;
    std::printf("  ! %s: %d pages expected, %s\n", path.c_str(), pages,
                found < 0 ? "not a readable TIFF" : (std::to_string(found) + " found").c_str());
    return false;
  });
}

bool HoldsSinglePageTiffs(const std::string& dir, int files) {
  return HoldsInChild([&] {
    int found = 0;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(dir, ec)) {
      if (!entry.is_regular_file() || entry.path().extension() != ".tif") continue;
      ++found;
      const int pages = TiffPages(entry.path().string());
      if (pages != 1) {
        std::printf("  ! %s: %d pages instead of one\n", entry.path().c_str(), pages);
        return false;
      }
    }
    if (found == files) return true;
    std::printf("  ! %s: %d page files expected, %d found\n", dir.c_str(), files, found);
    return false;
  });
}

bool PdfHoldsPages(const std::string& path, int pages) {
  // --show-npages reads the cross-reference table and the page tree, and
  // fails on a file where they are damaged; --check would read every
  // stream, which takes longer than some of the runs measured.
  const std::string found = FirstLineOf("qpdf --show-npages " + Quoted(path) + " 2>/dev/null");
  if (found == std::to_string(pages)) return true;
  std::printf("  ! %s: %d pages expected, qpdf counts %s\n", path.c_str(), pages,
              found.empty() ? "none (missing or unreadable)" : found.c_str());
  return false;
}

}  // namespace zelk::bench
