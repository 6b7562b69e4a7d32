#include "ofd/OfdWriter.h"

#include "filesafety/DurableFiles.h"
#include "filesafety/OutputTransaction.h"
#include "ofd/OfdImageFile.h"
#include "ofd/OfdPackage.h"
#include "ofd/OfdPageContent.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <filesystem>

namespace zelk {
namespace {

namespace fs = std::filesystem;

// A file beside the output holding the new pages' files until the package
// is written.  It is named like the output transaction's temporary files,
// so the next run removes it should this process die meanwhile.
class OfdSpool {
 public:
  explicit OfdSpool(const std::string& outputPath)
      : fd_(CreateTemporaryBeside(outputPath, path_, O_RDWR, 0600)) {
    if (fd_ < 0) {
      throw ImageError(ErrorKindOfErrno(errno, ErrorKind::WriteFailed), outputPath,
                       std::string("cannot create a temporary file beside it: ") + std::strerror(errno));
    }
  }
  ~OfdSpool() {
    ::close(fd_);
    ::unlink(path_.c_str());
  }
  OfdSpool(const OfdSpool&) = delete;
  OfdSpool& operator=(const OfdSpool&) = delete;

  // Appends `bytes`; returns where they start.
  unsigned long long Store(const void* bytes, std::size_t length) {
    const unsigned long long offset = size_;
    if (!WriteAllBytes(fd_, std::string_view(static_cast<const char*>(bytes), length))) {
      throw ImageError(ErrorKindOfErrno(errno, ErrorKind::WriteFailed), path_,
                       std::string("cannot write the OFD spool file: ") + std::strerror(errno));
    }
    size_ += length;
    return offset;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  unsigned long long size_ = 0;
};

}  // namespace

struct OfdDocumentWriter::State {
  std::string outputPath;
  std::unique_ptr<OfdPackage> package;
  std::unique_ptr<OfdSpool> spool;
  bool finished = false;
};

OfdDocumentWriter::OfdDocumentWriter(const std::string& outputPath, const std::string& startFrom,
                                     const std::string& title)
    : state_(std::make_unique<State>()) {
  state_->outputPath = outputPath;
  std::error_code error;
  const bool existing = !startFrom.empty() && fs::exists(startFrom, error);
  state_->package = std::make_unique<OfdPackage>(
      existing ? startFrom : std::string(),
      title.empty() ? fs::path(outputPath).stem().string() : title);
  state_->spool = std::make_unique<OfdSpool>(outputPath);
}

OfdDocumentWriter::~OfdDocumentWriter() = default;

void OfdDocumentWriter::AddPage(const Page& page, const PdfImage& image,
                                const PdfPageOptions& options) {
  if (state_->finished) throw std::logic_error("the OFD document is already written");
  OfdPackage& package = *state_->package;
  const OfdImageFile file = OfdImageFileOf(page, image);
  const unsigned long long at = state_->spool->Store(file.bytes.data(), file.bytes.size());
  OfdPageDrawing drawing;
  const int turns = options.text ? options.text->frame.Turns() : 0;
  drawing.layout = OfdLayoutOf(
      PagePlacementOf(image.width, image.height, page.xDpi, page.yDpi, options), turns);
  drawing.imageResource = package.AddImage(file.format, file.extension, at, file.bytes.size());
  drawing.imageWidth = image.width;
  drawing.imageHeight = image.height;
  drawing.text = options.text;
  // Text set in columns has no invisible layer in the OFD twin yet: its
  // lines would need a turned TextObject each.
  if (options.text && !options.text->frame.columns) {
    drawing.lines = PlaceTextLines(*options.text, image.width, image.height);
  }
  drawing.textOrder = options.textOrder;
  if (!drawing.lines.empty()) drawing.font = package.TextFont();
  const unsigned pageId = package.NextId();
  const std::string content = OfdPageContentXml(drawing, [&package] { return package.NextId(); });
  const unsigned long long contentAt = state_->spool->Store(content.data(), content.size());
  package.AddPage(pageId, drawing.layout, contentAt, content.size());
}

void OfdDocumentWriter::Finish() {
  if (state_->finished) throw std::logic_error("the OFD document is already written");
  state_->finished = true;
  state_->package->Write(state_->outputPath, state_->spool->path());
}

int OfdDocumentWriter::PageCount() const { return state_->package->PageCount(); }

}  // namespace zelk
