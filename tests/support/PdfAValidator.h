#pragma once
// PDF/A-1b verdicts of a real validator: Apache PDFBox's preflight, from
// Debian's libpdfbox2-java, run once for a whole list of files.  Tests skip
// with WhyNoPdfAValidator()'s message where Java or the library is missing.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace zelk::test {

inline constexpr const char* kPdfAJars[] = {
    "preflight", "pdfbox2", "fontbox2", "xmpbox", "commons-logging", "javax.activation",
    "jaxb-api"};

// Empty when the validator can run, else what is missing.
inline std::string WhyNoPdfAValidator() {
  if (std::system("command -v java >/dev/null 2>&1") != 0) return "java is not installed";
  for (const char* jar : kPdfAJars) {
    const std::string path = std::string("/usr/share/java/") + jar + ".jar";
    if (!std::filesystem::exists(path)) return path + " is missing (libpdfbox2-java)";
  }
  return {};
}

struct PdfAVerdict {
  bool valid = false;
  // "<code> <details>" of each error the validator found.
  std::vector<std::string> errors;
};

namespace pdfa_detail {

inline std::string Between(const std::string& text, const std::string& open,
                           const std::string& close, size_t from = 0) {
  const size_t start = text.find(open, from);
  if (start == std::string::npos) return {};
  const size_t end = text.find(close, start + open.size());
  if (end == std::string::npos) return {};
  return text.substr(start + open.size(), end - start - open.size());
}

}  // namespace pdfa_detail

// One verdict per file, in the order given.  A file the validator gave no
// verdict for is invalid with the error "no verdict".
inline std::vector<PdfAVerdict> ValidatePdfA(const std::vector<std::string>& files) {
  namespace fs = std::filesystem;
  const fs::path list =
      fs::temp_directory_path() / ("zelk-pdfa-" + std::to_string(::getpid()) + ".txt");
  {
    std::ofstream out(list);
    for (const std::string& file : files) out << fs::absolute(file).string() << "\n";
  }
  std::string classPath;
  for (const char* jar : kPdfAJars) {
    classPath += (classPath.empty() ? "" : ":") + std::string("/usr/share/java/") + jar + ".jar";
  }
  // "group" writes one report for the whole list, beside the list.
  const std::string command = "java -cp " + classPath +
                              " org.apache.pdfbox.preflight.Validator_A1b xml group '" +
                              list.string() + "' >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  (void)status;  // the exit status counts the invalid files
  const fs::path report = list.string() + ".preflight.xml";
  std::stringstream xml;
  xml << std::ifstream(report).rdbuf();
  fs::remove(list);
  fs::remove(report);

  std::vector<PdfAVerdict> verdicts;
  const std::string text = xml.str();
  size_t at = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    PdfAVerdict verdict;
    const size_t start = text.find("<preflight ", at);
    if (start == std::string::npos) {
      verdict.errors.push_back("no verdict");
      verdicts.push_back(verdict);
      continue;
    }
    const size_t end = text.find("</preflight>", start);
    const std::string block = text.substr(start, end - start);
    at = end;
    verdict.valid = pdfa_detail::Between(block, ">", "</isValid>", block.find("<isValid")) == "true";
    for (size_t e = block.find("<error "); e != std::string::npos; e = block.find("<error ", e + 1)) {
      verdict.errors.push_back(pdfa_detail::Between(block, "<code>", "</code>", e) + " " +
                               pdfa_detail::Between(block, "<details>", "</details>", e));
    }
    verdicts.push_back(verdict);
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
