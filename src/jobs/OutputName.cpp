#include "jobs/OutputName.h"

#include "platform/PathSeparator.h"
#include "platform/Quoting.h"
#include "run/ResultLog.h"

namespace zelk {
namespace {

// The longest file name, in bytes, the usual Linux file systems accept.
constexpr std::size_t kMaxFileNameBytes = 255;

}  // namespace

std::string OutputNameProblem(std::string_view name) {
  if (name.empty()) return "输出文件名为空";
  if (name == "." || name == "..") return "输出文件名" + Quoted(name) + "不能用作文件名";
  if (name.find('/') != std::string_view::npos) {
    return "输出文件名" + Quoted(name) + "含有路径分隔符";
  }
  if (name.find('\0') != std::string_view::npos) return "输出文件名含有空字符";
  if (name.size() > kMaxFileNameBytes) return "输出文件名" + Quoted(name) + "过长";
  return {};
}

std::string WorkbookNameProblem(std::string_view name) {
  if (name.find('\\') != std::string_view::npos) {
    return "输出文件名" + Quoted(name) + "含有路径分隔符";
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != 0) || byte == 0x7F) {
      return "输出文件名" + Quoted(ListItemText(name)) + "含有控制字符";
    }
  }
  return OutputNameProblem(name);
}

std::string OutputFilePath(const std::string& directory, std::string_view name,
                           std::string_view extension) {
  std::string fileName(name);
  if (!extension.empty()) {
    fileName += '.';
    fileName += extension;
  }
  // The name itself is checked, and so is the file name it makes: a name
  // that fits only without its extension is still too long.
  std::string problem = OutputNameProblem(name);
  if (problem.empty()) problem = OutputNameProblem(fileName);
  if (!problem.empty()) throw UnsafeOutputName(problem);
  return directory + kPathSeparator + fileName;
}

}  // namespace zelk
