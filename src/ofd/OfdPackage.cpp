#include "ofd/OfdPackage.h"

#include "imaging/Page.h"
#include "ofd/OfdXml.h"
#include "platform/Clock.h"
#include "platform/ProgramVersion.h"

#include <pugixml.hpp>
#include <zip.h>

#include <cstdio>
#include <random>
#include <set>
#include <vector>

namespace zelk {
namespace {

constexpr const char* kEntryFile = "OFD.xml";
constexpr const char* kFontName = "宋体";

std::string Creator() {
  std::string creator = "zelk ";
  creator += ProgramVersion();
  return creator;
}

// 32 hexadecimal digits, random.
std::string NewDocumentId() {
  std::random_device random;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string id;
  for (int i = 0; i < 32; ++i) id += kHex[random() % 16];
  return id;
}

std::string Today() {
  const LocalDateTime now = ToLocalDateTime(std::chrono::system_clock::now());
  char date[40];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", now.Year, now.Month, now.Day);
  return date;
}

// The name without its namespace prefix.
std::string_view LocalName(pugi::xml_node node) {
  std::string_view name = node.name();
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(pugi::xml_node parent, std::string_view local) {
  for (pugi::xml_node child : parent.children()) {
    if (LocalName(child) == local) return child;
  }
  return {};
}

// The directory part of a package path, with its slash ("" at the top).
std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A location in the package: absolute ("/Doc_0/...") or relative to `base`.
std::string Resolved(const std::string& base, std::string location) {
  if (!location.empty() && location.front() == '/') return location.substr(1);
  return base + location;
}

[[noreturn]] void NotOfd(const std::string& path, const std::string& why) {
  throw ImageError(ErrorKind::Damaged, path, "cannot add pages: it is not a readable OFD file (" + why + ")");
}

std::string ReadEntry(zip_t* archive, const std::string& name, const std::string& path) {
  // The package's XML parts are small: one that claims more is refused
  // before its size is asked of memory.
  constexpr zip_uint64_t kLargestPart = 64u * 1024 * 1024;
  zip_stat_t stat;
  if (zip_stat(archive, name.c_str(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
    NotOfd(path, name + " is missing");
  }
  if (stat.size > kLargestPart) NotOfd(path, name + " is too large");
  zip_file_t* file = zip_fopen(archive, name.c_str(), 0);
  if (!file) NotOfd(path, name + " cannot be opened");
  std::string bytes(stat.size, '\0');
  const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
  zip_fclose(file);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) NotOfd(path, name + " is damaged");
  return bytes;
}

// A spooled file of the package.
struct NewEntry {
  std::string name;
  unsigned long long offset = 0;
  unsigned long long length = 0;
};

}  // namespace

struct OfdPackage::Parts {
  zip_t* source = nullptr;  // the package started from
  std::set<std::string> names;  // its entries
  std::string prefix = "ofd:";  // of the element names the document uses
  pugi::xml_document entry, document, publicRes, documentRes;
  std::string documentPath, publicResPath, documentResPath, mediaDirectory;
  unsigned lastId = 0;
  unsigned font = 0;
  int pages = 0;
  bool pageAreaSet = false;
  std::vector<NewEntry> added;

  std::string Name(const char* local) const { return prefix + local; }
  // The first child `local` of `parent`, made when missing.
  pugi::xml_node Ensure(pugi::xml_node parent, const char* local) {
    pugi::xml_node found = Child(parent, local);
    return found ? found : parent.append_child(Name(local).c_str());
  }
  std::string FreeName(const std::string& wanted) {
    std::string name = wanted;
    for (int n = 1; names.count(name) || IsAdded(name); ++n) {
      name = wanted + "_" + std::to_string(n);
    }
    return name;
  }
  bool IsAdded(const std::string& name) const {
    for (const NewEntry& e : added) {
      if (e.name == name) return true;
    }
    return false;
  }

  void New(const std::string& title);
  void Open(const std::string& path);
};

void OfdPackage::Parts::New(const std::string& title) {
  pugi::xml_node ofd = OfdRoot(entry, "OFD");
  ofd.append_attribute("Version") = "1.0";
  ofd.append_attribute("DocType") = "OFD";
  pugi::xml_node body = ofd.append_child("ofd:DocBody");
  pugi::xml_node info = body.append_child("ofd:DocInfo");
  info.append_child("ofd:DocID").text().set(NewDocumentId().c_str());
  if (!title.empty()) info.append_child("ofd:Title").text().set(title.c_str());
  info.append_child("ofd:CreationDate").text().set(Today().c_str());
  info.append_child("ofd:Creator").text().set(Creator().c_str());
  info.append_child("ofd:CreatorVersion").text().set(ProgramVersion());
  body.append_child("ofd:DocRoot").text().set("Doc_0/Document.xml");
  documentPath = "Doc_0/Document.xml";
  publicResPath = "Doc_0/PublicRes.xml";
  documentResPath = "Doc_0/DocumentRes.xml";
  pugi::xml_node root = OfdRoot(document, "Document");
  pugi::xml_node common = root.append_child("ofd:CommonData");
  common.append_child("ofd:MaxUnitID");
  common.append_child("ofd:PageArea").append_child("ofd:PhysicalBox").text().set("0 0 210 297");
  common.append_child("ofd:PublicRes").text().set("PublicRes.xml");
  common.append_child("ofd:DocumentRes").text().set("DocumentRes.xml");
  root.append_child("ofd:Pages");
  OfdRoot(publicRes, "Res").append_attribute("BaseLoc") = "Res";
  OfdRoot(documentRes, "Res").append_attribute("BaseLoc") = "Res";
  mediaDirectory = "Doc_0/Res/";
}

void OfdPackage::Parts::Open(const std::string& path) {
  int error = 0;
  source = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!source) NotOfd(path, "no ZIP package");
  const zip_int64_t count = zip_get_num_entries(source, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    if (const char* name = zip_get_name(source, static_cast<zip_uint64_t>(i), 0)) names.insert(name);
  }
  const std::string entryText = ReadEntry(source, kEntryFile, path);
  if (!entry.load_buffer(entryText.data(), entryText.size())) NotOfd(path, "OFD.xml is no XML");
  const std::string rootName = entry.document_element().name();
  prefix = rootName.substr(0, rootName.find(':') + 1);  // npos + 1: no prefix
  const pugi::xml_node docRoot = Child(Child(entry.document_element(), "DocBody"), "DocRoot");
  if (!docRoot) NotOfd(path, "no DocRoot");
  documentPath = Resolved("", docRoot.text().get());
  const std::string documentText = ReadEntry(source, documentPath, path);
  if (!document.load_buffer(documentText.data(), documentText.size())) {
    NotOfd(path, documentPath + " is no XML");
  }
  pugi::xml_node root = document.document_element();
  pugi::xml_node common = Child(root, "CommonData");
  if (!common || !Child(root, "Pages")) NotOfd(path, "the document has no CommonData or Pages");
  lastId = Child(common, "MaxUnitID").text().as_uint();
  pageAreaSet = true;
  for (pugi::xml_node page : Child(root, "Pages").children()) {
    if (LocalName(page) == "Page") ++pages;
  }
  const std::string base = DirectoryOf(documentPath);
  // The resource files the new pages use: the document's first of each
  // kind, or new ones beside the document.
  auto resource = [&](const char* kind, const char* fileName, pugi::xml_document& res) {
    pugi::xml_node location = Child(common, kind);
    if (!location) {
      location = common.insert_child_after(Name(kind).c_str(), Child(common, "PageArea"));
      location.text().set(FreeName(base + fileName).substr(base.size()).c_str());
      // Named and bound as the package's own elements, which the new
      // resources' elements follow.
      const pugi::xml_attribute uri =
          entry.document_element().attribute(NamespaceBinding(prefix).c_str());
      OfdRoot(res, "Res", prefix, uri ? uri.value() : kOfdNamespace);
      return Resolved(base, location.text().get());
    }
    const std::string resPath = Resolved(base, location.text().get());
    const std::string text = ReadEntry(source, resPath, path);
    if (!res.load_buffer(text.data(), text.size())) NotOfd(path, resPath + " is no XML");
    return resPath;
  };
  publicResPath = resource("PublicRes", "PublicRes.xml", publicRes);
  documentResPath = resource("DocumentRes", "DocumentRes.xml", documentRes);
  const pugi::xml_attribute baseLoc = documentRes.document_element().attribute("BaseLoc");
  mediaDirectory = DirectoryOf(documentResPath);
  if (baseLoc) mediaDirectory = Resolved(mediaDirectory, baseLoc.value()) + "/";
  // The text font of an earlier run is used again.
  for (pugi::xml_node declared : Child(publicRes.document_element(), "Fonts").children()) {
    if (std::string_view(declared.attribute("FontName").value()) == kFontName) {
      font = declared.attribute("ID").as_uint();
      break;
    }
  }
}

OfdPackage::OfdPackage(const std::string& startFrom, const std::string& title)
    : parts_(std::make_unique<Parts>()) {
  if (startFrom.empty()) {
    parts_->New(title);
  } else {
    parts_->Open(startFrom);
  }
}

OfdPackage::~OfdPackage() {
  if (parts_->source) zip_discard(parts_->source);
}

unsigned OfdPackage::NextId() { return ++parts_->lastId; }

unsigned OfdPackage::TextFont() {
  Parts& p = *parts_;
  if (p.font) return p.font;
  p.font = NextId();
  pugi::xml_node res = p.publicRes.document_element();
  // Fonts come before the other resources of a Res file.
  pugi::xml_node fonts = Child(res, "Fonts");
  if (!fonts) fonts = res.prepend_child(p.Name("Fonts").c_str());
  pugi::xml_node font = fonts.append_child(p.Name("Font").c_str());
  font.append_attribute("ID") = p.font;
  font.append_attribute("FontName") = kFontName;
  font.append_attribute("FamilyName") = kFontName;
  return p.font;
}

unsigned OfdPackage::AddImage(const std::string& format, const std::string& extension,
                              unsigned long long offset, unsigned long long length) {
  Parts& p = *parts_;
  const unsigned id = NextId();
  const std::string file =
      p.FreeName(p.mediaDirectory + "Image_" + std::to_string(id) + "." + extension);
  p.added.push_back({file, offset, length});
  pugi::xml_node res = p.documentRes.document_element();
  pugi::xml_node media = p.Ensure(res, "MultiMedias").append_child(p.Name("MultiMedia").c_str());
  media.append_attribute("ID") = id;
  media.append_attribute("Type") = "Image";
  media.append_attribute("Format") = format.c_str();
  media.append_child(p.Name("MediaFile").c_str())
      .text()
      .set(file.substr(p.mediaDirectory.size()).c_str());
  return id;
}

void OfdPackage::AddPage(unsigned id, const OfdPageLayout& layout, unsigned long long offset,
                         unsigned long long length) {
  Parts& p = *parts_;
  const std::string base = DirectoryOf(p.documentPath);
  std::string directory = base + "Pages/Page_" + std::to_string(p.pages);
  for (int n = 1; p.names.count(directory + "/Content.xml"); ++n) {
    directory = base + "Pages/Page_" + std::to_string(p.pages) + "_" + std::to_string(n);
  }
  const std::string content = directory + "/Content.xml";
  p.added.push_back({content, offset, length});
  pugi::xml_node root = p.document.document_element();
  pugi::xml_node page = Child(root, "Pages").append_child(p.Name("Page").c_str());
  page.append_attribute("ID") = id;
  page.append_attribute("BaseLoc") = content.substr(base.size()).c_str();
  if (!p.pageAreaSet) {
    // The document's default page area is its first page's.
    Child(Child(Child(root, "CommonData"), "PageArea"), "PhysicalBox")
        .text()
        .set(OfdBox(0, 0, layout.width, layout.height).c_str());
    p.pageAreaSet = true;
  }
  ++p.pages;
}

int OfdPackage::PageCount() const { return parts_->pages; }

void OfdPackage::Write(const std::string& path, const std::string& spoolPath) {
  Parts& p = *parts_;
  Child(Child(p.document.document_element(), "CommonData"), "MaxUnitID")
      .text()
      .set(p.lastId);
  const std::vector<std::pair<std::string, std::string>> rewritten = {
      {kEntryFile, OfdXmlText(p.entry)},
      {p.documentPath, OfdXmlText(p.document)},
      {p.publicResPath, OfdXmlText(p.publicRes)},
      {p.documentResPath, OfdXmlText(p.documentRes)}};
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) throw ImageError(ErrorKind::WriteFailed, path, "the file cannot be created");
  auto fail = [&](const std::string& what) {
    const std::string reason = zip_strerror(archive);
    zip_discard(archive);
    throw ImageError(ErrorKind::WriteFailed, path, what + " (" + reason + ")");
  };
  auto add = [&](const std::string& name, zip_source_t* source, bool compress) {
    if (!source) fail(name);
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      fail(name);
    }
    // Images are compressed already.
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                             compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
  };
  for (const auto& [name, text] : rewritten) {
    add(name, zip_source_buffer(archive, text.data(), text.size(), 0), true);
  }
  if (p.source) {
    // The other entries of the package started from, copied as they are.
    const zip_int64_t count = zip_get_num_entries(p.source, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
      const char* name = zip_get_name(p.source, static_cast<zip_uint64_t>(i), 0);
      if (!name) continue;
      bool replaced = false;
      for (const auto& part : rewritten) replaced = replaced || part.first == name;
      if (replaced) continue;
      zip_source_t* source = zip_source_zip(archive, p.source, static_cast<zip_uint64_t>(i), 0, 0, -1);
      if (!source || zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) < 0) {
        if (source) zip_source_free(source);
        fail(name);
      }
    }
  }
  for (const NewEntry& e : p.added) {
    const bool xml = e.name.ends_with(".xml");
    add(e.name,
        zip_source_file(archive, spoolPath.c_str(), e.offset, static_cast<zip_int64_t>(e.length)),
        xml);
  }
  if (zip_close(archive) != 0) fail("the package cannot be completed");
}

}  // namespace zelk
