#include "imaging/PdfArchive.h"

#include "imaging/FlateData.h"
#include "imaging/SrgbProfile.h"

#include <qpdf/QPDFObjectHandle.hh>

namespace zelk {
namespace {

using Obj = QPDFObjectHandle;

constexpr const char* kSrgbName = "sRGB IEC61966-2.1";

std::string MetadataText(QPDF& pdf) {
  Obj metadata = pdf.getRoot().getKey("/Metadata");
  if (!metadata.isStream()) return {};
  try {
    const std::shared_ptr<Buffer> data = metadata.getStreamData(qpdf_dl_generalized);
    return std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
  } catch (const std::exception&) {
    return {};
  }
}

bool ClaimsPdfA1b(QPDF& pdf) {
  const PdfAClaim claim = PdfAClaimOf(MetadataText(pdf));
  return claim.part == "1" && claim.conformance == "B";
}

// Whether the document's PDF/A output intent is an RGB profile, under which
// the device grey and RGB images of the pages added keep their meaning.
bool HasRgbArchiveIntent(QPDF& pdf) {
  Obj intents = pdf.getRoot().getKey("/OutputIntents");
  if (!intents.isArray()) return false;
  for (Obj intent : intents.aitems()) {
    if (!intent.isDictionary() || !intent.getKey("/S").isNameAndEquals("/GTS_PDFA1")) continue;
    Obj profile = intent.getKey("/DestOutputProfile");
    if (!profile.isStream()) return false;
    Obj components = profile.getDict().getKey("/N");
    return components.isInteger() && components.getIntValue() == 3;
  }
  return false;
}

std::string InfoText(QPDF& pdf, const char* key) {
  // Asking a missing dictionary for a key would count as damage (a warning).
  Obj info = pdf.getTrailer().getKey("/Info");
  if (!info.isDictionary()) return {};
  Obj value = info.getKey(key);
  return value.isString() ? value.getUTF8Value() : std::string();
}

bool WrittenHere(QPDF& pdf) {
  const std::string producer = InfoText(pdf, "/Producer");
  const std::string ours = std::string(kPdfCreatorTool) + " ";
  return producer.compare(0, ours.size(), ours) == 0;
}

Obj OutputIntent(QPDF& pdf) {
  const std::vector<uint8_t>& icc = SrgbIccProfile();
  const std::vector<uint8_t> compressed = FlateCompress(icc.data(), icc.size());
  Obj profile = pdf.newStream(std::string(compressed.begin(), compressed.end()));
  profile.getDict().replaceKey("/N", Obj::newInteger(3));
  profile.getDict().replaceKey("/Filter", Obj::newName("/FlateDecode"));

  Obj intent = Obj::newDictionary();
  intent.replaceKey("/Type", Obj::newName("/OutputIntent"));
  intent.replaceKey("/S", Obj::newName("/GTS_PDFA1"));
  intent.replaceKey("/OutputConditionIdentifier", Obj::newString(kSrgbName));
  intent.replaceKey("/RegistryName", Obj::newString("http://www.color.org"));
  intent.replaceKey("/Info", Obj::newString(kSrgbName));
  intent.replaceKey("/DestOutputProfile", profile);
  return pdf.makeIndirectObject(intent);
}

Obj MetadataStream(QPDF& pdf, const PdfDescription& description) {
  // Left unfiltered: PDF/A-1 wants the packet readable as it stands.
  Obj metadata = pdf.newStream(XmpPacket(description));
  metadata.getDict().replaceKey("/Type", Obj::newName("/Metadata"));
  metadata.getDict().replaceKey("/Subtype", Obj::newName("/XML"));
  return metadata;
}

Obj InformationDictionary(QPDF& pdf, const PdfDescription& description) {
  Obj info = Obj::newDictionary();
  info.replaceKey("/Title", Obj::newUnicodeString(description.title));
  info.replaceKey("/Creator", Obj::newUnicodeString(std::string(kPdfCreatorTool)));
  info.replaceKey("/Producer", Obj::newUnicodeString(PdfProducer()));
  info.replaceKey("/CreationDate", Obj::newString(description.created.pdf));
  info.replaceKey("/ModDate", Obj::newString(description.modified.pdf));
  return pdf.makeIndirectObject(info);
}

}  // namespace

std::optional<PdfDescription> OwnArchiveDescription(QPDF& pdf) {
  if (pdf.isEncrypted() || !WrittenHere(pdf) || !ClaimsPdfA1b(pdf)) return std::nullopt;
  const std::optional<PdfMoment> created = ParsePdfMoment(InfoText(pdf, "/CreationDate"));
  if (!created) return std::nullopt;
  return PdfDescription{InfoText(pdf, "/Title"), *created, *created};
}

PdfArchiveBase ClassifyArchiveBase(QPDF& pdf) {
  if (OwnArchiveDescription(pdf)) return PdfArchiveBase::OwnArchive;
  if (!pdf.isEncrypted() && ClaimsPdfA1b(pdf) && HasRgbArchiveIntent(pdf)) {
    return PdfArchiveBase::ForeignArchive;
  }
  return PdfArchiveBase::NotArchive;
}

void DeclarePdfA(QPDF& pdf, const PdfDescription& description) {
  Obj root = pdf.getRoot();
  root.replaceKey("/OutputIntents", Obj::newArray({OutputIntent(pdf)}));
  root.replaceKey("/Metadata", MetadataStream(pdf, description));
  pdf.getTrailer().replaceKey("/Info", InformationDictionary(pdf, description));
}

}  // namespace zelk
