#pragma once
// Why an item failed, in words the operator reads: the libraries and the
// toolkit explain their errors in English ("filesystem error: cannot create
// directory: No space left on device [...]", "x.tif: not a readable JPEG
// image (...)"), so the frame puts a Chinese lead text before such a
// reason and keeps the library's own text after it as the detail:
//
//   无法创建目录，磁盘空间不足：filesystem error: cannot create directory: ...
//
// The lead names what could not be done (from a table of the phrases the
// toolkit and the file-system layer use) and, where the system said why,
// the system's reason (from a table of errno values).  A reason that the
// program already words in Chinese is kept as it is.

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace zelk {

// The reason recorded for an item that failed with `error`.
std::string FailureReasonOf(const std::exception& error);

// The same for a reason known only as text (no error code to read).
std::string FailureReasonOfText(std::string_view text);

// The system's reason for `code` in Chinese ("磁盘空间不足", "没有权限"...);
// nothing for an error outside the table.
std::optional<std::string> SystemReasonText(const std::error_code& code);

}  // namespace zelk
