#include "OutputChecks.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <filesystem>
#include <optional>
#include <vector>

#include "filesafety/ItemClaim.h"
#include "filesafety/ProcessOwner.h"
#include "imaging/PdfTest_helpers.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk::batchtest {

namespace fs = std::filesystem;

namespace {

// Whether libtiff reported an error since the flag was last cleared: a
// directory chain cut short reads as fewer pages with no other sign.
bool g_tiffErrorSeen = false;

extern "C" void NoteTiffError(const char*, const char*, va_list) { g_tiffErrorSeen = true; }

// Decodes every strip or tile of the current directory.
bool DirectoryDecodes(TIFF* tif) {
  if (TIFFIsTiled(tif)) {
    std::vector<unsigned char> tile(static_cast<std::size_t>(TIFFTileSize(tif)));
    for (uint32_t t = 0; t < TIFFNumberOfTiles(tif); ++t) {
      if (TIFFReadEncodedTile(tif, t, tile.data(), static_cast<tmsize_t>(tile.size())) < 0) {
        return false;
      }
    }
    return true;
  }
  std::vector<unsigned char> strip(static_cast<std::size_t>(TIFFStripSize(tif)));
  if (strip.empty()) return false;
  for (uint32_t s = 0; s < TIFFNumberOfStrips(tif); ++s) {
    if (TIFFReadEncodedStrip(tif, s, strip.data(), static_cast<tmsize_t>(strip.size())) < 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

int WholeTiffPages(const std::string& path) {
  g_tiffErrorSeen = false;
  const TIFFErrorHandler previous = TIFFSetErrorHandler(NoteTiffError);
  int count = -1;
  if (TIFF* tif = TIFFOpen(path.c_str(), "r")) {
    count = TIFFNumberOfDirectories(tif);
    bool whole = count > 0;
    for (int page = 0; whole && page < count; ++page) {
      whole = TIFFSetDirectory(tif, static_cast<tdir_t>(page)) == 1 && DirectoryDecodes(tif);
    }
    TIFFClose(tif);
    if (!whole) count = -1;
  }
  TIFFSetErrorHandler(previous);
  return g_tiffErrorSeen ? -1 : count;
}

int WholePdfPages(const std::string& path) {
  const std::string quoted = pdftest::Quote(path);
  if (pdftest::RunCommand("qpdf --check " + quoted).exitCode != 0) return -1;
  const pdftest::CommandResult pages = pdftest::RunCommand("qpdf --show-npages " + quoted);
  if (pages.exitCode != 0) return -1;
  try {
    return std::stoi(pages.out);
  } catch (const std::exception&) {
    return -1;
  }
}

int WholeDocumentPages(const std::string& path) {
  const std::string extension = fs::path(path).extension().string();
  if (extension == ".tif") return WholeTiffPages(path);
  if (extension == ".pdf") return WholePdfPages(path);
  return -1;
}

std::map<std::string, int> DocumentPages(const std::string& root) {
  return DocumentReader().PagesBelow(root);
}

std::map<std::string, int> DocumentReader::PagesBelow(const std::string& root) {
  std::map<std::string, int> pages;
  if (!fs::exists(root)) return pages;
  for (auto entry = fs::recursive_directory_iterator(root); entry != fs::end(entry); ++entry) {
    if (IsWorkingFileName(entry->path().filename().string())) {
      entry.disable_recursion_pending();
      continue;
    }
    if (!entry->is_regular_file()) continue;
    const std::string path = entry->path().string();
    Seen now{entry->file_size(), entry->last_write_time(), -1};
    const auto before = seen_.find(path);
    if (before != seen_.end() && before->second.Size == now.Size &&
        before->second.Modified == now.Modified) {
      now.Pages = before->second.Pages;
    } else {
      now.Pages = WholeDocumentPages(path);
      seen_[path] = now;
    }
    pages[fs::relative(entry->path(), root).string()] = now.Pages;
  }
  return pages;
}

bool IsWorkingFileName(const std::string& name) {
  return name.find(".zelk-") != std::string::npos || name.find("claim") != std::string::npos;
}

std::vector<std::string> LeftoverWorkingFilesButDeadClaims(const std::string& root) {
  std::vector<std::string> left = LeftoverWorkingFiles(root);
  std::erase_if(left, [](const std::string& described) {
    const std::size_t holding = described.find(" holding \"");
    if (holding == std::string::npos) return false;
    const std::string name = fs::path(described.substr(0, holding)).filename().string();
    const std::optional<ProcessOwner> owner =
        ParseOwner(described.substr(holding + 10, described.size() - holding - 11));
    return IsClaimFile(name) && owner && StateOf(*owner) == OwnerState::Gone;
  });
  return left;
}

std::vector<std::string> LeftoverWorkingFiles(const std::string& root) {
  std::vector<std::string> left;
  if (!fs::exists(root)) return left;
  for (auto entry = fs::recursive_directory_iterator(root); entry != fs::end(entry); ++entry) {
    if (!IsWorkingFileName(entry->path().filename().string())) continue;
    std::string described = fs::relative(entry->path(), root).string();
    if (entry->is_directory()) {
      described += "/ with " + std::to_string(test::TreeOf(entry->path()).size()) + " entries";
      entry.disable_recursion_pending();
    } else if (entry->is_regular_file() && entry->file_size() <= 200) {
      // A claim's few bytes say whose it was.
      described += " holding \"" + test::ReadBytes(entry->path()) + "\"";
    }
    left.push_back(described);
  }
  std::sort(left.begin(), left.end());
  return left;
}

std::vector<std::string> TreeWithoutWorkingFiles(const std::string& root) {
  std::vector<std::string> tree;
  for (const std::string& entry : test::TreeOf(root)) {
    bool working = false;
    for (const fs::path& part : fs::path(entry)) working = working || IsWorkingFileName(part.string());
    if (!working) tree.push_back(entry);
  }
  return tree;
}

std::map<std::string, int> ItemLineCounts(const std::vector<std::string>& lines,
                                          const std::vector<std::string>& items) {
  std::map<std::string, int> counts;
  for (const std::string& item : items) counts[item] = 0;
  for (const std::string& line : lines) {
    if (const auto found = counts.find(line); found != counts.end()) ++found->second;
  }
  return counts;
}

}  // namespace zelk::batchtest
