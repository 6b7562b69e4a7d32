#pragma once
// The description of a PDF document as an archive reads it: title,
// program, dates and the PDF/A level it claims, written twice with the
// same values, once in the document information dictionary and once as an
// XMP metadata packet.  PDF/A requires both and requires them to agree.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace zelk {

// One moment in the two notations, in local time with its offset from UTC:
// "D:20261208094500+08'00'" for the information dictionary and
// "2026-12-08T09:45:00+08:00" for XMP.
struct PdfMoment {
  std::string pdf;
  std::string xmp;
};
PdfMoment PdfMomentOf(std::time_t moment);
// A date of the information dictionary in the full form PdfMomentOf
// writes, with both notations; nullopt for any other text.
std::optional<PdfMoment> ParsePdfMoment(std::string_view pdfDate);

// The program that makes the documents, as both places name it.
inline constexpr std::string_view kPdfCreatorTool = "ZELK";
// "ZELK 8.1"
std::string PdfProducer();

// `text` as both places can hold it: well-formed UTF-8 without control
// characters (a byte that is not UTF-8, as in a GBK file name, becomes
// U+FFFD; a control character is left out).  XML admits no control
// characters, and the two places must agree.
std::string DescriptionText(std::string_view text);

struct PdfDescription {
  std::string title;  // UTF-8, as DescriptionText makes it
  PdfMoment created;
  PdfMoment modified;
};

// The XMP packet that declares PDF/A-1b and carries the description, the
// creator tool and the producer, in UTF-8 with the packet wrapper (no
// padding: the documents are written whole, never edited in place).
std::string XmpPacket(const PdfDescription& description);

// What an XMP packet claims: the PDF/A part and conformance level
// ("1", "B"), empty when it claims none or cannot be read.
struct PdfAClaim {
  std::string part;
  std::string conformance;
};
PdfAClaim PdfAClaimOf(std::string_view xmp);

}  // namespace zelk
