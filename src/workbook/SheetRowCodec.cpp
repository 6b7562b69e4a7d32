#include "workbook/SheetRowCodec.h"

#include <cstdint>

namespace zelk {
namespace {

constexpr std::size_t kLengthBytes = 4;

void AppendLength(std::string& bytes, std::uint32_t length) {
  for (std::size_t i = 0; i < kLengthBytes; ++i) {
    bytes += static_cast<char>((length >> (8 * i)) & 0xFF);
  }
}

std::uint32_t LengthAt(const std::string& bytes, std::size_t at) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < kLengthBytes; ++i) {
    length |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return length;
}

}  // namespace

std::string EncodeSheetRows(const std::vector<SheetRow>& rows) {
  std::string bytes;
  for (const SheetRow& row : rows) {
    for (const std::string& text : row) {
      AppendLength(bytes, static_cast<std::uint32_t>(text.size()));
      bytes += text;
    }
  }
  return bytes;
}

std::vector<SheetRow> DecodeSheetRows(const std::string& bytes) {
  std::vector<SheetRow> rows;
  std::size_t at = 0;
  while (at < bytes.size()) {
    SheetRow row;
    for (std::string& text : row) {
      if (bytes.size() - at < kLengthBytes) {
        throw SheetReadError("the .xls reader's result is cut short");
      }
      const std::uint32_t length = LengthAt(bytes, at);
      at += kLengthBytes;
      if (bytes.size() - at < length) throw SheetReadError("the .xls reader's result is cut short");
      text = bytes.substr(at, length);
      at += length;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace zelk
