#include "MagickPdf.h"

#include <filesystem>
#include <fstream>

namespace zelk::bench {
namespace {

// convert's pixel cache holds every page (some 70 MB each at 16 bits per
// sample) before the first is written.
constexpr const char* kMagickPolicy = R"(<?xml version="1.0" encoding="UTF-8"?>
<policymap>
  <policy domain="resource" name="memory" value="2GiB"/>
  <policy domain="resource" name="map" value="4GiB"/>
  <policy domain="resource" name="disk" value="64GiB"/>
</policymap>
)";

}  // namespace

ProgramSetup MagickSetup(const std::string& dir) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/policy.xml") << kMagickPolicy;
  return {{"MAGICK_CONFIGURE_PATH=" + dir}, ""};
}

std::vector<std::string> ConvertToPdf(const std::vector<std::string>& inputs,
                                      const std::vector<std::string>& options,
                                      const std::string& output) {
  // Debian's convert (ImageMagick 6), whose policy MagickSetup raises.
  std::vector<std::string> argv = {"/usr/bin/convert"};
  argv.insert(argv.end(), inputs.begin(), inputs.end());
  argv.insert(argv.end(), options.begin(), options.end());
  argv.push_back("PDFA:" + output);
  return argv;
}

}  // namespace zelk::bench
