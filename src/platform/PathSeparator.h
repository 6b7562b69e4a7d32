#pragma once

namespace zelk {

// The one separator every path helper splits and joins at.
inline constexpr char kPathSeparator = '/';

}  // namespace zelk
