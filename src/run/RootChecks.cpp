#include "run/RootChecks.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Quoting.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

UserMessage RootMessage(const std::string& text, UserMessage::Focus focus) {
  return UserMessage{UserMessage::Icon::Information, text + kTwoIdeographicSpaces, focus};
}

std::optional<UserMessage> SourceProblem(const std::string& root) {
  const auto problem = [](const std::string& text) {
    return RootMessage(text, UserMessage::Focus::SourceDirButton);
  };
  std::error_code error;
  const fs::file_status status = fs::status(root, error);
  if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
    return problem("源目录" + Quoted(root) + "不存在！");
  }
  if (error) return problem("无法读取源目录" + Quoted(root) + "！");
  if (!fs::is_directory(status)) return problem("源目录" + Quoted(root) + "不是目录！");
  // Listing needs read permission, entering the directories below it
  // search permission; checked with the rights the run has.
  if (faccessat(AT_FDCWD, root.c_str(), R_OK | X_OK, AT_EACCESS) != 0) {
    return problem("无法读取源目录" + Quoted(root) + "！");
  }
  return std::nullopt;
}

// Where `path` really is: links resolved as far as the path exists, the
// rest appended, "." and ".." and trailing separators gone.
fs::path RealLocation(const std::string& path) {
  std::error_code error;
  fs::path location = fs::weakly_canonical(path, error);
  if (error) location = fs::absolute(path, error).lexically_normal();
  if (!location.has_filename() && location.has_relative_path()) location = location.parent_path();
  return location;
}

// True when `inner` is `outer` or lies below it; `same` tells which.
bool IsWithin(const fs::path& inner, const fs::path& outer, bool& same) {
  const auto [outerEnd, innerEnd] =
      std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
  same = innerEnd == inner.end();
  return outerEnd == outer.end();
}

}  // namespace

std::optional<UserMessage> CheckRoots(const std::string& sourceRoot,
                                      const std::string& targetRoot) {
  if (auto problem = SourceProblem(sourceRoot)) return problem;
  if (targetRoot.empty()) return std::nullopt;
  bool same = false;
  if (!IsWithin(RealLocation(targetRoot), RealLocation(sourceRoot), same)) return std::nullopt;
  return RootMessage(same ? "输出目录不能与源目录相同！" : "输出目录不能位于源目录之内！",
                     UserMessage::Focus::TargetDirButton);
}

}  // namespace zelk
