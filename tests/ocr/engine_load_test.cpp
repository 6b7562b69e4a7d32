// Starting the engine: where the language data is found, and the error the
// jobs show when it cannot be loaded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ocr/OcrEngine.h"
#include "ocr/OcrError.h"
#include "ocr/TessdataLocation.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

const std::string kSystemTessdata = "/usr/share/tesseract-ocr/5/tessdata";

OcrEngineOptions LoadFrom(const std::string& directory) {
  OcrEngineOptions options;
  options.tessdataCandidates = {directory};
  options.workers = 2;
  return options;
}

// The description the job shows, or "" when the engine loaded.
std::string LoadError(const OcrEngineOptions& options) {
  try {
    OcrEngine::Load(options);
  } catch (const EngineLoadError& error) {
    EXPECT_EQ(error.Number(), 10000);
    return error.what();
  }
  return "";
}

TEST(EngineLoad, MissingLanguageDataNamesTheFilesAndTheDirectory) {
  test::TempDir empty;
  EXPECT_EQ(LoadError(LoadFrom(empty.Path().string())),
            "Error while loading OCR engine: language data chi_sim.traineddata, "
            "eng.traineddata not found in " + empty.Path().string());

  test::TempDir englishOnly;
  std::filesystem::create_symlink(kSystemTessdata + "/eng.traineddata",
                                  englishOnly.Path() / "eng.traineddata");
  EXPECT_EQ(LoadError(LoadFrom(englishOnly.Path().string())),
            "Error while loading OCR engine: language data chi_sim.traineddata not found in " +
                englishOnly.Path().string());

  EXPECT_EQ(LoadError(LoadFrom(empty.File("gone"))),
            "Error while loading OCR engine: no language data directory found (looked in " +
                empty.File("gone") + ")");
}

TEST(EngineLoad, DamagedLanguageDataAndUnknownLanguagesFailToLoad) {
  test::TempDir damaged;
  test::WriteBytes(damaged.Path() / "chi_sim.traineddata", std::string(4000, '\x5a'));
  test::WriteBytes(damaged.Path() / "eng.traineddata", "");
  EXPECT_EQ(LoadError(LoadFrom(damaged.Path().string())),
            "Error while loading OCR engine: Tesseract cannot load language data chi_sim+eng from " +
                damaged.Path().string());

  OcrEngineOptions klingon;
  klingon.languages = "ChinesePRC+Klingon";
  EXPECT_EQ(LoadError(klingon),
            "Error while loading OCR engine: unknown recognition language ChinesePRC+Klingon");
}

TEST(EngineLoad, TheFirstDirectoryHoldingAllLanguagesWins) {
  test::TempDir incomplete;
  test::TempDir complete;
  for (const char* file : {"chi_sim.traineddata", "eng.traineddata"}) {
    std::filesystem::create_symlink(kSystemTessdata + "/" + file, complete.Path() / file);
  }
  const auto found = FindTessdata(
      {incomplete.File("absent"), incomplete.Path().string(), complete.Path().string(), kSystemTessdata},
      {"chi_sim", "eng"});
  ASSERT_TRUE(std::holds_alternative<TessdataDirectory>(found));
  EXPECT_EQ(std::get<TessdataDirectory>(found).path, complete.Path().string());
}

TEST(EngineLoad, DataBesideTheProgramComesFirstThenTessdataPrefixThenDebian) {
  setenv("TESSDATA_PREFIX", "/opt/ocr", 1);
  const auto candidates = DefaultTessdataCandidates();
  unsetenv("TESSDATA_PREFIX");
  ASSERT_GE(candidates.size(), 4u);
  EXPECT_EQ(std::filesystem::path(candidates[0]).filename(), "tessdata");
  EXPECT_EQ(candidates[1], "/opt/ocr");
  EXPECT_EQ(candidates[2], "/opt/ocr/tessdata");
  EXPECT_EQ(candidates[3], kSystemTessdata);

  // With the defaults the engine loads from Debian's packages.
  OcrEngineOptions options;
  options.workers = 1;
  EXPECT_EQ(OcrEngine::Load(options).WorkerCount(), 1);
}

}  // namespace
}  // namespace zelk
