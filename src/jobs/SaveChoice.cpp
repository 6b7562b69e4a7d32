#include "jobs/SaveChoice.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>

#include "imaging/SaveFormat.h"
#include "platform/AsciiCase.h"

namespace zelk {
namespace {

constexpr int16_t kBitonalQualityFactor = 128;

// Looks a setting up in a table indexed by its value.
template <size_t N>
std::optional<int16_t> Lookup(const int16_t (&table)[N], int16_t value) {
  if (value < 0 || static_cast<size_t>(value) >= N) return std::nullopt;
  return table[value];
}

void Assign(int16_t& target, std::optional<int16_t> value) {
  if (value) target = *value;
}

// Whether a TIFF or JPEG format code can save a page of `pageBitsPerPixel`:
// the CCITT codes take bitonal pages only.
bool FitsPage(int16_t code, int pageBitsPerPixel) {
  switch (code) {
    case kTiffCcittG4: case kTiffCcittG3TwoD: case kTiffCcittG3OneD: case kTiffCcittRle:
      return pageBitsPerPixel == 1;
    default:
      return IsTiffFormat(code) || IsJpegFormat(code);
  }
}

// Sets the format code from `table` by the value of the setting `key`.  A
// value outside the table keeps the code of the previous call, as long as
// that code can save this page.
template <size_t N>
void AssignFormat(int16_t& code, const int16_t (&table)[N], SettingId key, int16_t value,
                  int pageBitsPerPixel) {
  if (const std::optional<int16_t> chosen = Lookup(table, value)) {
    code = *chosen;
    return;
  }
  if (FitsPage(code, pageBitsPerPixel)) return;
  const SettingKey& row = SettingKeyOf(key);
  throw SaveSettingError(std::string("设置 [") + row.Section + "] " + row.Key + " 的值 " +
                         std::to_string(value) + " 无效，无法为" +
                         std::to_string(pageBitsPerPixel) + "位的页面选择保存格式");
}

int16_t DeepPageBits(int pageBitsPerPixel) {
  return (pageBitsPerPixel > 1 && pageBitsPerPixel <= 8) ? 8 : 24;
}

bool Contains(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

}  // namespace

int16_t CustomQualityFactor(int16_t qualityValue) {
  const int product = 5 * static_cast<int>(qualityValue);
  if (product < std::numeric_limits<int16_t>::min() ||
      product > std::numeric_limits<int16_t>::max()) {
    throw SaveChoiceOverflow("overflow: the custom image quality " +
                             std::to_string(qualityValue) +
                             " is out of range");
  }
  // The halves are exact in double; nearbyint in the default rounding
  // mode rounds them to the even neighbour.
  const double factor = 250.0 - static_cast<double>(product) / 2.0;
  return static_cast<int16_t>(std::nearbyint(factor));
}

std::optional<int16_t> PresetQualityFactor(int16_t preset, int16_t customValue) {
  switch (preset) {
    case 0: return 15;
    case 1: return 130;
    case 2: return 245;
    case 3: return CustomQualityFactor(customValue);
    default: return std::nullopt;
  }
}

void ChooseTifSaveFormat(SaveParameters& params,
                         const Settings::ImageCompressSection& compress,
                         int pageBitsPerPixel, int16_t kind) {
  static constexpr int16_t kBitonal[] = {kTiffCcittG4, kTiffCcittG3TwoD, kTiffCcittG3OneD,
                                         kTiffCcittRle, kTiffLzw};
  static constexpr int16_t kTif[] = {kTiffUncompressed, kTiffJpeg444, kTiffJpeg422, kTiffJpeg411,
                                     kTiffLzw};
  static constexpr int16_t kJpg[] = {kJpeg444, kJpeg422, kJpeg411};

  if (pageBitsPerPixel == 1) {
    AssignFormat(params.m_nSaveFormat, kBitonal, SettingId::ImageCompress_Tif1Compress,
                 compress.Tif1Compress, pageBitsPerPixel);
    params.m_nSaveQFactor = kBitonalQualityFactor;
    params.m_nSaveBitsPerPixel = 1;
    return;
  }
  if (kind == kSaveAsTif) {
    AssignFormat(params.m_nSaveFormat, kTif, SettingId::ImageCompress_Tif2Compress,
                 compress.Tif2Compress, pageBitsPerPixel);
    Assign(params.m_nSaveQFactor,
           PresetQualityFactor(compress.Tif2Quality, compress.Tif2QualityValue));
  } else if (kind == kSaveAsJpg) {
    AssignFormat(params.m_nSaveFormat, kJpg, SettingId::ImageCompress_JpgCompress,
                 compress.JpgCompress, pageBitsPerPixel);
    Assign(params.m_nSaveQFactor,
           PresetQualityFactor(compress.JpgQuality, compress.JpgQualityValue));
  }
  params.m_nSaveBitsPerPixel = DeepPageBits(pageBitsPerPixel);
}

void ChoosePdfSaveFormat(SaveParameters& params,
                         const Settings::ImageCompressSection& compress,
                         int pageBitsPerPixel, std::string_view name) {
  static constexpr int16_t kBitonal[] = {kPdfCcittG4, kPdfCcittG3TwoD, kPdfCcittG3OneD,
                                         kPdfCcittG4};
  static constexpr int16_t kJpg[] = {kPdfJpeg444, kPdfJpeg422, kPdfJpeg411};
  static constexpr int16_t kTif[] = {kPdfUncompressed, kPdfJpeg444, kPdfJpeg422, kPdfJpeg411,
                                     kPdfUncompressed};

  params.m_nSaveFormat = kPdfUncompressed;
  if (pageBitsPerPixel == 1) {
    Assign(params.m_nSaveFormat, Lookup(kBitonal, compress.Tif1Compress));
    params.m_nSaveQFactor = kBitonalQualityFactor;
    params.m_nSaveBitsPerPixel = 1;
    return;
  }
  const std::string lowerName = AsciiLower(name);
  if (Contains(lowerName, ".jpg")) {
    Assign(params.m_nSaveFormat, Lookup(kJpg, compress.JpgCompress));
  }
  if (Contains(lowerName, ".tif")) {
    Assign(params.m_nSaveFormat, Lookup(kTif, compress.Tif2Compress));
  }
  Assign(params.m_nSaveQFactor,
         PresetQualityFactor(compress.JpgQuality, compress.JpgQualityValue));
  params.m_nSaveBitsPerPixel = DeepPageBits(pageBitsPerPixel);
}

}  // namespace zelk
