#include "run/FailureReason.h"

#include <cerrno>
#include <filesystem>
#include <new>

#include "platform/ErrorKind.h"

namespace zelk {
namespace {

// The system's reasons the operator is likely to meet, by errno.
struct SystemReason {
  int number;
  const char* text;
};

constexpr SystemReason kSystemReasons[] = {
    {ENOSPC, "磁盘空间不足"},
    {EDQUOT, "磁盘配额已满"},
    {EACCES, "没有权限"},
    {EPERM, "不允许的操作"},
    {ENOENT, "文件或目录不存在"},
    {EROFS, "磁盘为只读"},
    {EIO, "磁盘读写出错"},
    {ENAMETOOLONG, "文件名过长"},
    {ENOTDIR, "路径中有一项不是目录"},
    {EISDIR, "是一个目录"},
    {EEXIST, "已存在同名文件"},
    {ENOTEMPTY, "目录不为空"},
    {EMFILE, "打开的文件过多"},
    {ENFILE, "打开的文件过多"},
    {ENOMEM, "内存不足"},
    {EBUSY, "文件正被占用"},
    {ETXTBSY, "文件正被占用"},
    {ELOOP, "符号链接层次过多"},
    {EXDEV, "不能跨磁盘移动"},
    {EFBIG, "文件过大"},
    {ESTALE, "网络文件已失效"},
    {ETIMEDOUT, "连接超时"},
    {ENOTCONN, "网络连接已断开"},
};

const char* SystemReasonOf(int number) {
  for (const SystemReason& reason : kSystemReasons) {
    if (reason.number == number) return reason.text;
  }
  return nullptr;
}

std::string WithFile(std::string_view text, const std::string& file) {
  std::string reason(text);
  if (!file.empty()) {
    reason += "：";
    reason += file;
  }
  return reason;
}

// The program's own reasons are Chinese from their first word on; the
// libraries' start with an English word or with a path.
bool AlreadyWorded(std::string_view text) {
  return !text.empty() && static_cast<unsigned char>(text.front()) >= 0x80;
}

}  // namespace

std::optional<std::string> SystemReasonText(const std::error_code& code) {
  // On POSIX both categories hold errno values; the system one keeps those
  // without a std::errc name (EDQUOT, ESTALE).
  const std::error_condition condition = code.default_error_condition();
  if (condition.category() != std::generic_category() &&
      condition.category() != std::system_category()) {
    return std::nullopt;
  }
  if (const char* text = SystemReasonOf(condition.value())) return std::string(text);
  return std::nullopt;
}

FailureReason FailureReasonOf(const std::exception& error) {
  if (const auto* kinded = dynamic_cast<const KindedError*>(&error)) {
    return {WithFile(ErrorKindText(kinded->Kind()), kinded->File()), kinded->Detail()};
  }
  if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
    const std::optional<std::string> known = SystemReasonText(system->code());
    const auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error);
    return {WithFile(known ? *known : "文件操作失败", file ? file->path1().string() : ""),
            error.what()};
  }
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
    return {std::string(ErrorKindText(ErrorKind::OutOfMemory)), ""};
  }
  const std::string text = error.what();
  if (AlreadyWorded(text)) return {text, ""};
  return {"处理失败", text};
}

std::string ReasonListText(const FailureReason& reason) {
  if (reason.Detail.empty()) return reason.Text;
  return reason.Text + "（" + reason.Detail + "）";
}

}  // namespace zelk
