#include "imaging/Toolkit_helpers.h"

#include <algorithm>
#include <cstdlib>

#include <jpeglib.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zelk::toolkittest {
namespace {

uint32_t NextRandom(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

PixPtr Created(PIX* pix) {
  if (pix == nullptr) throw std::runtime_error("pixCreate failed");
  return PixPtr(pix);
}

// One packed row of samples in the file's convention.
std::vector<uint8_t> SampleRow(PIX* pix, int y, const TiffSource& how, uint16_t photometric) {
  const int width = pixGetWidth(pix), depth = pixGetDepth(pix);
  std::vector<uint8_t> row;
  if (depth == 32) {
    for (int x = 0; x < width; ++x) {
      l_int32 r, g, b;
      pixGetRGBPixel(pix, x, y, &r, &g, &b);
      if (how.cmyk) {
        row.insert(row.end(), {uint8_t(255 - r), uint8_t(255 - g), uint8_t(255 - b), 0});
      } else {
        row.insert(row.end(), {uint8_t(r), uint8_t(g), uint8_t(b)});
      }
    }
    return row;
  }
  const bool invert = pixGetColormap(pix) == nullptr &&
                      ((depth == 1) == (photometric == PHOTOMETRIC_MINISBLACK));
  const l_uint32 maxValue = depth == 16 ? 0xFFFF : (1u << depth) - 1;
  if (depth == 16) {
    for (int x = 0; x < width; ++x) {
      l_uint32 v;
      pixGetPixel(pix, x, y, &v);
      const uint16_t sample = static_cast<uint16_t>(invert ? maxValue - v : v);
      const auto* bytes = reinterpret_cast<const uint8_t*>(&sample);
      row.insert(row.end(), bytes, bytes + 2);
    }
    return row;
  }
  row.assign((width * depth + 7) / 8, 0);
  for (int x = 0; x < width; ++x) {
    l_uint32 v;
    pixGetPixel(pix, x, y, &v);
    if (invert) v = maxValue - v;
    const int bit = x * depth;
    row[bit / 8] |= static_cast<uint8_t>(v << (8 - depth - bit % 8));
  }
  return row;
}

void CheckTiff(int ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("libtiff: ") + what);
}

struct JpegJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegJump*>(cinfo->err)->jump, 1); }

}  // namespace

PixPtr BitonalPix(int width, int height, unsigned seed) {
  PixPtr pix = Created(pixCreate(width, height, 1));
  uint32_t state = seed;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool block = (x / 7 + y / 11) % 5 == 0;
      const bool noise = NextRandom(state) % 20 == 0;
      if (block != noise) pixSetPixel(pix.get(), x, y, 1);
    }
  }
  return pix;
}

PixPtr GreyPix(int width, int height, int depth) {
  PixPtr pix = Created(pixCreate(width, height, depth));
  uint32_t state = 7;
  const l_uint32 maxValue = depth == 16 ? 0xFFFF : (1u << depth) - 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const l_uint32 v = (x * 3 + y * 5 + NextRandom(state) % 17) * (depth == 16 ? 97 : 1);
      pixSetPixel(pix.get(), x, y, v % (maxValue + 1));
    }
  }
  return pix;
}

PixPtr RgbPix(int width, int height) {
  PixPtr pix = Created(pixCreate(width, height, 32));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixSetRGBPixel(pix.get(), x, y, x * 255 / width, y * 255 / height, (x ^ y) & 0xFF);
    }
  }
  return pix;
}

PixPtr PalettePix(int width, int height, bool colourful, int depth) {
  PixPtr pix = Created(pixCreate(width, height, depth));
  const int entries = 1 << std::min(depth, 4);
  PIXCMAP* cmap = pixcmapCreate(depth);
  for (int i = 0; i < entries; ++i) {
    const int level = i * 255 / (entries - 1);
    if (colourful) {
      pixcmapAddColor(cmap, level, 255 - level, (i * 97) & 0xFF);
    } else {
      pixcmapAddColor(cmap, level, level, level);
    }
  }
  pixSetColormap(pix.get(), cmap);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixSetPixel(pix.get(), x, y, (x / 5 + y / 3) % entries);
  }
  return pix;
}

Page PageOf(PixPtr pix, int dpi) {
  Page page;
  page.pix = std::move(pix);
  page.xDpi = page.yDpi = dpi;
  return page;
}

void WriteTiffPage(const std::string& path, PIX* pix, const TiffSource& how, bool append) {
  TIFF* tif = TIFFOpen(path.c_str(), append ? "a" : "w");
  CheckTiff(tif != nullptr, "open");
  const int width = pixGetWidth(pix), height = pixGetHeight(pix), depth = pixGetDepth(pix);
  const bool colour = depth == 32;
  const uint16_t spp = colour ? (how.cmyk ? 4 : 3) : 1;
  uint16_t photometric = how.photometric;
  if (pixGetColormap(pix)) photometric = PHOTOMETRIC_PALETTE;
  if (colour) photometric = how.cmyk ? PHOTOMETRIC_SEPARATED : PHOTOMETRIC_RGB;
  const bool jpegYcbcr = colour && how.compression == COMPRESSION_JPEG;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, colour ? 8 : depth);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, spp);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG,
               how.planarSeparate ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, how.compression);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, jpegYcbcr ? PHOTOMETRIC_YCBCR : photometric);
  if (jpegYcbcr) TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
  TIFFSetField(tif, TIFFTAG_FILLORDER, how.fillOrder);
  if (how.compression == COMPRESSION_CCITTFAX3) {
    TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, how.group3Options);
  }
  if (how.cmyk) TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, how.dpi);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, how.dpi);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  if (PIXCMAP* cmap = pixGetColormap(pix)) {
    std::vector<uint16_t> r(1 << depth), g(1 << depth), b(1 << depth);
    for (int i = 0; i < pixcmapGetCount(cmap); ++i) {
      l_int32 cr, cg, cb;
      pixcmapGetColor(cmap, i, &cr, &cg, &cb);
      r[i] = cr * 257, g[i] = cg * 257, b[i] = cb * 257;
    }
    TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
  }

  std::vector<std::vector<uint8_t>> rows;
  for (int y = 0; y < height; ++y) rows.push_back(SampleRow(pix, y, how, photometric));
  if (how.tileSize > 0) {
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, how.tileSize);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, how.tileSize);
    const size_t bytesPerPixel = rows[0].size() / width;  // whole bytes only
    std::vector<uint8_t> tile(TIFFTileSize(tif));
    for (uint32_t ty = 0; ty < static_cast<uint32_t>(height); ty += how.tileSize) {
      for (uint32_t tx = 0; tx < static_cast<uint32_t>(width); tx += how.tileSize) {
        std::fill(tile.begin(), tile.end(), 0);
        for (uint32_t r = 0; r < how.tileSize && ty + r < static_cast<uint32_t>(height); ++r) {
          const size_t n = std::min<size_t>(how.tileSize, width - tx) * bytesPerPixel;
          std::copy_n(rows[ty + r].begin() + tx * bytesPerPixel, n,
                      tile.begin() + r * how.tileSize * bytesPerPixel);
        }
        CheckTiff(TIFFWriteEncodedTile(tif, TIFFComputeTile(tif, tx, ty, 0, 0), tile.data(),
                                       static_cast<tmsize_t>(tile.size())) >= 0,
                  "tile");
      }
    }
  } else {
    const uint32_t rps = how.rowsPerStrip ? how.rowsPerStrip : height;
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rps);
    const int planes = how.planarSeparate ? spp : 1;
    const uint32_t stripsPerPlane = (height + rps - 1) / rps;
    for (int plane = 0; plane < planes; ++plane) {
      for (uint32_t s = 0; s < stripsPerPlane; ++s) {
        std::vector<uint8_t> strip;
        for (uint32_t y = s * rps; y < std::min<uint32_t>(height, (s + 1) * rps); ++y) {
          if (!how.planarSeparate) {
            strip.insert(strip.end(), rows[y].begin(), rows[y].end());
            continue;
          }
          for (int x = 0; x < width; ++x) strip.push_back(rows[y][x * spp + plane]);
        }
        CheckTiff(TIFFWriteEncodedStrip(tif, plane * stripsPerPlane + s, strip.data(),
                                        static_cast<tmsize_t>(strip.size())) >= 0,
                  "strip");
      }
    }
  }
  CheckTiff(TIFFWriteDirectory(tif), "directory");
  TIFFClose(tif);
}

std::vector<TiffDirectory> ReadTiffDirectories(const std::string& path) {
  std::vector<TiffDirectory> directories;
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr) return directories;
  do {
    TiffDirectory d;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &d.compression);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &d.photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &d.bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &d.samplesPerPixel);
    TIFFGetFieldDefaulted(tif, TIFFTAG_YCBCRSUBSAMPLING, &d.subsamplingH, &d.subsamplingV);
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &d.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &d.height);
    d.strips = TIFFNumberOfStrips(tif);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &d.xResolution);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &d.yResolution);
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &d.resolutionUnit);
    uint16_t *r, *g, *b;
    d.hasColormap = TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b) != 0;
    directories.push_back(d);
  } while (TIFFReadDirectory(tif));
  TIFFClose(tif);
  return directories;
}

std::vector<uint32_t> ReadTiffRgba(const std::string& path, int directory) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr || !TIFFSetDirectory(tif, directory)) {
    if (tif) TIFFClose(tif);
    return {};
  }
  uint32_t width = 0, height = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  std::vector<uint32_t> raster(static_cast<size_t>(width) * height);
  if (!TIFFReadRGBAImageOriented(tif, width, height, raster.data(), ORIENTATION_TOPLEFT, 0)) {
    raster.clear();
  }
  TIFFClose(tif);
  return raster;
}

std::vector<uint32_t> PixRgba(PIX* pix) {
  PixPtr rgb(pixConvertTo32(pix));
  std::vector<uint32_t> out;
  for (int y = 0; y < pixGetHeight(rgb.get()); ++y) {
    for (int x = 0; x < pixGetWidth(rgb.get()); ++x) {
      l_int32 r, g, b;
      pixGetRGBPixel(rgb.get(), x, y, &r, &g, &b);
      out.push_back(uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | 0xFF000000u);
    }
  }
  return out;
}

std::vector<uint8_t> ReadTiffRawStrip(const std::string& path, int directory) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  std::vector<uint8_t> bytes;
  if (tif != nullptr && TIFFSetDirectory(tif, directory)) {
    bytes.resize(TIFFGetStrileByteCount(tif, 0));
    bytes.resize(std::max<tmsize_t>(0, TIFFReadRawStrip(tif, 0, bytes.data(), bytes.size())));
  }
  if (tif) TIFFClose(tif);
  return bytes;
}

void WriteJpeg(const std::string& path, PIX* pix, int quality, int dpi, bool progressive,
               bool cmyk, int lumaH, int lumaV) {
  jpeg_compress_struct cinfo;
  JpegJump errors;
  cinfo.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JumpOnError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    throw std::runtime_error("libjpeg failed");
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &size);
  const bool colour = pixGetDepth(pix) == 32;
  cinfo.image_width = pixGetWidth(pix);
  cinfo.image_height = pixGetHeight(pix);
  cinfo.input_components = cmyk ? 4 : colour ? 3 : 1;
  cinfo.in_color_space = cmyk ? JCS_CMYK : colour ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  if (lumaH > 0 && lumaV > 0) {
    cinfo.comp_info[0].h_samp_factor = lumaH;
    cinfo.comp_info[0].v_samp_factor = lumaV;
  }
  cinfo.density_unit = 1;
  cinfo.X_density = cinfo.Y_density = static_cast<UINT16>(dpi);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(cinfo.image_width * cinfo.input_components);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < static_cast<int>(cinfo.image_width); ++x) {
      l_int32 r, g, b;
      if (!colour) {
        l_uint32 v;
        pixGetPixel(pix, x, y, &v);
        row[x] = static_cast<JSAMPLE>(v);
        continue;
      }
      pixGetRGBPixel(pix, x, y, &r, &g, &b);
      JSAMPLE* p = &row[x * cinfo.input_components];
      // Adobe CMYK is stored inverted: R, G, B and no black ink read as
      // the bytes R, G, B, 255.
      p[0] = r, p[1] = g, p[2] = b;
      if (cmyk) p[3] = 255;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
}

JpegHeader ReadJpegHeader(const std::string& path) {
  JpegHeader header;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return header;
  jpeg_decompress_struct cinfo;
  JpegJump errors;
  cinfo.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JumpOnError;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return JpegHeader{};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  header.width = cinfo.image_width;
  header.height = cinfo.image_height;
  header.components = cinfo.num_components;
  for (int i = 0; i < cinfo.num_components && i < 4; ++i) {
    header.hSampling[i] = cinfo.comp_info[i].h_samp_factor;
    header.vSampling[i] = cinfo.comp_info[i].v_samp_factor;
  }
  header.densityUnit = cinfo.density_unit;
  header.xDensity = cinfo.X_density;
  header.yDensity = cinfo.Y_density;
  header.ok = true;
  jpeg_destroy_decompress(&cinfo);
  std::fclose(file);
  return header;
}

void WriteImagePdf(const std::string& path, int pages, double widthPt, double heightPt,
                   int imageWidth, int imageHeight, const std::string& colourSpace) {
  std::ostringstream pdf;
  std::vector<long> offsets;
  auto object = [&](const std::string& body) {
    offsets.push_back(static_cast<long>(pdf.tellp()));
    pdf << offsets.size() << " 0 obj\n" << body << "\nendobj\n";
  };
  pdf << "%PDF-1.4\n";
  // 1 catalog, 2 page tree, 3 image, 4 content, 5.. pages
  std::string kids;
  for (int i = 0; i < pages; ++i) kids += std::to_string(5 + i) + " 0 R ";
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>");
  const int channels = colourSpace == "/DeviceRGB" ? 3 : 1;
  std::string samples;
  for (int y = 0; y < imageHeight; ++y) {
    for (int x = 0; x < imageWidth * channels; ++x) samples.push_back(static_cast<char>((x + y) & 0xFF));
  }
  object("<< /Type /XObject /Subtype /Image /Width " + std::to_string(imageWidth) +
         " /Height " + std::to_string(imageHeight) + " /ColorSpace " + colourSpace +
         " /BitsPerComponent 8 /Length " + std::to_string(samples.size()) + " >>\nstream\n" +
         samples + "\nendstream");
  std::ostringstream content;
  content << "q " << widthPt << " 0 0 " << heightPt << " 0 0 cm /Im0 Do Q";
  const std::string drawing = imageWidth > 0 ? content.str() : "0 0 m 10 10 l S";
  object("<< /Length " + std::to_string(drawing.size()) + " >>\nstream\n" + drawing +
         "\nendstream");
  std::ostringstream box;
  box << "[0 0 " << widthPt << " " << heightPt << "]";
  const std::string resources = imageWidth > 0 ? "/Resources << /XObject << /Im0 3 0 R >> >>" : "";
  for (int i = 0; i < pages; ++i) {
    object("<< /Type /Page /Parent 2 0 R /MediaBox " + box.str() + " " + resources +
           " /Contents 4 0 R >>");
  }
  const long xref = static_cast<long>(pdf.tellp());
  pdf << "xref\n0 " << offsets.size() + 1 << "\n0000000000 65535 f \n";
  for (long offset : offsets) {
    char line[21];
    std::snprintf(line, sizeof line, "%010ld 00000 n \n", offset);
    pdf << line;
  }
  pdf << "trailer\n<< /Size " << offsets.size() + 1 << " /Root 1 0 R >>\nstartxref\n"
      << xref << "\n%%EOF\n";
  std::ofstream(path, std::ios::binary) << pdf.str();
}

}  // namespace zelk::toolkittest
