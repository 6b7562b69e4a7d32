#pragma once
// Where Tesseract's language data (<code>.traineddata) is looked for.

#include <string>
#include <variant>
#include <vector>

namespace zelk {

// Directories to try, most preferred first: a "tessdata" directory beside
// the executable, the directory TESSDATA_PREFIX names (or its "tessdata"
// subdirectory, the older convention), then Debian's package directories.
std::vector<std::string> DefaultTessdataCandidates();

struct TessdataDirectory {
  std::string path;
};
struct TessdataMissing {
  std::string reason;  // which language data is missing, and where it was looked for
};

// The first candidate that holds the data of every language code; else the
// reason naming what is missing from the first candidate that exists.
std::variant<TessdataDirectory, TessdataMissing> FindTessdata(
    const std::vector<std::string>& candidates, const std::vector<std::string>& languageCodes);

}  // namespace zelk
