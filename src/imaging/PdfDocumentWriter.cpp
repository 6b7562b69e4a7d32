#include "imaging/PdfArchive.h"
#include "imaging/PdfImageEncoder.h"
#include "imaging/PdfNumber.h"
#include "imaging/PdfSpool.h"
#include "imaging/PdfTextFont.h"
#include "imaging/PdfWriter.h"

#include "filesafety/OutputTransaction.h"
#include "imaging/FlateData.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace zelk {
namespace {

using Obj = QPDFObjectHandle;
namespace fs = std::filesystem;

constexpr int kDefaultDpi = 300;

std::string DirectoryOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

double ResolutionOf(int optionDpi, int pageDpi) {
  if (optionDpi > 0) return optionDpi;
  if (pageDpi > 0) return pageDpi;
  return kDefaultDpi;
}

Obj ImageDictionary(const PdfImage& image) {
  Obj dict = Obj::newDictionary();
  dict.replaceKey("/Type", Obj::newName("/XObject"));
  dict.replaceKey("/Subtype", Obj::newName("/Image"));
  dict.replaceKey("/Width", Obj::newInteger(image.width));
  dict.replaceKey("/Height", Obj::newInteger(image.height));
  dict.replaceKey("/ColorSpace", Obj::newName(image.rgb ? "/DeviceRGB" : "/DeviceGray"));
  dict.replaceKey("/BitsPerComponent", Obj::newInteger(image.bitsPerComponent));
  return dict;
}

Obj ImageFilter(const PdfImage& image) {
  switch (image.filter) {
    case PdfImageFilter::Flate: return Obj::newName("/FlateDecode");
    case PdfImageFilter::Ccitt: return Obj::newName("/CCITTFaxDecode");
    case PdfImageFilter::Dct: return Obj::newName("/DCTDecode");
  }
  return Obj::newNull();
}

Obj ImageDecodeParms(const PdfImage& image) {
  if (image.filter != PdfImageFilter::Ccitt) return Obj::newNull();
  Obj parms = Obj::newDictionary();
  parms.replaceKey("/K", Obj::newInteger(image.ccittK));
  parms.replaceKey("/Columns", Obj::newInteger(image.width));
  parms.replaceKey("/Rows", Obj::newInteger(image.height));
  if (image.ccittEndOfLine) parms.replaceKey("/EndOfLine", Obj::newBool(true));
  if (image.ccittBlackIs1) parms.replaceKey("/BlackIs1", Obj::newBool(true));
  return parms;
}

std::string Matrix(double a, double d, double e, double f) {
  return PdfNumber(a) + " 0 0 " + PdfNumber(d) + " " + PdfNumber(e) + " " + PdfNumber(f) +
         " cm\n";
}

// A file beside `outputPath` that no one else uses, created with the
// permissions a new output would get.  It is named like the output
// transaction's temporary files, so scans pass it over and the next run
// removes it should this process die while writing.
FILE* OpenTemporaryBeside(const std::string& outputPath, std::string& tempPath) {
  const int fd = CreateTemporaryBeside(outputPath, tempPath, O_WRONLY, 0666);
  if (fd >= 0) {
    if (FILE* file = ::fdopen(fd, "wb")) return file;
    const int error = errno;
    ::close(fd);
    ::unlink(tempPath.c_str());
    errno = error;
  }
  throw ImageError(ErrorKindOfErrno(errno, ErrorKind::WriteFailed), outputPath,
                   std::string("cannot create a temporary file beside it: ") + std::strerror(errno));
}

}  // namespace

PdfPagePlacement PagePlacementOf(int imageWidth, int imageHeight, int pageXDpi, int pageYDpi,
                                 const PdfPageOptions& options) {
  const double xDpi = ResolutionOf(options.xDpi, pageXDpi);
  const double yDpi = ResolutionOf(options.yDpi, pageYDpi);
  if (options.paper) {
    return FittedLayout(imageWidth, imageHeight, xDpi, yDpi, options.paper->width,
                        options.paper->height);
  }
  if (options.exactImageSize) return ImageSizeLayout(imageWidth, imageHeight, xDpi, yDpi);
  return StandardPaperLayout(imageWidth, imageHeight, xDpi, yDpi);
}

struct PdfDocumentWriter::State {
  std::string outputPath;
  std::string title;
  QPDF pdf;
  // What an existing document is to PDF/A; a new one is made PDF/A-1b as
  // this program's own are.
  PdfArchiveBase base = PdfArchiveBase::OwnArchive;
  // An existing PDF/A document's own title and creation date.
  std::optional<PdfDescription> description;
  std::shared_ptr<PdfSpool> spool;
  std::unique_ptr<PdfTextFont> font;
  int pageCount = 0;
  bool finished = false;

  Obj SpooledStream(const Obj& dict, const std::vector<uint8_t>& data, const Obj& filter,
                    const Obj& parms) {
    Obj stream = pdf.newStream();
    stream.replaceDict(dict);
    spool->Store(stream.getObjGen(), data);
    stream.replaceStreamData(spool, filter, parms);
    return stream;
  }
};

PdfDocumentWriter::PdfDocumentWriter(const std::string& outputPath, const std::string& startFrom,
                                     const std::string& title)
    : state_(std::make_unique<State>()) {
  state_->outputPath = outputPath;
  state_->title = DescriptionText(title.empty() ? fs::path(outputPath).stem().string() : title);
  state_->pdf.setSuppressWarnings(true);
  std::error_code error;
  if (!startFrom.empty() && fs::exists(startFrom, error)) {
    try {
      state_->pdf.processFile(startFrom.c_str());
      state_->pageCount =
          static_cast<int>(QPDFPageDocumentHelper(state_->pdf).getAllPages().size());
      state_->base = ClassifyArchiveBase(state_->pdf);
      state_->description = OwnArchiveDescription(state_->pdf);
    } catch (const std::exception& e) {
      throw ImageError(ErrorKind::Damaged, startFrom,
                       std::string("cannot add pages, not a readable PDF: ") + e.what());
    }
  } else {
    state_->pdf.emptyPDF();
  }
  state_->spool = std::make_shared<PdfSpool>(DirectoryOf(outputPath));
}

PdfDocumentWriter::~PdfDocumentWriter() = default;

void PdfDocumentWriter::AddPage(const Page& page, const SaveSpec& spec,
                                const PdfPageOptions& options) {
  if (state_->finished) throw std::logic_error("the PDF document is already written");
  AddImage(EncodePdfImage(page, spec), page.xDpi, page.yDpi,
           options);
}

void PdfDocumentWriter::AddImage(const PdfImage& image, int pageXDpi, int pageYDpi,
                                 const PdfPageOptions& options) {
  if (state_->finished) throw std::logic_error("the PDF document is already written");
  const PdfPagePlacement layout =
      PagePlacementOf(image.width, image.height, pageXDpi, pageYDpi, options);

  const bool hasText = options.text && !options.text->lines.empty();
  if (hasText && !state_->font) state_->font = std::make_unique<PdfTextFont>(state_->pdf);

  std::string textOps;
  if (hasText) {
    const std::string ops = TextLayerOperators(*options.text, image.width, image.height, "F0",
                                               state_->font->encoding());
    if (!ops.empty()) {
      textOps = "q\n" +
                Matrix(layout.imageWidth / image.width, layout.imageHeight / image.height,
                       layout.imageX, layout.imageY) +
                ops + "Q\n";
    }
  }
  const std::string imageOps = "q\n" +
                               Matrix(layout.imageWidth, layout.imageHeight, layout.imageX,
                                      layout.imageY) +
                               "/Im0 Do\nQ\n";
  const bool textFirst = options.textOrder == TextLayerOrder::TextUnderImage;
  const std::string content = textFirst ? textOps + imageOps : imageOps + textOps;

  Obj imageStream = state_->SpooledStream(ImageDictionary(image), image.data,
                                          ImageFilter(image), ImageDecodeParms(image));
  Obj contentStream = state_->SpooledStream(Obj::newDictionary(), FlateCompress(content),
                                            Obj::newName("/FlateDecode"), Obj::newNull());

  Obj resources = Obj::newDictionary();
  Obj xobjects = Obj::newDictionary();
  xobjects.replaceKey("/Im0", imageStream);
  resources.replaceKey("/XObject", xobjects);
  if (!textOps.empty()) {
    Obj fonts = Obj::newDictionary();
    fonts.replaceKey("/F0", state_->font->font());
    resources.replaceKey("/Font", fonts);
  }
  Obj mediaBox = Obj::newArray();
  mediaBox.appendItem(Obj::newInteger(0));
  mediaBox.appendItem(Obj::newInteger(0));
  mediaBox.appendItem(Obj::newReal(PdfNumber(layout.pageWidth)));
  mediaBox.appendItem(Obj::newReal(PdfNumber(layout.pageHeight)));

  Obj pageDict = Obj::newDictionary();
  pageDict.replaceKey("/Type", Obj::newName("/Page"));
  pageDict.replaceKey("/MediaBox", mediaBox);
  pageDict.replaceKey("/Resources", resources);
  pageDict.replaceKey("/Contents", contentStream);
  // A page recognised after turning the scan upright is shown turned the
  // same way; its text layer already lies on the image as stored.
  if (options.text && options.text->frame.Turns() != 0) {
    pageDict.replaceKey("/Rotate", Obj::newInteger(90 * options.text->frame.Turns()));
  }
  QPDFPageDocumentHelper(state_->pdf)
      .addPage(QPDFPageObjectHelper(state_->pdf.makeIndirectObject(pageDict)), false);
  ++state_->pageCount;
}

void PdfDocumentWriter::Finish() {
  if (state_->finished) throw std::logic_error("the PDF document is already written");
  state_->finished = true;
  if (state_->font) state_->font->UpdateToUnicode();
  // A new document, or one of this program's PDF/A documents, declares
  // PDF/A-1b with a fresh modification date; another program's PDF/A
  // keeps its description as it is.
  const bool archival = state_->base != PdfArchiveBase::NotArchive;
  if (state_->base == PdfArchiveBase::OwnArchive) {
    const PdfMoment now = PdfMomentOf(std::time(nullptr));
    PdfDescription description =
        state_->description.value_or(PdfDescription{state_->title, now, now});
    description.modified = now;
    DeclarePdfA(state_->pdf, description);
  }

  std::string tempPath;
  FILE* file = OpenTemporaryBeside(state_->outputPath, tempPath);
  auto discard = [&](ErrorKind kind, const std::string& detail) {
    if (file) std::fclose(file);
    ::unlink(tempPath.c_str());
    throw ImageError(kind, state_->outputPath, detail);
  };
  try {
    QPDFWriter writer(state_->pdf);
    writer.setOutputFile(tempPath.c_str(), file, false);
    // Stream data is copied as it stands: the new pages' data is already
    // compressed, and an existing document's streams are not re-encoded.
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setCompressStreams(false);
    // Each stream's data ends with a line break of its own before
    // "endstream", outside the stream's length, as PDF/A asks.
    writer.setNewlineBeforeEndstream(true);
    if (archival) {
      // PDF/A-1 is PDF 1.4: no object or cross-reference streams.
      writer.setObjectStreamMode(qpdf_o_disable);
      writer.forcePDFVersion("1.4");
    } else {
      writer.setMinimumPDFVersion("1.4");
    }
    writer.write();
  } catch (const std::exception& e) {
    discard(ErrorKind::WriteFailed, e.what());
  }
  if (state_->pdf.anyWarnings()) {
    // Some part of an existing document could not be copied: writing the
    // rest would lose it.
    const std::vector<QPDFExc> warnings = state_->pdf.getWarnings();
    discard(ErrorKind::Damaged,
            warnings.empty() ? std::string("unreadable data") : warnings.front().what());
  }
  if (std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0) {
    discard(ErrorKindOfErrno(errno, ErrorKind::WriteFailed), std::strerror(errno));
  }
  const int closed = std::fclose(file);
  file = nullptr;
  if (closed != 0) discard(ErrorKindOfErrno(errno, ErrorKind::WriteFailed), std::strerror(errno));
  std::error_code error;
  fs::rename(tempPath, state_->outputPath, error);
  if (error) discard(ErrorKindOfErrno(error.value(), ErrorKind::WriteFailed), error.message());
}

int PdfDocumentWriter::PageCount() const { return state_->pageCount; }

bool PdfDocumentWriter::Archival() const { return state_->base != PdfArchiveBase::NotArchive; }

unsigned long long PdfDocumentWriter::SpooledBytes() const { return state_->spool->size(); }

void SavePdfPage(const Page& page, const std::string& path, const SaveSpec& spec, bool append,
                 const PdfPageOptions& options) {
  PdfDocumentWriter writer(path, append ? path : std::string());
  writer.AddPage(page, spec, options);
  writer.Finish();
}

}  // namespace zelk
