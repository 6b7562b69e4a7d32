#pragma once
// Compressed stream data of the pages added to an open PDF document, kept
// on disk until the document is written.  Memory then holds one page's
// data at a time however long the document grows.
//
// The spool is an unnamed file in the output's directory (on the output's
// volume, where the document will need the same space anyway); it vanishes
// when closed, also after a crash.

#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zelk {

class PdfSpool : public QPDFObjectHandle::StreamDataProvider {
 public:
  explicit PdfSpool(const std::string& directory);
  ~PdfSpool() override;
  PdfSpool(const PdfSpool&) = delete;
  PdfSpool& operator=(const PdfSpool&) = delete;

  // Stores `data` as the stream data of the stream `stream` (an indirect
  // object); qpdf asks for it when it writes the document.
  void Store(const QPDFObjGen& stream, const std::vector<uint8_t>& data);

  void provideStreamData(QPDFObjGen const& stream, Pipeline* pipeline) override;

  uint64_t size() const { return size_; }

 private:
  struct Extent {
    uint64_t offset = 0;
    uint64_t length = 0;
  };
  int fd_ = -1;
  uint64_t size_ = 0;
  std::map<QPDFObjGen, Extent> extents_;
};

}  // namespace zelk
