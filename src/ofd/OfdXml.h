#pragma once
// What the OFD parts share: the namespace, numbers and boxes as the
// format writes them, and XML text out of pugixml.

#include <pugixml.hpp>

#include <string>

namespace zelk {

inline constexpr const char* kOfdNamespace = "http://www.ofdspec.org/2016";

// A length or coordinate: at most four decimals, no trailing zeros.
std::string OfdNumber(double value);
// "x y width height".
std::string OfdBox(double x, double y, double width, double height);

// The document as UTF-8 XML with its declaration.
std::string OfdXmlText(const pugi::xml_document& document);

// The attribute that binds the namespace of `prefix` ("ofd:" gives
// "xmlns:ofd", "" gives "xmlns").
std::string NamespaceBinding(const std::string& prefix);

// A fresh document whose root `<prefix><name>` declares the namespace
// `uri` for that prefix ("ofd:", or "" for the default namespace).
pugi::xml_node OfdRoot(pugi::xml_document& document, const char* name,
                       const std::string& prefix = "ofd:", const char* uri = kOfdNamespace);

}  // namespace zelk
