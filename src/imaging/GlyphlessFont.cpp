#include "imaging/GlyphlessFont.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace zelk {
namespace {

constexpr int kGlyphCount = 2;
// 2024-01-01, in seconds since 1904 (the sfnt epoch).
constexpr uint64_t kCreated = 3786825600ULL;
const char* const kFontName = "ZelkTextLayer";

// Big-endian writer for the sfnt structures.
class Bytes {
 public:
  Bytes& u8(uint8_t v) { data_.push_back(v); return *this; }
  Bytes& u16(uint32_t v) { return u8(static_cast<uint8_t>(v >> 8)).u8(static_cast<uint8_t>(v)); }
  Bytes& s16(int v) { return u16(static_cast<uint16_t>(static_cast<int16_t>(v))); }
  Bytes& u32(uint32_t v) { return u16(v >> 16).u16(v & 0xFFFF); }
  Bytes& u64(uint64_t v) { return u32(static_cast<uint32_t>(v >> 32)).u32(static_cast<uint32_t>(v)); }
  Bytes& tag(const char* t) { for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(t[i])); return *this; }
  Bytes& zeros(size_t n) { data_.insert(data_.end(), n, 0); return *this; }
  Bytes& append(const std::vector<uint8_t>& other) {
    data_.insert(data_.end(), other.begin(), other.end());
    return *this;
  }
  std::vector<uint8_t>& data() { return data_; }

 private:
  std::vector<uint8_t> data_;
};

uint32_t TableChecksum(const std::vector<uint8_t>& table) {
  uint32_t sum = 0;
  for (size_t i = 0; i < table.size(); i += 4) {
    uint32_t word = 0;
    for (size_t j = 0; j < 4; ++j) {
      word = (word << 8) | (i + j < table.size() ? table[i + j] : 0);
    }
    sum += word;
  }
  return sum;
}

std::vector<uint8_t> Head() {
  Bytes b;
  b.u32(0x00010000).u32(0x00010000)  // version, font revision
      .u32(0)                        // checksum adjustment, set at the end
      .u32(0x5F0F3CF5)               // magic number
      .u16(0x000B)                   // baseline at y=0, lsb at x=0, integer scaling
      .u16(kGlyphlessUnitsPerEm)
      .u64(kCreated).u64(kCreated)   // created, modified
      .s16(0).s16(kGlyphlessDescent).s16(kGlyphlessAdvance).s16(kGlyphlessAscent)
      .u16(0)                        // mac style
      .u16(3)                        // smallest readable size in pixels
      .s16(2)                        // font direction hint
      .s16(0)                        // short loca offsets
      .s16(0);                       // glyph data format
  return std::move(b.data());
}

std::vector<uint8_t> Hhea() {
  Bytes b;
  b.u32(0x00010000)
      .s16(kGlyphlessAscent).s16(kGlyphlessDescent).s16(0)  // ascender, descender, line gap
      .u16(kGlyphlessAdvance)                               // largest advance
      .s16(0).s16(0).s16(0)  // min left and right side bearings, largest extent
      .s16(1).s16(0).s16(0)  // caret slope rise, run, offset
      .zeros(8)              // reserved
      .s16(0)                // metric data format
      .u16(kGlyphCount);     // number of horizontal metrics
  return std::move(b.data());
}

std::vector<uint8_t> Maxp() {
  Bytes b;
  b.u32(0x00010000).u16(kGlyphCount);
  b.u16(0).u16(0).u16(0).u16(0);  // points, contours, composite points and contours
  b.u16(2);                       // zones
  b.u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0);
  return std::move(b.data());
}

std::vector<uint8_t> Hmtx() {
  Bytes b;
  for (int glyph = 0; glyph < kGlyphCount; ++glyph) b.u16(kGlyphlessAdvance).s16(0);
  return std::move(b.data());
}

// Glyph 1 as a simple glyph without contours: it draws nothing, like the
// empty .notdef before it, but gives the glyph table the content that
// some readers require of it.
std::vector<uint8_t> Glyf() {
  Bytes b;
  b.s16(0).s16(0).s16(0).s16(0).s16(0);  // no contours, empty bounding box
  b.u16(0);                              // no instructions
  return std::move(b.data());
}

// Short offsets (half the byte offset): glyph 0 is empty, glyph 1 is the
// whole glyph table.
std::vector<uint8_t> Loca() {
  Bytes b;
  b.u16(0).u16(0).u16(static_cast<uint32_t>(Glyf().size() / 2));
  return std::move(b.data());
}

// One segment, the obligatory final 0xFFFF, mapping nothing to a real glyph:
// the PDF reaches glyph 1 through its CID-to-glyph map, not through cmap.
std::vector<uint8_t> Cmap() {
  Bytes b;
  b.u16(0).u16(1);                  // version, one subtable
  b.u16(3).u16(1).u32(12);          // Windows Unicode BMP, at offset 12
  b.u16(4).u16(24).u16(0);          // format 4, length, language
  b.u16(2).u16(2).u16(0).u16(0);    // segCountX2, searchRange, entrySelector, rangeShift
  b.u16(0xFFFF).u16(0);             // end codes, reserved pad
  b.u16(0xFFFF);                    // start codes
  b.u16(1);                         // id delta: 0xFFFF + 1 -> glyph 0
  b.u16(0);                         // id range offset
  return std::move(b.data());
}

std::vector<uint8_t> Os2() {
  Bytes b;
  b.u16(4)                          // version
      .s16(kGlyphlessAdvance)       // average width
      .u16(400).u16(5)              // weight, width class
      .u16(0)                       // embedding: installable
      .s16(650).s16(600).s16(0).s16(75)    // subscript size, offset
      .s16(650).s16(600).s16(0).s16(350)   // superscript size, offset
      .s16(50).s16(250)             // strikeout size, position
      .s16(0)                       // family class
      .zeros(10)                    // panose
      .u32(0).u32(0).u32(0).u32(0)  // unicode ranges
      .tag("ZELK")                  // vendor
      .u16(0x0040)                  // regular
      .u16(0xFFFF).u16(0xFFFF)      // first and last character index
      .s16(kGlyphlessAscent).s16(kGlyphlessDescent).s16(0)  // typographic metrics
      .u16(kGlyphlessAscent).u16(-kGlyphlessDescent)        // Windows ascent, descent
      .u32(1).u32(0)                // code pages: Latin 1
      .s16(500).s16(700)            // x height, cap height
      .u16(0).u16(32).u16(1);       // default char, break char, max context
  return std::move(b.data());
}

std::vector<uint8_t> Post() {
  Bytes b;
  b.u32(0x00030000).u32(0)  // version 3 (no glyph names), italic angle
      .s16(-100).s16(50)    // underline position, thickness
      .u32(1)               // fixed pitch
      .u32(0).u32(0).u32(0).u32(0);
  return std::move(b.data());
}

std::vector<uint8_t> Name() {
  const std::string family = kFontName;
  const std::pair<int, std::string> records[] = {
      {1, family}, {2, "Regular"}, {4, family}, {6, family}};
  Bytes strings;
  Bytes b;
  b.u16(0).u16(static_cast<uint32_t>(std::size(records)))
      .u16(6 + 12 * static_cast<uint32_t>(std::size(records)));
  for (const auto& [id, text] : records) {
    const size_t offset = strings.data().size();
    for (char c : text) strings.u16(static_cast<uint8_t>(c));  // UTF-16BE, ASCII only
    b.u16(3).u16(1).u16(0x0409).u16(id)
        .u16(static_cast<uint32_t>(text.size() * 2)).u16(static_cast<uint32_t>(offset));
  }
  b.append(strings.data());
  return std::move(b.data());
}

std::vector<uint8_t> BuildFont() {
  // Tables in tag order, as the table directory requires.
  std::vector<std::pair<const char*, std::vector<uint8_t>>> tables = {
      {"OS/2", Os2()}, {"cmap", Cmap()}, {"glyf", Glyf()}, {"head", Head()},
      {"hhea", Hhea()}, {"hmtx", Hmtx()}, {"loca", Loca()}, {"maxp", Maxp()},
      {"name", Name()}, {"post", Post()}};
  const uint16_t count = static_cast<uint16_t>(tables.size());
  uint16_t power = 1, log2 = 0;
  while (power * 2 <= count) { power *= 2; ++log2; }

  Bytes font;
  font.u32(0x00010000).u16(count).u16(power * 16).u16(log2).u16(count * 16 - power * 16);
  uint32_t offset = 12 + 16 * count;
  size_t headOffset = 0;
  for (const auto& [tag, table] : tables) {
    font.tag(tag).u32(TableChecksum(table)).u32(offset).u32(static_cast<uint32_t>(table.size()));
    if (std::string(tag) == "head") headOffset = offset;
    offset += (static_cast<uint32_t>(table.size()) + 3) & ~3u;
  }
  for (const auto& [tag, table] : tables) {
    font.append(table).zeros((4 - table.size() % 4) % 4);
  }
  std::vector<uint8_t>& bytes = font.data();
  const uint32_t adjustment = 0xB1B0AFBAu - TableChecksum(bytes);
  for (int i = 0; i < 4; ++i) {
    bytes[headOffset + 8 + i] = static_cast<uint8_t>(adjustment >> (24 - 8 * i));
  }
  return bytes;
}

}  // namespace

const std::vector<uint8_t>& GlyphlessTrueTypeFont() {
  static const std::vector<uint8_t> font = BuildFont();
  return font;
}

}  // namespace zelk
