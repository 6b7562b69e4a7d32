#include "imaging/PdfPageReader.h"

#include "imaging/ImageLimits.h"
#include "imaging/LibraryMessages.h"
#include "imaging/PackedRows.h"
#include "imaging/PageRange.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFSystemError.hh>

#include <algorithm>
#include <fstream>
#include <cmath>
#include <memory>
#include <mutex>

namespace zelk {
namespace {

constexpr int kDefaultDpi = 300;
constexpr int kMinDpi = 72;
constexpr int kMaxDpi = 1200;

enum class Colours { Bitonal, Grey, Colour };

struct PageSurvey {
  double widthPt = 0;   // crop box, before the page's rotation
  double heightPt = 0;
  long long imageWidth = 0;  // the largest image, 0 when there is none
  long long imageHeight = 0;
  Colours colours = Colours::Colour;
};

// One component per pixel: DeviceGray, CalGray or a one-channel ICC profile.
bool IsGreyColourSpace(QPDFObjectHandle space) {
  if (space.isName()) return space.getName() == "/DeviceGray" || space.getName() == "/CalGray";
  if (space.isArray() && space.getArrayNItems() >= 2) {
    QPDFObjectHandle family = space.getArrayItem(0);
    if (family.isName() && family.getName() == "/CalGray") return true;
    if (family.isName() && family.getName() == "/ICCBased") {
      QPDFObjectHandle profile = space.getArrayItem(1);
      return profile.isStream() && profile.getDict().getKey("/N").isInteger() &&
             profile.getDict().getKey("/N").getIntValue() == 1;
    }
  }
  return false;
}

bool HasFilter(QPDFObjectHandle dict, const std::string& name) {
  QPDFObjectHandle filter = dict.getKey("/Filter");
  if (filter.isName()) return filter.getName() == name;
  if (filter.isArray()) {
    for (int i = 0; i < filter.getArrayNItems(); ++i) {
      if (filter.getArrayItem(i).isName() && filter.getArrayItem(i).getName() == name) return true;
    }
  }
  return false;
}

Colours ImageColours(QPDFObjectHandle dict) {
  const bool mask = dict.getKey("/ImageMask").isBool() && dict.getKey("/ImageMask").getBoolValue();
  QPDFObjectHandle bits = dict.getKey("/BitsPerComponent");
  const bool oneBit = bits.isInteger() && bits.getIntValue() == 1;
  QPDFObjectHandle space = dict.getKey("/ColorSpace");
  const bool grey = space.isNull() || IsGreyColourSpace(space);
  if (mask || HasFilter(dict, "/CCITTFaxDecode") || HasFilter(dict, "/JBIG2Decode") ||
      (oneBit && grey)) {
    return Colours::Bitonal;
  }
  return grey ? Colours::Grey : Colours::Colour;
}

PageSurvey SurveyPage(QPDFPageObjectHelper& page) {
  PageSurvey survey;
  QPDFObjectHandle box = page.getCropBox();
  if (!box.isRectangle()) throw std::runtime_error("the page has no valid size");
  const QPDFObjectHandle::Rectangle rect = box.getArrayAsRectangle();
  survey.widthPt = std::abs(rect.urx - rect.llx);
  survey.heightPt = std::abs(rect.ury - rect.lly);
  page.forEachImage(true, [&](QPDFObjectHandle& image, QPDFObjectHandle&, const std::string&) {
    QPDFObjectHandle dict = image.getDict();
    QPDFObjectHandle w = dict.getKey("/Width"), h = dict.getKey("/Height");
    if (!w.isInteger() || !h.isInteger()) return;
    const long long width = w.getIntValue(), height = h.getIntValue();
    if (width <= 0 || height <= 0) return;
    if (width * height > survey.imageWidth * survey.imageHeight) {
      survey.imageWidth = width;
      survey.imageHeight = height;
      survey.colours = ImageColours(dict);
    }
  });
  return survey;
}

// The largest image's resolution if it filled the page (turned a quarter
// when its shape says it is drawn across), kept within sane bounds and
// within the toolkit's pixel limits.
int RenderDpi(const PageSurvey& s) {
  double dpi = kDefaultDpi;
  if (s.imageWidth > 0) {
    const bool sameShape = (s.imageWidth >= s.imageHeight) == (s.widthPt >= s.heightPt);
    const double across = sameShape ? s.widthPt : s.heightPt;
    const double down = sameShape ? s.heightPt : s.widthPt;
    dpi = std::max(s.imageWidth * 72.0 / across, s.imageHeight * 72.0 / down);
    dpi = std::clamp(std::round(dpi), double{kMinDpi}, double{kMaxDpi});
  }
  const double longSide = std::max(s.widthPt, s.heightPt) / 72.0;
  const double areaSquareInches = s.widthPt * s.heightPt / (72.0 * 72.0);
  dpi = std::min(dpi, std::floor(kMaxImageSide / longSide));
  dpi = std::min(dpi, std::floor(std::sqrt(kMaxImagePixels / areaSquareInches)));
  return static_cast<int>(dpi);
}

struct Planned {
  PageSurvey survey;
  int dpi = kDefaultDpi;
};

// Whether the file starts (within its first kilobyte, as readers allow)
// with a PDF header: a file without one is some other format.
bool HasPdfHeader(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(1024, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return head.find("%PDF-") != std::string::npos;
}

// The kind of a qpdf failure, by its error code.
ErrorKind KindOf(const QPDFExc& error) {
  switch (error.getErrorCode()) {
    case qpdf_e_password: return ErrorKind::Protected;
    case qpdf_e_unsupported: return ErrorKind::Unsupported;
    case qpdf_e_system: return ErrorKind::Unreadable;
    default: return ErrorKind::Damaged;
  }
}

// Runs `body` on the file's pages, turning qpdf's failures into ImageError.
template <typename Body>
auto WithPages(const std::string& path, Body body) {
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str());
    std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
    return body(pages);
  } catch (const ImageError&) {
    throw;
  } catch (const QPDFExc& e) {
    throw ImageError(HasPdfHeader(path) ? KindOf(e) : ErrorKind::NotThatFormat, path, e.what());
  } catch (const QPDFSystemError& e) {
    throw ImageError(ErrorKindOfErrno(e.getErrno(), ErrorKind::Unreadable), path, e.what());
  } catch (const std::bad_alloc&) {
    throw ImageError(ErrorKind::OutOfMemory, path, "out of memory while reading the PDF");
  } catch (const std::exception& e) {
    throw ImageError(ErrorKind::Damaged, path, e.what());
  }
}

Planned PlanPage(const std::string& path, int pageIndex) {
  return WithPages(path, [&](std::vector<QPDFPageObjectHelper>& pages) {
    if (pageIndex >= static_cast<int>(pages.size())) {
      ThrowPageBeyondEnd(path, pageIndex + 1, static_cast<int>(pages.size()));
    }
    Planned plan;
    plan.survey = SurveyPage(pages[pageIndex]);
    if (plan.survey.widthPt < 1 || plan.survey.heightPt < 1) {
      throw ImageError(ErrorKind::Damaged, path,
                       "page " + std::to_string(pageIndex + 1) + " has no size");
    }
    plan.dpi = RenderDpi(plan.survey);
    return plan;
  });
}

// Poppler keeps process-wide state (fonts, caches); pages of PDF sources
// are rendered one at a time.
std::mutex& PopplerMutex() {
  static std::mutex mutex;
  return mutex;
}

PixPtr Render(const std::string& path, int pageIndex, const Planned& plan) {
  std::lock_guard<std::mutex> lock(PopplerMutex());
  std::unique_ptr<poppler::document> doc(poppler::document::load_from_file(path));
  if (!doc) throw ImageError(ErrorKind::Damaged, path, "poppler cannot open the PDF file");
  if (doc->is_locked()) throw ImageError(ErrorKind::Protected, path, "the PDF file is locked");
  std::unique_ptr<poppler::page> page(doc->create_page(pageIndex));
  if (!page) {
    throw ImageError(ErrorKind::Damaged, path, "cannot open page " + std::to_string(pageIndex + 1));
  }

  const bool colour = plan.survey.colours == Colours::Colour;
  const bool smooth = plan.survey.colours != Colours::Bitonal;
  poppler::page_renderer renderer;
  renderer.set_image_format(colour ? poppler::image::format_bgr24 : poppler::image::format_gray8);
  renderer.set_render_hint(poppler::page_renderer::antialiasing, smooth);
  renderer.set_render_hint(poppler::page_renderer::text_antialiasing, smooth);
  const poppler::image image = renderer.render_page(page.get(), plan.dpi, plan.dpi);
  if (!image.is_valid()) {
    throw ImageError(ErrorKind::Damaged, path, "cannot render page " + std::to_string(pageIndex + 1));
  }
  CheckImageSize(image.width(), image.height(), path);

  PixPtr pix(pixCreate(image.width(), image.height(), colour ? 32 : 8));
  if (!pix) throw ImageError(ErrorKind::OutOfMemory, path, "no memory for the page");
  const auto* data = reinterpret_cast<const uint8_t*>(image.const_data());
  for (int y = 0; y < image.height(); ++y) {
    const uint8_t* row = data + static_cast<long long>(y) * image.bytes_per_row();
    if (!colour) {
      StorePackedRow(pix.get(), y, row, 8, 1, false);
      continue;
    }
    l_uint32* line = pixGetData(pix.get()) + static_cast<long long>(y) * pixGetWpl(pix.get());
    for (int x = 0; x < image.width(); ++x) {
      composeRGBPixel(row[3 * x + 2], row[3 * x + 1], row[3 * x], line + x);
    }
  }
  if (plan.survey.colours == Colours::Bitonal) pix.reset(pixThresholdToBinary(pix.get(), 128));
  if (!pix) throw ImageError(ErrorKind::OutOfMemory, path, "no memory for the page");
  return pix;
}

}  // namespace

Page LoadPdfPage(const std::string& path, int pageIndex) {
  SilenceImageLibraries();
  const Planned plan = PlanPage(path, pageIndex);
  Page page;
  page.pix = Render(path, pageIndex, plan);
  page.xDpi = page.yDpi = plan.dpi;
  pixSetResolution(page.pix.get(), plan.dpi, plan.dpi);
  return page;
}

int CountPdfPages(const std::string& path) {
  return WithPages(path, [&](std::vector<QPDFPageObjectHelper>& pages) {
    if (pages.empty()) throw ImageError(ErrorKind::NoPage, path, "the PDF file has no pages");
    return static_cast<int>(pages.size());
  });
}

}  // namespace zelk
