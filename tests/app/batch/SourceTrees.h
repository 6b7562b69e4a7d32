#pragma once
// Source trees and program directories for the tests that run zelk-batch as
// a child process: small pages written with libtiff and Leptonica, leaf
// directories of them, and a ZELK.conf with the keys a case sets.

#include <string>
#include <utility>
#include <vector>

#include "scan/Shard.h"

namespace zelk::batchtest {

// Pages are 200 x 300 pixels at 300 dpi: small enough that a run of a few
// dozen takes well under a second, large enough to be real scans in shape.
inline constexpr int kPageWidth = 200;
inline constexpr int kPageHeight = 300;

// A one-bit CCITT G4 TIFF of `pages` pages, each drawn from `seed` and its
// page number.
void WriteBitonalTiff(const std::string& path, int pages, unsigned seed);
// A grey JPEG page drawn from `seed`.
void WriteGreyJpeg(const std::string& path, unsigned seed);

// One leaf directory of `pages` single-page files ("p01.tif", ...): every
// fourth page a grey JPEG, the others one-bit TIFFs.
void WritePageDirectory(const std::string& directory, int pages, unsigned seed);

// A leaf directory of `files` page files ("p001.tif", ...) whose bytes all
// differ, for jobs that move files rather than read them: copies of one
// one-bit TIFF page and (every tenth file) one grey JPEG page, each with
// its own number appended after the image data, where readers do not look.
void WriteDistinctPageCopies(const std::string& directory, int files, unsigned seed);

// A settings key: section, key, value.
struct SettingLine {
  std::string Section;
  std::string Key;
  std::string Value;
};

// A program directory of its own: ZELK.conf with the shipped defaults and
// the given keys; the run's Logs go beside it.
class ProgramDirectory {
 public:
  ProgramDirectory(std::string path, const std::vector<SettingLine>& settings);

  const std::string& Path() const { return path_; }
  std::string SettingsFile() const { return path_ + "/ZELK.conf"; }
  // What the runs printed, all of them appended.
  std::string OutputFile() const { return path_ + "/printed.txt"; }
  // The lines of every success list in Logs that a run of `shard` writes
  // (the whole tree's by default), in file name order.
  std::vector<std::string> SuccessListLines(const Shard& shard = {}) const;

 private:
  std::string path_;
};

}  // namespace zelk::batchtest
