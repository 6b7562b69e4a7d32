#include "scan/MirroredPath.h"

#include "platform/PathSeparator.h"

namespace zelk {

std::string NormalizeRoot(const std::string& root) {
  const std::size_t last = root.find_last_not_of(kPathSeparator);
  if (last == std::string::npos) return root.empty() ? root : std::string(1, kPathSeparator);
  return root.substr(0, last + 1);
}

std::string RelativePart(const std::string& path, const std::string& sourceRoot) {
  if (sourceRoot.size() == 1 && sourceRoot.front() == kPathSeparator) {
    return path.size() <= 1 ? std::string() : path;
  }
  return sourceRoot.size() < path.size() ? path.substr(sourceRoot.size()) : std::string();
}

std::string MirrorPath(const std::string& path, const std::string& sourceRoot,
                       const std::string& targetRoot) {
  const std::string relative = RelativePart(path, sourceRoot);
  if (!relative.empty() && !targetRoot.empty() && targetRoot.back() == kPathSeparator) {
    return targetRoot + relative.substr(1);
  }
  return targetRoot + relative;
}

}  // namespace zelk
