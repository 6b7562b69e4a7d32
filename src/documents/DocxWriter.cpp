// The DOCX writer: the package parts zipped with libzip.  libzip builds the
// archive in a temporary file beside the target and renames it into place
// only when the archive is complete, so a failure leaves no partial package.

#include <zip.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "documents/DocxWriterBody.h"
#include "documents/DocxWriterParts.h"
#include "documents/WordWriters.h"
#include "documents/WordWriterSupport.h"
#include "platform/ErrorKind.h"

namespace zelk {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
  throw KindedError(ErrorKind::WriteFailed, path, "cannot write the DOCX document: " + reason);
}

std::string ArchiveError(zip_t* archive) { return zip_strerror(archive); }

// Adds one part; the part's text must live until the archive is closed.
void AddPart(zip_t* archive, const DocxPart& part, const std::string& path) {
  zip_source_t* source = zip_source_buffer(archive, part.xml.data(), part.xml.size(), 0);
  if (source == nullptr) Fail(path, ArchiveError(archive));
  const zip_int64_t index =
      zip_file_add(archive, part.name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    Fail(path, ArchiveError(archive));
  }
  if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) != 0) {
    Fail(path, ArchiveError(archive));
  }
}

}  // namespace

void WriteDocxDocument(const WordDocument& document, const std::string& path) {
  std::vector<DocxPart> pictures;
  std::string body = DocxDocumentXml(document, pictures);
  std::vector<DocxMedia> media;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    media.push_back(DocxMedia{pictures[i].name, "rIdPicture" + std::to_string(i + 1)});
  }
  std::vector<DocxPart> parts = DocxPackageParts(HalfPoints(document.defaultFontSize, 10.5), media);
  // The content types come first in the archive, as readers that sniff the
  // package expect; the main document follows.
  parts.insert(parts.begin() + 1, DocxPart{kDocxDocumentPart, std::move(body)});
  for (DocxPart& picture : pictures) parts.push_back(std::move(picture));

  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) {
    zip_error_t reason;
    zip_error_init_with_code(&reason, error);
    const std::string text = zip_error_strerror(&reason);
    zip_error_fini(&reason);
    Fail(path, text);
  }
  try {
    for (const DocxPart& part : parts) AddPart(archive, part, path);
  } catch (...) {
    zip_discard(archive);
    throw;
  }
  if (zip_close(archive) != 0) {
    const std::string reason = ArchiveError(archive);
    zip_discard(archive);
    Fail(path, reason);
  }
}

}  // namespace zelk
