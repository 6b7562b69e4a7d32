#include "imaging/PackedRows.h"

#include <bit>
#include <cstring>

namespace zelk {
namespace {

// Leptonica keeps the first pixel of a 32-bit word in its most significant
// bits; on a little-endian machine the bytes of each word are therefore the
// reverse of the packed file order.
void SwapWordBytes(l_uint32* words, int count) {
  if constexpr (std::endian::native == std::endian::little) {
    for (int i = 0; i < count; ++i) words[i] = __builtin_bswap32(words[i]);
  }
}

int SampleRowBytes(int width, int bitsPerSample, int samplesPerPixel) {
  return static_cast<int>((static_cast<long long>(width) * bitsPerSample * samplesPerPixel + 7) / 8);
}

}  // namespace

void StorePackedRow(PIX* pix, int y, const uint8_t* row, int bitsPerSample, int samplesPerPixel,
                    bool invert) {
  const int width = pixGetWidth(pix);
  const int wpl = pixGetWpl(pix);
  l_uint32* line = pixGetData(pix) + static_cast<long long>(y) * wpl;

  if (samplesPerPixel == 1 && bitsPerSample <= 8) {
    const int bytes = SampleRowBytes(width, bitsPerSample, 1);
    auto* out = reinterpret_cast<uint8_t*>(line);
    std::memcpy(out, row, bytes);
    std::memset(out + bytes, 0, static_cast<size_t>(wpl) * 4 - bytes);
    if (invert) {
      for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(~out[i]);
      // Leptonica expects the bits past the last pixel to be zero.
      const int usedBits = (width * bitsPerSample) % 8;
      if (usedBits != 0) out[bytes - 1] &= static_cast<uint8_t>(0xFF00 >> usedBits);
    }
    SwapWordBytes(line, wpl);
    return;
  }
  if (samplesPerPixel == 1 && bitsPerSample == 16) {
    const auto* samples = reinterpret_cast<const uint16_t*>(row);
    for (int x = 0; x < width; ++x) {
      uint16_t v;
      std::memcpy(&v, samples + x, sizeof v);
      SET_DATA_TWO_BYTES(line, x, invert ? 0xFFFF - v : v);
    }
    return;
  }
  for (int x = 0; x < width; ++x) {
    const uint8_t* p = row + static_cast<long long>(x) * samplesPerPixel;
    composeRGBPixel(p[0], p[1], p[2], line + x);
  }
}

int PackedRowBytes(PIX* pix) {
  const int depth = pixGetDepth(pix);
  return depth == 32 ? pixGetWidth(pix) * 3 : SampleRowBytes(pixGetWidth(pix), depth, 1);
}

void LoadPackedRow(PIX* pix, int y, uint8_t* row, bool invert) {
  const int width = pixGetWidth(pix);
  const int wpl = pixGetWpl(pix);
  const l_uint32* line = pixGetData(pix) + static_cast<long long>(y) * wpl;

  if (pixGetDepth(pix) == 32) {
    for (int x = 0; x < width; ++x) {
      l_int32 r, g, b;
      extractRGBValues(line[x], &r, &g, &b);
      row[3 * x] = static_cast<uint8_t>(r);
      row[3 * x + 1] = static_cast<uint8_t>(g);
      row[3 * x + 2] = static_cast<uint8_t>(b);
    }
    return;
  }
  const int bytes = PackedRowBytes(pix);
  if constexpr (std::endian::native == std::endian::little) {
    // Whole words first, then the bytes of a last partial word.
    const int fullWords = bytes / 4;
    for (int i = 0; i < fullWords; ++i) {
      const l_uint32 word = __builtin_bswap32(line[i]);
      std::memcpy(row + 4 * i, &word, 4);
    }
    if (bytes % 4 != 0) {
      const l_uint32 word = __builtin_bswap32(line[fullWords]);
      std::memcpy(row + 4 * fullWords, &word, bytes % 4);
    }
  } else {
    std::memcpy(row, line, bytes);
  }
  if (invert) {
    for (int i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(~row[i]);
  }
}

}  // namespace zelk
