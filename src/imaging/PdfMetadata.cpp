#include "imaging/PdfMetadata.h"

#include "platform/ProgramVersion.h"
#include "platform/Utf8.h"

#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>

namespace zelk {
namespace {

constexpr std::string_view kPdfAIdNamespace = "http://www.aiim.org/pdfa/ns/id/";

std::string XmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

bool Digits(std::string_view text, size_t from, size_t count) {
  if (from + count > text.size()) return false;
  for (size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// The namespace a prefix stands for where `node` is, "" when none.
std::string_view NamespaceOf(pugi::xml_node node, std::string_view prefix) {
  const std::string attribute = prefix.empty() ? "xmlns" : "xmlns:" + std::string(prefix);
  for (; node; node = node.parent()) {
    if (pugi::xml_attribute declared = node.attribute(attribute.c_str())) {
      return declared.value();
    }
  }
  return {};
}

// Whether the qualified `name` at `node` is `local` in the PDF/A
// identification namespace.
bool IsPdfAIdName(pugi::xml_node node, std::string_view name, std::string_view local) {
  const size_t colon = name.find(':');
  if (colon == std::string_view::npos || name.substr(colon + 1) != local) return false;
  return NamespaceOf(node, name.substr(0, colon)) == kPdfAIdNamespace;
}

// The value of the identification property `local`, written as an
// attribute of a description or as an element of its own.
class PdfAIdFinder : public pugi::xml_tree_walker {
 public:
  explicit PdfAIdFinder(std::string_view local) : local_(local) {}
  const std::string& Found() const { return found_; }

  bool for_each(pugi::xml_node& node) override {
    if (node.type() != pugi::node_element) return true;
    if (IsPdfAIdName(node, node.name(), local_)) {
      found_ = node.text().get();
      return false;
    }
    for (pugi::xml_attribute attribute : node.attributes()) {
      if (IsPdfAIdName(node, attribute.name(), local_)) {
        found_ = attribute.value();
        return false;
      }
    }
    return true;
  }

 private:
  std::string_view local_;
  std::string found_;
};

std::string PdfAIdProperty(pugi::xml_document& document, std::string_view local) {
  PdfAIdFinder finder(local);
  document.traverse(finder);
  return finder.Found();
}

}  // namespace

PdfMoment PdfMomentOf(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  const long offset = local.tm_gmtoff;
  const char sign = offset < 0 ? '-' : '+';
  const long minutes = std::labs(offset) / 60;
  char pdf[96];
  char xmp[96];
  std::snprintf(pdf, sizeof pdf, "D:%04d%02d%02d%02d%02d%02d%c%02ld'%02ld'", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, sign,
                minutes / 60, minutes % 60);
  std::snprintf(xmp, sizeof xmp, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                local.tm_min, local.tm_sec, sign, minutes / 60, minutes % 60);
  return {pdf, xmp};
}

std::optional<PdfMoment> ParsePdfMoment(std::string_view pdfDate) {
  // D:YYYYMMDDHHmmSS+HH'mm'
  if (pdfDate.size() != 23 || pdfDate.substr(0, 2) != "D:" || !Digits(pdfDate, 2, 14) ||
      (pdfDate[16] != '+' && pdfDate[16] != '-') || !Digits(pdfDate, 17, 2) ||
      pdfDate[19] != '\'' || !Digits(pdfDate, 20, 2) || pdfDate[22] != '\'') {
    return std::nullopt;
  }
  const std::string_view d = pdfDate.substr(2);
  std::string xmp;
  xmp.append(d.substr(0, 4)).append("-").append(d.substr(4, 2)).append("-");
  xmp.append(d.substr(6, 2)).append("T").append(d.substr(8, 2)).append(":");
  xmp.append(d.substr(10, 2)).append(":").append(d.substr(12, 2));
  xmp.append(d.substr(14, 3)).append(":").append(d.substr(18, 2));
  return PdfMoment{std::string(pdfDate), xmp};
}

std::string DescriptionText(std::string_view text) {
  std::u32string kept;
  for (char32_t c : DecodeUtf8(text, Utf8Decoding::Strict)) {
    const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
    const bool nonCharacter = c == 0xFFFE || c == 0xFFFF;
    if (!control && !nonCharacter) kept.push_back(c);
  }
  return EncodeUtf8(kept);
}

std::string PdfProducer() { return std::string(kPdfCreatorTool) + " " + ProgramVersion(); }

std::string XmpPacket(const PdfDescription& description) {
  std::string xmp =
      "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
      " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
      "  <rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
      "   <pdfaid:part>1</pdfaid:part>\n"
      "   <pdfaid:conformance>B</pdfaid:conformance>\n"
      "  </rdf:Description>\n"
      "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
      "   <dc:format>application/pdf</dc:format>\n"
      "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
      XmlEscaped(description.title) +
      "</rdf:li></rdf:Alt></dc:title>\n"
      "  </rdf:Description>\n"
      "  <rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
      "   <xmp:CreatorTool>" +
      XmlEscaped(kPdfCreatorTool) +
      "</xmp:CreatorTool>\n"
      "   <xmp:CreateDate>" +
      description.created.xmp +
      "</xmp:CreateDate>\n"
      "   <xmp:ModifyDate>" +
      description.modified.xmp +
      "</xmp:ModifyDate>\n"
      "   <xmp:MetadataDate>" +
      description.modified.xmp +
      "</xmp:MetadataDate>\n"
      "  </rdf:Description>\n"
      "  <rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
      "   <pdf:Producer>" +
      XmlEscaped(PdfProducer()) +
      "</pdf:Producer>\n"
      "  </rdf:Description>\n"
      " </rdf:RDF>\n"
      "</x:xmpmeta>\n"
      "<?xpacket end=\"w\"?>";
  return xmp;
}

PdfAClaim PdfAClaimOf(std::string_view xmp) {
  pugi::xml_document document;
  if (!document.load_buffer(xmp.data(), xmp.size(), pugi::parse_default | pugi::parse_pi)) {
    return {};
  }
  return {PdfAIdProperty(document, "part"), PdfAIdProperty(document, "conformance")};
}

}  // namespace zelk
