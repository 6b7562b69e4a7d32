#pragma once
// A hash of text that is the same in every build and on every machine
// (std::hash is not), for names that several processes or hosts must agree
// on: FNV-1a, 64 bits.

#include <cstdint>
#include <string_view>

namespace zelk {

inline std::uint64_t StableHash(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace zelk
