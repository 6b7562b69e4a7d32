#include "ofd/OfdXml.h"

#include "imaging/PdfNumber.h"

#include <sstream>

namespace zelk {

std::string OfdNumber(double value) { return PdfNumber(value); }

std::string OfdBox(double x, double y, double width, double height) {
  std::string box = OfdNumber(x);
  for (double v : {y, width, height}) {
    box += ' ';
    box += OfdNumber(v);
  }
  return box;
}

std::string OfdXmlText(const pugi::xml_document& document) {
  std::ostringstream out;
  document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
  return out.str();
}

pugi::xml_node OfdRoot(pugi::xml_document& document, const char* name, const std::string& prefix,
                       const char* uri) {
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node root = document.append_child((prefix + name).c_str());
  root.append_attribute(NamespaceBinding(prefix).c_str()) = uri;
  return root;
}

std::string NamespaceBinding(const std::string& prefix) {
  std::string binding = "xmlns";
  if (!prefix.empty()) {
    binding += ':';
    binding.append(prefix, 0, prefix.size() - 1);
  }
  return binding;
}

}  // namespace zelk
