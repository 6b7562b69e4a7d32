#pragma once
// Reading a word-processor document back through LibreOffice: the file is
// converted headless to plain text and that text returned.  Each call runs
// soffice with a profile of its own in a fresh temporary directory, so tests
// running in parallel do not collide on LibreOffice's user installation.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace zelk::test {

namespace office_detail {

// The full path of an executable found on PATH, or empty.
inline std::string FindOnPath(const std::string& name) {
  const char* path = getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::filesystem::path candidate =
        std::filesystem::path(dirs.substr(start, end - start)) / name;
    if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate.string();
    start = end + 1;
  }
  return {};
}

// Runs the program with its output and errors into `logPath`; the exit status.
inline int RunProgram(const std::vector<std::string>& arguments, const std::string& logPath) {
  ChildProcess child(arguments, logPath);
  return child.Wait(std::chrono::minutes(10)).ShellStatus();
}

}  // namespace office_detail

// True when LibreOffice's soffice is on PATH.
inline bool HasSoffice() { return !office_detail::FindOnPath("soffice").empty(); }

// Converts the documents with LibreOffice, all in one run of soffice, into
// `filter` (as --convert-to takes it, e.g. "pdf" or "txt:Text"), each into
// `outputDirectory` under its own stem with `extension`; returns the
// converted files' paths in the order of the documents.  The documents'
// stems must differ.  Raises std::runtime_error when soffice is missing or
// a conversion fails.
inline std::vector<std::string> OfficeConvertedFiles(const std::vector<std::string>& documentPaths,
                                                     const std::string& filter, const std::string& extension,
                                                     const std::string& outputDirectory) {
  namespace fs = std::filesystem;
  std::string soffice = office_detail::FindOnPath("soffice");
  if (soffice.empty()) {
    throw std::runtime_error(
        "soffice (LibreOffice) not found on PATH; install libreoffice-writer-nogui");
  }
  TempDir scratch;
  fs::create_directories(outputDirectory);
  std::vector<std::string> arguments{soffice, "--headless", "--norestore",
                                     "-env:UserInstallation=file://" + (scratch.Path() / "profile").string(),
                                     "--convert-to", filter, "--outdir", outputDirectory};
  std::vector<std::string> converted;
  for (const std::string& document : documentPaths) {
    if (!fs::is_regular_file(document)) throw std::runtime_error("no document to convert: " + document);
    // LibreOffice takes the name's extension into its format detection, so
    // each goes under its own name.
    arguments.push_back(document);
    converted.push_back((fs::path(outputDirectory) / (fs::path(document).stem().string() + extension)).string());
  }
  const std::string log = (scratch.Path() / "soffice.log").string();
  const int status = office_detail::RunProgram(arguments, log);
  for (const std::string& file : converted) {
    if (status != 0 || !fs::is_regular_file(file)) {
      throw std::runtime_error("LibreOffice could not convert into " + file + " (exit " + std::to_string(status) +
                               "): " + ReadBytes(log));
    }
  }
  return converted;
}

// Converts one document with LibreOffice into `filter` and returns the
// converted file's bytes (OfficeConvertedFiles).
inline std::string OfficeConvertedBytes(const std::string& documentPath, const std::string& filter,
                                        const std::string& extension) {
  namespace fs = std::filesystem;
  if (!fs::is_regular_file(documentPath)) {
    throw std::runtime_error("no document to convert: " + documentPath);
  }
  TempDir scratch;
  const fs::path input = scratch.Path() / "in" / fs::path(documentPath).filename();
  fs::create_directories(input.parent_path());
  fs::copy_file(documentPath, input);
  return ReadBytes(OfficeConvertedFiles({input.string()}, filter, extension, (scratch.Path() / "out").string())[0]);
}

// Text as LibreOffice's text filter writes it, in UTF-8, without the
// byte-order mark.
inline std::string WithoutByteOrderMark(std::string text) {
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  return text;
}

// The document's text as LibreOffice reads it, in UTF-8: one line per
// paragraph, without the byte-order mark the text filter writes.
inline std::string OfficeDocumentText(const std::string& documentPath) {
  return WithoutByteOrderMark(OfficeConvertedBytes(documentPath, "txt:Text", ".txt"));
}

// The document as LibreOffice lays it out, in its flat OpenDocument XML: for
// what plain text leaves out.  Frames show as <draw:frame> (the text filter
// drops their contents), columns as fo:column-count, colours as fo:color,
// and the laid-out page count as meta:page-count.
inline std::string OfficeFlatOdt(const std::string& documentPath) {
  return OfficeConvertedBytes(documentPath, "fodt", ".fodt");
}

}  // namespace zelk::test
