#pragma once
// Choice of the three save parameters (format code, bits per pixel, quality
// factor) from the ImageCompress settings and the bit depth of the page just
// loaded.  The parameters belong to the running job: each job keeps one
// SaveParameters and passes it to every chooser call and save.
//
// A chooser assigns only what its rules name: a setting outside a mapping
// table leaves the format code (or the quality factor) as the previous call
// set it.  When the code so left cannot save the page at hand (a CCITT code
// for a page that is not bitonal, or no usable code at all), the chooser
// raises SaveSettingError naming the setting, so the item's failure tells
// the operator which setting to mend.

#include "imaging/Page.h"
#include "imaging/SaveFormat.h"
#include "settings/SettingKeys.h"
#include "settings/Settings.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelk {

struct SaveParameters {
  int16_t m_nSaveFormat = 0;
  int16_t m_nSaveBitsPerPixel = 0;
  int16_t m_nSaveQFactor = 0;

  // The three as the image toolkit's save calls take them.
  SaveSpec Spec() const { return {m_nSaveFormat, m_nSaveBitsPerPixel, m_nSaveQFactor}; }
};

// What the output file of ChooseTifSaveFormat is.
enum TifSaveKind : int16_t { kSaveAsTif = 1, kSaveAsJpg = 2 };

// Raised when 5 x the custom quality value does not fit 16 bits; the job
// counts the item as failed.
class SaveChoiceOverflow : public ImageError {
 public:
  explicit SaveChoiceOverflow(const std::string& detail)
      : ImageError(ErrorKind::BadSetting, "", detail) {}
};

// A compression setting whose value is outside its table, met with a page
// the format code left by an earlier page cannot save; the job counts the
// item as failed.  The text, the operator's, names the setting as
// "[Section] Key".
class SaveSettingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Quality factor of a custom quality percentage: 250 - (5q)/2, rounded half
// to even (q = 1 gives 248, q = 3 gives 242).  Throws SaveChoiceOverflow
// when 5q leaves the 16-bit range.
int16_t CustomQualityFactor(int16_t qualityValue);

// Quality factor of a preset (0 best, 1 balanced, 2 smallest, 3 custom);
// nothing for a preset outside the table.
std::optional<int16_t> PresetQualityFactor(int16_t preset, int16_t customValue);

// Target TIFF (kind 1) or JPEG (kind 2).  A 1-bit page always gets a TIFF
// bitonal code, whatever the kind.  Throws SaveSettingError (see above).
void ChooseTifSaveFormat(SaveParameters& params,
                         const Settings::ImageCompressSection& compress,
                         int pageBitsPerPixel, int16_t kind);

// Target PDF.  `name` is the source's file name or full path; a colour or
// grey page takes the JPEG mapping when it contains ".jpg" and the TIFF
// mapping when it contains ".tif" (the TIFF mapping wins when both occur).
void ChoosePdfSaveFormat(SaveParameters& params,
                         const Settings::ImageCompressSection& compress,
                         int pageBitsPerPixel, std::string_view name);

}  // namespace zelk
