#include "workbook/ZipPackage.h"

#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "workbook/SheetRows.h"

namespace zelk {
namespace {

constexpr zip_uint64_t kMaxPartBytes = 256u * 1024 * 1024;

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

struct ZipFileClose {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

ZipPackage::ZipPackage(const std::string& path) : path_(path) {
  int code = 0;
  archive_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (archive_ == nullptr) {
    throw SheetReadError("cannot open " + path + " as a zip archive: " + ZipErrorText(code));
  }
}

ZipPackage::~ZipPackage() { zip_discard(archive_); }

bool ZipPackage::Has(const std::string& part) const {
  return zip_name_locate(archive_, part.c_str(), ZIP_FL_NOCASE) >= 0;
}

std::string ZipPackage::Read(const std::string& part) const {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(archive_, part.c_str(), ZIP_FL_NOCASE, &stat) != 0 ||
      (stat.valid & ZIP_STAT_SIZE) == 0) {
    throw SheetReadError(path_ + " has no part " + part);
  }
  if (stat.size > kMaxPartBytes) {
    throw SheetReadError("part " + part + " of " + path_ + " is too large");
  }
  const std::unique_ptr<zip_file_t, ZipFileClose> file(
      zip_fopen(archive_, part.c_str(), ZIP_FL_NOCASE));
  if (!file) throw SheetReadError("cannot open part " + part + " of " + path_);
  std::string bytes(static_cast<std::size_t>(stat.size), '\0');
  zip_uint64_t done = 0;
  while (done < stat.size) {
    const zip_int64_t got = zip_fread(file.get(), bytes.data() + done, stat.size - done);
    if (got <= 0) throw SheetReadError("cannot inflate part " + part + " of " + path_);
    done += static_cast<zip_uint64_t>(got);
  }
  return bytes;
}

std::string ResolvePartName(const std::string& sourcePart, const std::string& target) {
  std::string joined;
  if (!target.empty() && target.front() == '/') {
    joined = target;
  } else {
    const auto slash = sourcePart.rfind('/');
    joined =
        (slash == std::string::npos ? std::string() : sourcePart.substr(0, slash + 1)) + target;
  }
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= joined.size()) {
    const auto end = std::min(joined.find('/', start), joined.size());
    const std::string segment = joined.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string resolved;
  for (const auto& segment : segments) {
    if (!resolved.empty()) resolved += '/';
    resolved += segment;
  }
  return resolved;
}

}  // namespace zelk
