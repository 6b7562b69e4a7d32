#include "run/FailureReason.h"

#include <locale.h>
#include <string.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace zelk {
namespace {

// What could not be done, by the phrase the toolkit, the file-system layer
// or the engines put into their English texts.  The first phrase found in
// a reason wins, so longer phrases come before the shorter ones they hold.
struct PhraseLead {
  const char* phrase;
  const char* lead;
};

constexpr PhraseLead kPhraseLeads[] = {
    {"cannot create a temporary file", "无法创建临时文件"},
    {"cannot create directory", "无法创建目录"},
    {"cannot move the output directory into place", "无法把输出目录移到位"},
    {"cannot claim the item", "无法登记正在转换的项目"},
    {"cannot write the claim", "无法登记正在转换的项目"},
    {"rename journal", "无法处理更名记录"},
    {"cannot copy", "无法复制"},
    {"cannot rename", "无法更名"},
    {"cannot move", "无法移动"},
    {"cannot create text file", "无法创建文本文件"},
    {"cannot write text file", "无法写入文本文件"},
    {"cannot write the RTF document", "无法写入Word文档"},
    {"cannot write the DOCX document", "无法写入Word文档"},
    {"cannot create the file", "无法创建文件"},
    {"cannot finish writing", "无法完成文件写入"},
    {"page data", "无法使用临时文件"},
    {"cannot write", "无法写入文件"},
    {"cannot add pages to", "无法向已有的PDF文件添加页面"},
    {"protected by a password", "PDF文件有密码保护"},
    {"the PDF file has no pages", "PDF文件中没有页面"},
    {"not a readable PDF", "无法读取PDF文件"},
    {"cannot render page", "无法读取PDF页面"},
    {"cannot open page", "无法读取PDF页面"},
    {"the JPEG data is damaged", "JPEG图像数据已损坏"},
    {"not a readable JPEG", "无法读取JPEG图像"},
    {"not a readable PNG", "无法读取PNG图像"},
    {"not a readable BMP", "无法读取BMP图像"},
    {"BMP header", "无法读取BMP图像"},
    {"cannot read as TIFF", "无法读取TIFF图像"},
    {"unsupported TIFF", "不支持的TIFF页面格式"},
    {"cannot decode the page", "无法解码页面图像"},
    {"holds no readable page", "文件中没有可读取的页面"},
    {"beyond the end of the file", "页码超出了文件的页数"},
    {"not an image file", "不是可读取的图像文件"},
    {"out of memory", "内存不足"},
    {"bad_alloc", "内存不足"},
    {"changed while being read", "文件在读取时被改动"},
    {"the file is empty", "文件为空"},
    {"too large", "图像过大"},
    {"has no pixels", "图像没有内容"},
    {"has no image size", "图像没有内容"},
    {"has no size", "无法读取PDF页面"},
    {"cannot open the file", "无法打开文件"},
    {"cannot read", "无法读取文件"},
    {"cannot work out the row size", "无法解码页面图像"},
    {"colormap", "无法解码页面图像"},
    {"tile layout", "无法解码页面图像"},
    {"JPEG encoding", "JPEG编码失败"},
    {"CCITT", "CCITT编码失败"},
    {"format code", "保存格式设置无效"},
    {"bits per pixel", "无法按设定的位深保存"},
    {"could not be resampled", "无法缩放页面图像"},
    {"cannot convert the page image", "无法转换页面图像"},
    {"text recognition failed", "文字识别失败"},
    {"page has no decoded image", "文字识别失败"},
    {"recognition cancelled", "文字识别被取消"},
};

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

// How the system words each errno of the table: in English (the C locale)
// and in the process's own locale, as texts such as "cannot open the file
// (No such file or directory)" carry them.
struct SystemWording {
  int number;
  std::vector<std::string> texts;
};

const std::vector<SystemWording>& SystemWordings() {
  static const std::vector<SystemWording> wordings = [] {
    std::vector<SystemWording> all;
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    for (const SystemReason& reason : kSystemReasons) {
      SystemWording wording{reason.number, {}};
      if (c != locale_t{}) wording.texts.emplace_back(strerror_l(reason.number, c));
      const std::string local = std::generic_category().message(reason.number);
      if (wording.texts.empty() || wording.texts.front() != local) wording.texts.push_back(local);
      all.push_back(std::move(wording));
    }
    if (c != locale_t{}) freelocale(c);
    return all;
  }();
  return wordings;
}

const char* SystemReasonNamedIn(std::string_view text) {
  for (const SystemWording& wording : SystemWordings()) {
    for (const std::string& words : wording.texts) {
      if (!words.empty() && text.find(words) != std::string_view::npos) {
        return SystemReasonOf(wording.number);
      }
    }
  }
  return nullptr;
}

const char* LeadOf(std::string_view text) {
  for (const PhraseLead& entry : kPhraseLeads) {
    if (text.find(entry.phrase) != std::string_view::npos) return entry.lead;
  }
  return nullptr;
}

// The program's own reasons are Chinese from their first word on; the
// libraries' start with an English word or with a path.
bool AlreadyWorded(std::string_view text) {
  return !text.empty() && static_cast<unsigned char>(text.front()) >= 0x80;
}

std::string Compose(std::string_view text, const char* systemReason) {
  if (text.empty()) return systemReason != nullptr ? systemReason : "未知错误";
  if (AlreadyWorded(text)) return std::string(text);
  if (systemReason == nullptr) systemReason = SystemReasonNamedIn(text);
  const char* lead = LeadOf(text);
  std::string reason;
  if (lead != nullptr) reason = lead;
  if (systemReason != nullptr) {
    if (!reason.empty()) reason += "，";
    reason += systemReason;
  }
  if (reason.empty()) reason = "处理失败";
  return reason + "：" + std::string(text);
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

std::string FailureReasonOf(const std::exception& error) {
  std::optional<std::string> system;
  if (const auto* systemError = dynamic_cast<const std::system_error*>(&error)) {
    system = SystemReasonText(systemError->code());
  }
  return Compose(error.what(), system ? system->c_str() : nullptr);
}

std::string FailureReasonOfText(std::string_view text) { return Compose(text, nullptr); }

}  // namespace zelk
