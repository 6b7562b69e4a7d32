#include "documents/DocxWriterParts.h"

#include <ctime>

namespace zelk {
namespace {

constexpr const char* kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

std::string ContentTypes() {
  return std::string(kDeclaration) +
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" "
         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Default Extension=\"png\" ContentType=\"image/png\"/>"
         "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"
         "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
         "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
         "<Override PartName=\"/word/settings.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.wordprocessingml.settings+xml\"/>"
         "<Override PartName=\"/docProps/core.xml\" "
         "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
         "<Override PartName=\"/docProps/app.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
         "</Types>";
}

std::string PackageRelationships() {
  return std::string(kDeclaration) +
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships/officeDocument\" Target=\"word/document.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/"
         "relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>"
         "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships/extended-properties\" Target=\"docProps/app.xml\"/>"
         "</Relationships>";
}

std::string DocumentRelationships(const std::vector<DocxMedia>& media) {
  std::string xml = std::string(kDeclaration) +
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships/styles\" Target=\"styles.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships/settings\" Target=\"settings.xml\"/>";
  for (const DocxMedia& each : media) {
    xml += "<Relationship Id=\"";
    xml += each.relationshipId;
    xml += "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" Target=\"";
    xml += each.part.substr(std::string("word/").size());
    xml += "\"/>";
  }
  return xml + "</Relationships>";
}

// Latin text in Times New Roman and East Asian text in SimSun (宋体), Chinese
// as the East Asian language, the default size for every run that names
// none.  Both names resolve where the document is opened: Windows has the
// faces, and fontconfig gives metric-compatible ones (Nimbus Roman or
// Liberation Serif; AR PL UMing for SimSun in Chinese text, one em a
// character and one em a line as SimSun).  The Chinese name 宋体 would not
// resolve so: fontconfig knows no alias for it.
std::string Styles(int defaultHalfPoints) {
  const std::string size = std::to_string(defaultHalfPoints);
  return std::string(kDeclaration) +
         "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
         "<w:docDefaults><w:rPrDefault><w:rPr>"
         "<w:rFonts w:ascii=\"Times New Roman\" w:eastAsia=\"SimSun\" w:hAnsi=\"Times New Roman\" "
         "w:cs=\"Times New Roman\"/>"
         "<w:kern w:val=\"2\"/>"
         "<w:sz w:val=\"" + size + "\"/><w:szCs w:val=\"" + size + "\"/>"
         "<w:lang w:val=\"en-US\" w:eastAsia=\"zh-CN\" w:bidi=\"ar-SA\"/>"
         "</w:rPr></w:rPrDefault>"
         "<w:pPrDefault><w:pPr><w:widowControl w:val=\"0\"/></w:pPr></w:pPrDefault>"
         "</w:docDefaults>"
         "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
         "<w:name w:val=\"Normal\"/><w:qFormat/></w:style>"
         "<w:style w:type=\"character\" w:default=\"1\" w:styleId=\"DefaultParagraphFont\">"
         "<w:name w:val=\"Default Paragraph Font\"/><w:uiPriority w:val=\"1\"/>"
         "<w:semiHidden/><w:unhideWhenUsed/></w:style>"
         "</w:styles>";
}

std::string Settings() {
  return std::string(kDeclaration) +
         "<w:settings xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
         "<w:defaultTabStop w:val=\"420\"/>"
         "<w:characterSpacingControl w:val=\"compressPunctuation\"/>"
         "</w:settings>";
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string CoreProperties() {
  const std::string now = UtcNow();
  return std::string(kDeclaration) +
         "<cp:coreProperties "
         "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
         "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
         "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
         "<dcterms:created xsi:type=\"dcterms:W3CDTF\">" + now + "</dcterms:created>"
         "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">" + now + "</dcterms:modified>"
         "</cp:coreProperties>";
}

std::string AppProperties() {
  return std::string(kDeclaration) +
         "<Properties "
         "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
         "<Application>ZELK</Application>"
         "</Properties>";
}

}  // namespace

std::vector<DocxPart> DocxPackageParts(int defaultHalfPoints, const std::vector<DocxMedia>& media) {
  return {{"[Content_Types].xml", ContentTypes()},
          {"_rels/.rels", PackageRelationships()},
          {"word/_rels/document.xml.rels", DocumentRelationships(media)},
          {"word/styles.xml", Styles(defaultHalfPoints)},
          {"word/settings.xml", Settings()},
          {"docProps/core.xml", CoreProperties()},
          {"docProps/app.xml", AppProperties()}};
}

}  // namespace zelk
