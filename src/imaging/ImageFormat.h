#pragma once
// Recognising an image file by its content.  The name's extension is not
// trusted: scanners and users rename files, and a PNG called page.tif must
// still load.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zelk {

enum class ImageFormat { Unknown, Tiff, Jpeg, Png, Bmp, Pdf };

// The format whose signature starts `head` (a PDF header may follow up to
// 1 KiB of leading bytes, as readers accept).
ImageFormat DetectImageFormat(const uint8_t* head, size_t size);

// Reads the start of the file.  Throws ImageError when the file cannot be
// opened or is empty; an unrecognised content yields ImageFormat::Unknown.
ImageFormat DetectFileFormat(const std::string& path);

}  // namespace zelk
