#pragma once
// PDF/A-1b verdicts of a real validator: Apache PDFBox's preflight, from
// Debian's libpdfbox2-java, run once for a whole list of files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace zelk::test {

inline std::string PdfAClassPath() {
  std::string path;
  for (const char* jar : {"preflight", "pdfbox2", "fontbox2", "xmpbox", "commons-logging",
                          "javax.activation", "jaxb-api"}) {
    path += (path.empty() ? "/usr/share/java/" : ":/usr/share/java/") + std::string(jar) + ".jar";
  }
  return path;
}

// Empty when the validator can run, else what is missing.
inline std::string WhyNoPdfAValidator() {
  if (std::system("command -v java >/dev/null 2>&1") != 0) return "java is not installed";
  std::stringstream jars(PdfAClassPath());
  for (std::string jar; std::getline(jars, jar, ':');) {
    if (!std::filesystem::exists(jar)) return jar + " is missing (libpdfbox2-java)";
  }
  return {};
}

struct PdfAVerdict {
  bool valid = false;
  std::vector<std::string> errors;  // "<code> <details>" of each error found
};

// One verdict per file, in the order given (invalid with the error "no
// verdict" where the validator gave none).
inline std::vector<PdfAVerdict> ValidatePdfA(const std::vector<std::string>& files) {
  namespace fs = std::filesystem;
  const std::string list =
      (fs::temp_directory_path() / ("zelk-pdfa-" + std::to_string(::getpid()) + ".txt")).string();
  {
    std::ofstream out(list);
    for (const std::string& file : files) out << fs::absolute(file).string() << "\n";
  }
  // "group" writes one report for the whole list, beside the list; the exit
  // status counts the invalid files.
  const int status = std::system(("java -cp " + PdfAClassPath() +
                                  " org.apache.pdfbox.preflight.Validator_A1b xml group '" + list +
                                  "' >/dev/null 2>&1")
                                     .c_str());
  (void)status;
  std::stringstream xml;
  xml << std::ifstream(list + ".preflight.xml").rdbuf();
  fs::remove(list);
  fs::remove(list + ".preflight.xml");

  const std::string text = xml.str();
  auto between = [&text](const std::string& open, const std::string& close, size_t from) {
    const size_t start = text.find(open, from);
    const size_t end = start == std::string::npos ? start : text.find(close, start);
    return end == std::string::npos ? std::string()
                                    : text.substr(start + open.size(), end - start - open.size());
  };
  std::vector<PdfAVerdict> verdicts(files.size(), PdfAVerdict{false, {"no verdict"}});
  size_t at = text.find("<preflight ");
  for (PdfAVerdict& verdict : verdicts) {
    if (at == std::string::npos) break;
    const size_t next = text.find("<preflight ", at + 1);
    verdict = {between("\">", "</isValid>", text.find("<isValid", at)) == "true", {}};
    for (size_t e = text.find("<error ", at); e < next; e = text.find("<error ", e + 1)) {
      verdict.errors.push_back(between("<code>", "</code>", e) + " " +
                               between("<details>", "</details>", e));
    }
    at = next;
  }
  return verdicts;
}

// Expects every file to be valid PDF/A-1b, with the validator's errors in
// the message of each that is not.  Where the validator cannot run, says
// so and checks nothing (the test's other checks still count).
inline void ExpectPdfA(const std::vector<std::string>& files) {
  if (const std::string why = WhyNoPdfAValidator(); !why.empty()) {
    std::cout << "PDF/A not checked: " << why << "\n";
    return;
  }
  const std::vector<PdfAVerdict> verdicts = ValidatePdfA(files);
  for (size_t i = 0; i < files.size(); ++i) {
    std::string errors;
    for (const std::string& error : verdicts[i].errors) errors += "\n  " + error;
    EXPECT_TRUE(verdicts[i].valid) << files[i] << errors;
  }
}

}  // namespace zelk::test
