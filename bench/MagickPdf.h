#pragma once
// ImageMagick's convert writing a PDF, as the benches compare against it.
// Debian's ImageMagick policy forbids the "PDF" coder and caps the pixel
// cache at 1 GiB of disk; convert writes through the "PDFA" coder (the
// same PDF writer) and reads a policy with raised limits, for its own
// process only.

#include "BenchRun.h"

#include <string>
#include <vector>

namespace zelk::bench {

// Writes the policy with raised limits into `dir` and returns the setup
// that makes convert read it.
ProgramSetup MagickSetup(const std::string& dir);

// convert <inputs...> <options...> PDFA:<output>
std::vector<std::string> ConvertToPdf(const std::vector<std::string>& inputs,
                                      const std::vector<std::string>& options,
                                      const std::string& output);

}  // namespace zelk::bench
