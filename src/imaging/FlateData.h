#pragma once
// zlib (Flate) compression of a block of bytes, through qpdf's pipeline.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

std::vector<uint8_t> FlateCompress(const uint8_t* data, size_t size);
std::vector<uint8_t> FlateCompress(const std::string& text);

}  // namespace zelk
