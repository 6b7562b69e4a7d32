#pragma once
// Why an item failed, in words the operator reads.  The readers, writers,
// recognition and the file layer raise errors of a kind (KindedError, or
// std::system_error with the system's error number), so the reason is the
// kind's Chinese text and the file it concerns:
//
//   文件数据已损坏：/scans/a/0003.tif
//
// The library's own words (libtiff's, qpdf's, the system's) are kept as
// the detail, which the reasons list adds in brackets.  A reason the
// program already words in Chinese is kept as it is.

#include <exception>
#include <optional>
#include <string>
#include <system_error>

namespace zelk {

struct FailureReason {
  std::string Text;    // the kind's text and the file: what the window shows
  std::string Detail;  // the library's words ("" when there are none)
};

// The reason recorded for an item that failed with `error`.
FailureReason FailureReasonOf(const std::exception& error);

// The reason as the reasons list keeps it: the text, then the detail in
// brackets.
std::string ReasonListText(const FailureReason& reason);

// The system's reason for `code` in Chinese ("磁盘空间不足", "没有权限"...);
// nothing for an error outside the table.
std::optional<std::string> SystemReasonText(const std::error_code& code);

}  // namespace zelk
