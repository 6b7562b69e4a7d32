// The OFD writer's packages read back with libzip and pugixml: the parts
// the package's rules ask for, every ID unique and within MaxUnitID, every
// referenced file present, and a package continued by a second writer.
#include <gtest/gtest.h>
#include <leptonica/allheaders.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "imaging/PdfImageEncoder.h"
#include "imaging/SaveFormat.h"
#include "ofd/OfdWriter.h"
#include "platform/ProgramVersion.h"
#include "support/TempDir.h"

namespace zelk {
namespace {


std::map<std::string, std::string> Entries(const std::string& path) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
  EXPECT_NE(archive, nullptr) << path;
  std::map<std::string, std::string> entries;
  if (!archive) return entries;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t stat;
    zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
    std::string bytes(stat.size, '\0');
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    entries[stat.name] = bytes;
  }
  zip_discard(archive);
  return entries;
}

pugi::xml_document Parsed(const std::string& text) {
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_string(text.c_str())) << text.substr(0, 200);
  return doc;
}

// Every ID attribute and every reference to one in the package's XML.
void CollectIds(pugi::xml_node node, std::multiset<unsigned>& ids, std::set<unsigned>& refs) {
  for (pugi::xml_node child : node.children()) {
    if (child.attribute("ID")) ids.insert(child.attribute("ID").as_uint());
    for (const char* ref : {"ResourceID", "Font"}) {
      if (child.attribute(ref)) refs.insert(child.attribute(ref).as_uint());
    }
    CollectIds(child, ids, refs);
  }
}

Page MakePage(int depth) {
  Page page;
  page.pix = PixPtr(pixCreate(400, 300, depth));
  pixSetResolution(page.pix.get(), 200, 200);
  page.xDpi = page.yDpi = 200;
  return page;
}

struct Package {
  std::map<std::string, std::string> entries;
  pugi::xml_document document;
  std::string docDir;
};

Package Read(const std::string& path) {
  Package p;
  p.entries = Entries(path);
  const pugi::xml_document ofd = Parsed(p.entries["OFD.xml"]);
  const pugi::xml_node root = ofd.child("ofd:OFD");
  EXPECT_STREQ(root.attribute("xmlns:ofd").value(), "http://www.ofdspec.org/2016");
  const pugi::xml_node info = root.child("ofd:DocBody").child("ofd:DocInfo");
  EXPECT_EQ(std::string(info.child_value("ofd:DocID")).size(), 32u);
  EXPECT_EQ(info.child_value("ofd:Creator"), std::string("zelk ") + ProgramVersion());
  const std::string docRoot = root.child("ofd:DocBody").child_value("ofd:DocRoot");
  p.docDir = docRoot.substr(0, docRoot.rfind('/') + 1);
  EXPECT_TRUE(p.document.load_string(p.entries[docRoot].c_str()));
  return p;
}

class OfdWriterTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
};

TEST_F(OfdWriterTest, PackageHoldsEveryPartWithUniqueIdsWithinMaxUnitId) {
  const std::string path = dir_.File("a.ofd");
  PageText text;
  TextLine line;
  line.box = {10, 10, 200, 40};
  line.baseline = 36;
  line.words = {{"扫描", {10, 10, 60, 40}, false}, {"Scan", {60, 10, 120, 40}, true},
                {"page", {130, 10, 200, 40}, false}};
  text.lines.push_back(line);
  {
    OfdDocumentWriter writer(path, {}, "a");
    const Page bitonal = MakePage(1);
    writer.AddPage(bitonal, EncodePdfImage(bitonal, SaveSpec{kPdfCcittG4, 1, 0}));
    const Page grey = MakePage(8);
    PdfPageOptions options;
    options.text = &text;
    writer.AddPage(grey, EncodePdfImage(grey, SaveSpec{kPdfJpeg444, 8, 14}), options);
    writer.Finish();
  }
  // A second writer continues the package: its pages follow, IDs go on.
  {
    OfdDocumentWriter writer(path, path);
    const Page colour = MakePage(32);
    PdfPageOptions options;
    options.text = &text;
    text.frame.quarterTurns = 1;
    writer.AddPage(colour, EncodePdfImage(colour, SaveSpec{kPdfUncompressed, 24, 0}), options);
    writer.Finish();
    EXPECT_EQ(writer.PageCount(), 3);
  }
  Package p = Read(path);
  const pugi::xml_node common = p.document.child("ofd:Document").child("ofd:CommonData");
  const unsigned maxId = common.child("ofd:MaxUnitID").text().as_uint();
  EXPECT_STREQ(common.child("ofd:PageArea").child_value("ofd:PhysicalBox"), "0 0 50.8 38.1");

  std::multiset<unsigned> ids;
  std::set<unsigned> refs;
  CollectIds(p.document, ids, refs);
  std::vector<std::string> formats;
  for (const char* kind : {"ofd:PublicRes", "ofd:DocumentRes"}) {
    const std::string resPath = p.docDir + common.child_value(kind);
    ASSERT_TRUE(p.entries.count(resPath)) << resPath;
    const pugi::xml_document res = Parsed(p.entries[resPath]);
    CollectIds(res, ids, refs);
    const std::string base = p.docDir + res.child("ofd:Res").attribute("BaseLoc").value() + "/";
    for (pugi::xml_node media : res.child("ofd:Res").child("ofd:MultiMedias").children()) {
      EXPECT_TRUE(p.entries.count(base + media.child_value("ofd:MediaFile"))) << base;
      formats.push_back(media.attribute("Format").value());
    }
  }
  EXPECT_EQ(formats, (std::vector<std::string>{"PNG", "JPEG", "PNG"}));
  std::vector<std::string> texts, ctms;
  for (pugi::xml_node page : p.document.child("ofd:Document").child("ofd:Pages").children()) {
    const std::string content = p.docDir + page.attribute("BaseLoc").value();
    ASSERT_TRUE(p.entries.count(content)) << content;
    const pugi::xml_document doc = Parsed(p.entries[content]);
    CollectIds(doc, ids, refs);
    const pugi::xml_node layer = doc.child("ofd:Page").child("ofd:Content").child("ofd:Layer");
    ctms.push_back(layer.child("ofd:ImageObject").attribute("CTM").value());
    for (pugi::xml_node object : layer.children("ofd:TextObject")) {
      EXPECT_STREQ(object.child("ofd:FillColor").attribute("Alpha").value(), "0");
      const pugi::xml_node code = object.child("ofd:TextCode");
      texts.push_back(code.text().get());
      // One advance for every character but the last.
      std::string deltas = code.attribute("DeltaX").value();
      EXPECT_EQ(std::count(deltas.begin(), deltas.end(), ' ') + 2,
                static_cast<long>(std::u32string(U"扫描Scan page").size()));
    }
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"扫描Scan page", "扫描Scan page"}));
  // Unturned, then the sideways page drawn turned a quarter onto its upright page.
  EXPECT_EQ(ctms, (std::vector<std::string>{"50.8 0 0 38.1 0 0", "50.8 0 0 38.1 0 0",
                                            "0 50.8 -38.1 0 38.1 0"}));
  for (unsigned id : ids) {
    EXPECT_EQ(ids.count(id), 1u) << id;
    EXPECT_LE(id, maxId);
  }
  for (unsigned ref : refs) EXPECT_EQ(ids.count(ref), 1u) << ref;
  // Nothing but the package is left beside it.
  EXPECT_EQ(test::EntryCount(dir_.Path()), 1);
}

// Another program's package whose elements take the default namespace and
// whose document has no resource files yet: the resource files the writer
// adds name and bind their elements the same way.
TEST_F(OfdWriterTest, ResourcesAddedToAPackageWithoutPrefixTakeItsNamespace) {
  const std::string path = dir_.File("c.ofd");
  const std::map<std::string, std::string> parts = {
      {"OFD.xml", "<OFD xmlns=\"http://www.ofdspec.org/2016\" Version=\"1.0\" DocType=\"OFD\">"
                  "<DocBody><DocInfo><DocID>0</DocID></DocInfo><DocRoot>Doc_0/Document.xml</DocRoot>"
                  "</DocBody></OFD>"},
      {"Doc_0/Document.xml", "<Document xmlns=\"http://www.ofdspec.org/2016\"><CommonData>"
                             "<MaxUnitID>1</MaxUnitID><PageArea><PhysicalBox>0 0 210 297</PhysicalBox>"
                             "</PageArea></CommonData><Pages/></Document>"}};
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, text] : parts) {
    zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
    ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0) << name;
  }
  ASSERT_EQ(zip_close(archive), 0);
  {
    OfdDocumentWriter writer(path, path);
    const Page grey = MakePage(8);
    writer.AddPage(grey, EncodePdfImage(grey, SaveSpec{kPdfJpeg444, 8, 14}));
    writer.Finish();
  }
  std::map<std::string, std::string> entries = Entries(path);
  const pugi::xml_document document = Parsed(entries["Doc_0/Document.xml"]);
  const pugi::xml_node common = document.child("Document").child("CommonData");
  const std::string resPath = std::string("Doc_0/") + common.child_value("DocumentRes");
  const pugi::xml_document res = Parsed(entries[resPath]);
  const pugi::xml_node root = res.document_element();
  EXPECT_STREQ(root.name(), "Res");
  EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.ofdspec.org/2016");
  EXPECT_TRUE(root.child("MultiMedias")) << entries[resPath];
}

TEST_F(OfdWriterTest, StartingFromAFileThatIsNoPackageFails) {
  const std::string path = dir_.File("b.ofd");
  { std::ofstream(path) << "not a zip"; }
  EXPECT_THROW(OfdDocumentWriter(path, path), ImageError);
}

}  // namespace
}  // namespace zelk
