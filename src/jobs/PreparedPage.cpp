#include "jobs/PreparedPage.h"

#include "imaging/PageReader.h"
#include "imaging/PdfImageEncoder.h"
#include "imaging/SaveFormat.h"
#include "imaging/SavePage.h"
#include "imaging/TiffWriter.h"

namespace zelk {
namespace {

constexpr int16_t kUnset = -1;

// Parameters a fresh chooser sets in full; nothing when it leaves one
// unset (the run thread's chooser then keeps a value of an earlier page)
// or fails.
template <typename Choose>
std::optional<SaveParameters> Predicted(Choose choose) {
  SaveParameters params{kUnset, kUnset, kUnset};
  try {
    choose(params);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (params.m_nSaveFormat == kUnset || params.m_nSaveBitsPerPixel == kUnset ||
      params.m_nSaveQFactor == kUnset) {
    return std::nullopt;
  }
  return params;
}

bool Same(const SaveParameters& a, const SaveParameters& b) {
  return a.m_nSaveFormat == b.m_nSaveFormat && a.m_nSaveBitsPerPixel == b.m_nSaveBitsPerPixel &&
         a.m_nSaveQFactor == b.m_nSaveQFactor;
}

}  // namespace

void PrepareTiff(PreparedPage& prepared, const Settings::ImageCompressSection& compress,
                 int16_t kind) {
  const Page& page = prepared.page;
  const std::optional<SaveParameters> params = Predicted([&](SaveParameters& p) {
    ChooseTifSaveFormat(p, compress, ProgramBitsPerPixel(page), kind);
  });
  if (!params || !IsTiffFormat(params->m_nSaveFormat)) return;
  try {
    prepared.tif = PreparedPage::Tiff{
        *params, EncodeTiffPage(page, params->Spec(), std::string())};
  } catch (const std::exception&) {
  }
}

void PreparePdf(PreparedPage& prepared, const Settings::ImageCompressSection& compress,
                std::string_view name) {
  const Page& page = prepared.page;
  const std::optional<SaveParameters> params = Predicted([&](SaveParameters& p) {
    ChoosePdfSaveFormat(p, compress, ProgramBitsPerPixel(page), name);
  });
  if (!params) return;
  try {
    prepared.pdf = PreparedPage::Pdf{
        *params, EncodePdfImage(page, params->Spec())};
  } catch (const std::exception&) {
  }
}

void SavePrepared(const PreparedPage& prepared, const SaveParameters& params,
                  const std::string& path, bool append) {
  const Page& page = prepared.page;
  if (prepared.tif && Same(prepared.tif->params, params)) {
    WriteTiffPage(*prepared.tif->strips, page.xDpi, page.yDpi, path, append);
    return;
  }
  SavePage(page, path, params.Spec(),
           append);
}

void AddPrepared(TiffDocumentWriter& writer, const PreparedPage& prepared,
                 const SaveParameters& params) {
  const Page& page = prepared.page;
  if (prepared.tif && Same(prepared.tif->params, params)) {
    writer.AddPage(*prepared.tif->strips, page.xDpi, page.yDpi);
    return;
  }
  writer.AddPage(*EncodeTiffPage(page, params.Spec(), writer.Path()),
                 page.xDpi, page.yDpi);
}

void AddPrepared(PdfDocumentWriter& writer, const PreparedPage& prepared,
                 const SaveParameters& params, const PdfPageOptions& options,
                 OfdDocumentWriter* twin) {
  const Page& page = prepared.page;
  if (prepared.pdf && Same(prepared.pdf->params, params)) {
    writer.AddImage(prepared.pdf->image, page.xDpi, page.yDpi, options);
    if (twin) twin->AddPage(page, prepared.pdf->image, options);
    return;
  }
  const PdfImage image = EncodePdfImage(page, params.Spec());
  writer.AddImage(image, page.xDpi, page.yDpi, options);
  if (twin) twin->AddPage(page, image, options);
}

}  // namespace zelk
