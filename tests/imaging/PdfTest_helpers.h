#pragma once
// Helpers for the PDF writer tests: pages made in memory, a scratch
// directory, and the command-line readers (qpdf, poppler-utils) whose
// verdict the tests check.

#include "imaging/Page.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zelk::pdftest {

// A fresh directory, removed with everything in it at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

struct CommandResult {
  int exitCode = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};
CommandResult RunCommand(const std::string& command);
std::string Quote(const std::string& path);

// Pages with some structure (bars and blocks), deterministic.
Page BitonalPage(int width, int height, int dpi);
Page GreyPage(int width, int height, int dpi);
Page ColourPage(int width, int height, int dpi);
Page PalettePage(int width, int height, int dpi, bool withColour);
Page WhitePage(int width, int height, int dpi);

// One row of `pdfimages -list`.
struct ListedImage {
  int page = 0;
  int width = 0;
  int height = 0;
  std::string color;  // gray, rgb, ...
  int bpc = 0;
  std::string enc;    // image, jpeg, ccitt, ...
  double xPpi = 0;
  double yPpi = 0;
};
std::vector<ListedImage> ListImages(const std::string& pdf);

struct PdfPageSize {
  double width = 0;
  double height = 0;
};
// Page sizes in points as pdfinfo reports them, one per page.
std::vector<PdfPageSize> PageSizes(const std::string& pdf);

// `qpdf --check` passes without warnings.
bool QpdfCheckClean(const std::string& pdf, std::string* report = nullptr);

std::vector<uint8_t> ReadBytes(const std::string& path);

}  // namespace zelk::pdftest
