#include "OcrmypdfComparison.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace zelk::bench {
namespace {

namespace fs = std::filesystem;

std::string CommandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// The known lines as one text, a line break after each.
std::string KnownText(const std::vector<std::string>& knownLines) {
  std::string text;
  for (const std::string& line : knownLines) text += line + "\n";
  return text;
}

}  // namespace

ErrorCount PdfPageErrors(const std::string& pdf, int page, const std::vector<std::string>& knownLines) {
  const std::string number = std::to_string(page);
  return CharacterErrors(
      CommandOutput("pdftotext -enc UTF-8 -f " + number + " -l " + number + " '" + pdf + "' -"),
      KnownText(knownLines));
}

std::optional<ErrorCount> EngineTextErrors(const std::string& image, const std::vector<std::string>& knownLines) {
  if (!OnPath("tesseract")) return std::nullopt;
  return CharacterErrors(CommandOutput("tesseract '" + image + "' - -l chi_sim+eng 2>/dev/null"),
                         KnownText(knownLines));
}

OcrmypdfFigures RunOcrmypdf(const std::vector<std::string>& pageFiles,
                            const std::vector<std::vector<std::string>>& known,
                            const std::string& workDirectory, const std::vector<std::string>& options) {
  OcrmypdfFigures result;
  result.available = OnPath("ocrmypdf") && OnPath("img2pdf");
  if (!result.available) return result;
  const std::string input = workDirectory + "/input.pdf";
  const std::string output = workDirectory + "/ocrmypdf.pdf";
  std::vector<std::string> img2pdf{"img2pdf", "-o", input};
  img2pdf.insert(img2pdf.end(), pageFiles.begin(), pageFiles.end());
  if (!RunProgram(img2pdf).ok) return result;

  std::vector<std::string> ocrmypdf{"ocrmypdf", "-l", "chi_sim+eng", "--jobs", "2"};
  ocrmypdf.insert(ocrmypdf.end(), options.begin(), options.end());
  ocrmypdf.insert(ocrmypdf.end(), {input, output});
  result.figures = RunProgram(ocrmypdf);
  std::error_code ec;
  if (!result.figures.ok || !fs::exists(output, ec)) return result;
  result.bytes = fs::file_size(output, ec);
  for (std::size_t i = 0; i < known.size(); ++i) {
    const ErrorCount page = PdfPageErrors(output, static_cast<int>(i + 1), known[i]);
    result.pages.push_back(page);
    result.errors += page;
  }
  return result;
}

}  // namespace zelk::bench
