#pragma once
// The error for a page number past the end of a file, worded alike for
// every format.

#include <string>

namespace zelk {

// `pageNumber` counts from 1.
[[noreturn]] void ThrowPageBeyondEnd(const std::string& path, int pageNumber, int pageCount);

}  // namespace zelk
