#include "platform/ErrorKind.h"

#include <cerrno>

namespace zelk {
namespace {

std::string WhatOf(const std::string& file, const std::string& detail) {
  if (file.empty()) return detail;
  if (detail.empty()) return file;
  std::string what = file;
  what += ": ";
  what += detail;
  return what;
}

}  // namespace

std::string_view ErrorKindText(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::Unreadable: return "无法读取文件";
    case ErrorKind::NotThatFormat: return "不是程序能读取的图像文件";
    case ErrorKind::Damaged: return "文件数据已损坏";
    case ErrorKind::Unsupported: return "不支持的文件或页面格式";
    case ErrorKind::TooLarge: return "图像过大";
    case ErrorKind::Empty: return "文件为空";
    case ErrorKind::NoPage: return "文件中没有可读取的页面";
    case ErrorKind::PageMissing: return "页码超出了文件的页数";
    case ErrorKind::Protected: return "文件有密码保护";
    case ErrorKind::OutOfMemory: return "内存不足";
    case ErrorKind::DiskFull: return "磁盘空间不足";
    case ErrorKind::PermissionDenied: return "没有权限";
    case ErrorKind::NotFound: return "文件或目录不存在";
    case ErrorKind::LinkRefused: return "输出路径中含有链接";
    case ErrorKind::WriteFailed: return "无法写入文件";
    case ErrorKind::EncodeFailed: return "无法编码页面图像";
    case ErrorKind::BadSetting: return "保存格式设置与页面不符";
    case ErrorKind::RecognitionFailed: return "文字识别失败";
    case ErrorKind::Cancelled: return "处理被取消";
  }
  return "处理失败";
}

ErrorKind ErrorKindOfErrno(int number, ErrorKind otherwise) {
  switch (number) {
    case ENOSPC:
    case EDQUOT: return ErrorKind::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS: return ErrorKind::PermissionDenied;
    case ENOENT:
    case ENOTDIR: return ErrorKind::NotFound;
    case ENOMEM: return ErrorKind::OutOfMemory;
    case ELOOP: return ErrorKind::LinkRefused;
    case EFBIG: return ErrorKind::TooLarge;
    default: return otherwise;
  }
}

KindedError::KindedError(ErrorKind kind, std::string file, std::string detail)
    : std::runtime_error(WhatOf(file, detail)),
      kind_(kind),
      file_(std::move(file)),
      detail_(std::move(detail)) {}

}  // namespace zelk
