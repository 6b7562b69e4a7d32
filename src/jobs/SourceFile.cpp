#include "jobs/SourceFile.h"

#include <stdexcept>

#include "run/RunContext.h"
#include "scan/DirectoryListing.h"

namespace zelk {

const std::string& PageSourceFile(const RunContext& context, std::size_t index) {
  const std::string& path = context.Row(index).Path;
  if (LinkLeavesRoot(path, context.SourceRoot())) throw std::runtime_error(kLinkLeavesSource + path);
  return path;
}

}  // namespace zelk
