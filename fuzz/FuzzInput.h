#pragma once
// What every fuzz target shares: the input as the types the parsers take,
// and a check that stops the fuzzer on a broken property.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace zelk::fuzz {

inline std::string Text(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

inline std::vector<uint8_t> Bytes(const uint8_t* data, size_t size) {
  return std::vector<uint8_t>(data, data + size);
}

// A property every input must keep (a round trip, a bound); aborts so that
// libFuzzer keeps the input that broke it.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

}  // namespace zelk::fuzz
