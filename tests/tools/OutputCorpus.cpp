// zelk-output-corpus DIR
//
// Writes the fixed source tree on which tests/compare_outputs.sh runs two
// builds of the program and compares what they write.  Every byte follows
// from the code below and the system's libraries and font (fixed seeds,
// fixed text, Leptonica's writers rather than the program's own), so two
// builds of this tool on one machine write the same tree.
//
//   DIR/images  for merge, split, single-layer PDF and rename:
//     档案/2023-01/   three bitonal A4 scans, CCITT G4 TIFF (001, 002, 010:
//                     natural order puts 010 last)
//     档案/2023-02/   a bitonal scan, a colour and a grey JPEG, a grey PNG
//     photos/         colour JPEGs at 150 and 96 dpi, a grey JPEG
//     bound/          a three-page TIFF (G4, grey LZW, colour LZW) and a
//                     text file that is no image
//   DIR/text    for dual-layer PDF and Word, three A4 pages at 300 dpi:
//     中文/           two bitonal G4 pages of Chinese with English lines
//     colour/         a colour JPEG page: a coloured heading, a shaded box,
//                     body text and a ruling line
//
// The text pages are kept short so that the recognition runs of a whole
// comparison take minutes, not hours.

#include <leptonica/allheaders.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchCorpus.h"
#include "RecognitionCorpus.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

constexpr int kPhotoDpi = 150;

void Check(int failed, const fs::path& path) {
  if (failed != 0) throw std::runtime_error("cannot write " + path.string());
}

fs::path Prepared(const fs::path& path) {
  fs::create_directories(path.parent_path());
  return path;
}

void WriteG4(const fs::path& path, PIX* pix) {
  Check(pixWriteTiff(Prepared(path).c_str(), pix, IFF_TIFF_G4, "w"), path);
}

void WriteJpeg(const fs::path& path, PIX* pix, int quality) {
  Check(pixWriteJpeg(Prepared(path).c_str(), pix, quality, 0), path);
}

void WritePng(const fs::path& path, PIX* pix) {
  Check(pixWritePng(Prepared(path).c_str(), pix, 0.0f), path);
}

// A bitonal A4 page of text-like marks at 300 dpi.
PixPtr BitonalScan(unsigned seed) {
  Page page = bench::TextLikePage(seed);
  pixSetResolution(page.pix.get(), bench::kA4Dpi, bench::kA4Dpi);
  return std::move(page.pix);
}

// A colour photo-like page: the benchmark's A4 colour page at half size.
PixPtr ColourPhoto(unsigned seed, int dpi) {
  const Page page = bench::ColourPage(seed);
  PixPtr pix(pixScaleBySampling(page.pix.get(), 0.5f, 0.5f));
  pixSetResolution(pix.get(), dpi, dpi);
  return pix;
}

PixPtr GreyPhoto(unsigned seed) {
  const PixPtr colour = ColourPhoto(seed, kPhotoDpi);
  PixPtr grey(pixConvertRGBToLuminance(colour.get()));
  pixSetResolution(grey.get(), kPhotoDpi, kPhotoDpi);
  return grey;
}

// The first `count` lines of a page of the recognition benchmark's text.
std::vector<std::string> Lines(const std::vector<std::string>& page, std::size_t count) {
  return {page.begin(), page.begin() + static_cast<std::ptrdiff_t>(std::min(count, page.size()))};
}

PixPtr TextScan(const std::vector<std::string>& lines) {
  ocrtest::TextPageSpec spec;
  spec.width = bench::kA4Width;
  spec.height = bench::kA4Height;
  spec.margin = 236;
  spec.lines = lines;
  return ocrtest::Binarize(ocrtest::RenderTextPage(spec));
}

// A coloured notice: heading in dark red, a pale blue box holding two
// lines, body text below and a rule under the heading.
PixPtr ColourNotice(const std::vector<std::string>& body, int width, int height, int dpi) {
  const double scale = static_cast<double>(dpi) / bench::kA4Dpi;
  const auto at = [scale](int pixels) { return static_cast<int>(pixels * scale); };
  ocrtest::LayoutPageSpec spec;
  spec.width = width;
  spec.height = height;
  spec.dpi = dpi;
  spec.paper = Rgb{250, 248, 240};
  spec.fills.push_back({at(220), at(560), at(2260), at(820), Rgb{205, 225, 245}});
  spec.blocks.push_back({at(240), at(260), at(88), 1.5, Rgb{150, 20, 20},
                         {"关于档案数字化工作的通知", "Notice on Archive Scanning"}});
  spec.blocks.push_back({at(260), at(600), at(44), 1.8, Rgb{20, 40, 110},
                         {"扫描图像统一转换为PDF文件，并保存在原目录中。",
                          "Every page keeps its image and a searchable text layer."}});
  spec.blocks.push_back({at(240), at(960), at(44), 1.8, kBlackInk, body});
  spec.rules.push_back({at(220), at(520), at(2260), at(520), 4});
  PixPtr pix = ocrtest::RenderLayoutPage(spec);
  pixSetResolution(pix.get(), dpi, dpi);
  return pix;
}

void WriteImages(const fs::path& root) {
  const fs::path first = root / "档案" / "2023-01";
  WriteG4(first / "001.tif", BitonalScan(1).get());
  WriteG4(first / "002.tif", BitonalScan(2).get());
  WriteG4(first / "010.tif", BitonalScan(3).get());

  const fs::path second = root / "档案" / "2023-02";
  WriteG4(second / "a.tif", BitonalScan(4).get());
  WriteJpeg(second / "b.jpg", ColourPhoto(5, kPhotoDpi).get(), 80);
  WriteJpeg(second / "c.jpg", GreyPhoto(6).get(), 75);
  WritePng(second / "d.png", GreyPhoto(7).get());

  const fs::path photos = root / "photos";
  WriteJpeg(photos / "p1.jpg", ColourPhoto(8, kPhotoDpi).get(), 90);
  WriteJpeg(photos / "p2.jpg", ColourPhoto(9, 96).get(), 60);
  WriteJpeg(photos / "p3.jpg", GreyPhoto(10).get(), 75);

  const fs::path bound = root / "bound";
  std::vector<PixPtr> pages;
  pages.push_back(BitonalScan(11));
  ocrtest::TextPageSpec grey;
  grey.lines = {"登记簿 第二页", "Register, page two"};
  pages.push_back(ocrtest::RenderTextPage(grey));
  pages.push_back(ColourNotice({"第三页"}, bench::kA4Width / 2, bench::kA4Height / 2, kPhotoDpi));
  ocrtest::WriteMultipageTiff(Prepared(bound / "register.tif").string(), pages);
  std::ofstream notes(bound / "notes.txt", std::ios::binary);
  notes << "not an image\r\n";
  if (!notes) throw std::runtime_error("cannot write " + (bound / "notes.txt").string());
}

void WriteText(const fs::path& root) {
  const std::vector<std::vector<std::string>> text = bench::CorpusText(3);
  WriteG4(root / "中文" / "page01.tif", TextScan(Lines(text[0], 12)).get());
  WriteG4(root / "中文" / "page02.tif", TextScan(Lines(text[1], 8)).get());
  WriteJpeg(root / "colour" / "notice.jpg",
            ColourNotice(Lines(text[2], 6), bench::kA4Width, bench::kA4Height, bench::kA4Dpi).get(),
            85);
}

}  // namespace
}  // namespace zelk

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: zelk-output-corpus DIR  (DIR must not exist or be empty)\n";
    return 2;
  }
  const std::filesystem::path root = argv[1];
  try {
    if (std::filesystem::exists(root) && !std::filesystem::is_empty(root)) {
      std::cerr << "zelk-output-corpus: " << root.string() << " is not empty\n";
      return 2;
    }
    zelk::WriteImages(root / "images");
    zelk::WriteText(root / "text");
  } catch (const std::exception& e) {
    std::cerr << "zelk-output-corpus: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
