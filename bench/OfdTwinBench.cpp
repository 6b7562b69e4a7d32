// Writing the OFD twin beside a PDF: A4 pages at 300 dpi from the G4 and
// the colour JPEG page sets, written to a PDF alone and to a PDF with its
// OFD twin, one writer each per document, the way the jobs write them.
// Prints clock and CPU time, peak memory and the size of the outputs.
// Usage: ofd_twin_bench [pages=200] [work directory]

#include "BenchCorpus.h"
#include "BenchRun.h"

#include "imaging/PageReader.h"
#include "imaging/PdfWriter.h"
#include "imaging/SaveFormat.h"
#include "ofd/OfdWriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

using namespace zelk;
using namespace zelk::bench;

namespace {

constexpr int kDistinctPages = 20;
constexpr int kCorpusJpegFactor = 70;

int Write(const std::vector<std::string>& corpus, int pages, int code, int bits, int factor,
          const std::string& pdfPath, bool twin) {
  try {
    PdfDocumentWriter pdf(pdfPath);
    std::optional<OfdDocumentWriter> ofd;
    if (twin) ofd.emplace(pdfPath.substr(0, pdfPath.size() - 3) + "ofd");
    PdfPageOptions options;
    options.exactImageSize = false;
    for (int i = 0; i < pages; ++i) {
      const Page page = LoadPage(corpus[static_cast<std::size_t>(i) % corpus.size()], 0);
      const PdfImage image = EncodePdfImage(page, SaveSpec{code, bits, factor});
      pdf.AddImage(image, page.xDpi, page.yDpi, options);
      if (ofd) ofd->AddPage(page, image, options);
    }
    pdf.Finish();
    if (ofd) ofd->Finish();
  } catch (const std::exception& e) {
    std::printf("  %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const BenchArguments arguments = BenchArgumentsOf(argc, argv, 200, "zelk-bench-ofd");
  const int pages = arguments.pages;
  const std::string& work = arguments.work;
  const auto g4 = WriteCorpus(work + "/g4", kDistinctPages, false, kTiffCcittG4, 1, 128);
  const auto jpeg =
      WriteCorpus(work + "/jpeg", kDistinctPages, true, kJpeg422, 24, kCorpusJpegFactor);
  struct Set {
    const char* name;
    const std::vector<std::string>* corpus;
    int code, bits, factor;
  };
  for (const Set& set : {Set{"G4 pages", &g4, kPdfCcittG4, 1, 128},
                         Set{"colour JPEG pages", &jpeg, kPdfJpeg422, 24, kCorpusJpegFactor}}) {
    for (bool twin : {false, true}) {
      const std::string dir = work + "/out-" + std::to_string(set.code) + (twin ? "-ofd" : "");
      std::filesystem::remove_all(dir);
      std::filesystem::create_directories(dir);
      const std::string name = std::string(set.name) + (twin ? ": PDF + OFD twin" : ": PDF alone");
      std::printf("%s\n", name.c_str());
      PrintFigures(name, pages, RunInChild([&] {
                     return Write(*set.corpus, pages, set.code, set.bits, set.factor,
                                  dir + "/out.pdf", twin);
                   }),
                   dir);
    }
  }
  return 0;
}
