#include "jobs/SplitFilesJob.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "imaging/PageReader.h"
#include "imaging/SaveFormat.h"
#include "jobs/ItemDirectory.h"
#include "jobs/NumberedName.h"
#include "jobs/OutputName.h"
#include "jobs/PageResolution.h"
#include "jobs/ItemPagesAhead.h"
#include "jobs/SourceFile.h"
#include "run/RunContext.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"
#include "scan/ScanSupport.h"

namespace zelk {
namespace {

NumberedNamePattern PagePattern(const Settings::SplitSection& split, const std::string& base) {
  return {split.FileNameAutoAdd == 1 ? base : std::string(), split.FileNamePre,
          split.FileNameInit, split.FileNameLength, split.AddZero != 0, split.FileNamePos};
}

// Page numbers are 16-bit values, as the settings that start them.
void CheckPageNumber(long long number) {
  if (number < std::numeric_limits<int16_t>::min() || number > std::numeric_limits<int16_t>::max()) {
    throw std::out_of_range("页码" + std::to_string(number) + "超出了-32768至32767的范围");
  }
}

// The page files of a file of `pageCount` pages, one per page in page order
// (the same path more than once when names coincide).
std::vector<std::string> PageFilePaths(const Settings::SplitSection& split,
                                       const std::string& base, const std::string& directory,
                                       int pageCount) {
  const NumberedNamePattern pattern = PagePattern(split, base);
  const char* extension = split.FileType == 1 ? "tif" : "jpg";
  std::vector<std::string> paths;
  for (int k = 0; k < pageCount; ++k) {
    CheckPageNumber(pattern.First + k);
    paths.push_back(OutputFilePath(directory, NumberedName(pattern, k), extension));
  }
  return paths;
}

int16_t SaveKind(const Settings& settings) {
  return settings.Split.FileType == 1 ? kSaveAsTif : kSaveAsJpg;
}

}  // namespace

ItemPages SplitFilesJob::PagesOf(RunContext& context, std::size_t index) {
  const std::string source = PageSourceFile(context, index);
  ItemPages pages;
  const int pageCount = GetPageCount(source);
  for (int k = 1; k <= pageCount; ++k) pages.Sources.push_back({source, k});
  pages.Prepare = [compress = context.RunSettings().ImageCompress,
                   kind = SaveKind(context.RunSettings())](PreparedPage& prepared, std::size_t) {
    RaiseLowResolution(prepared.page);
    PrepareTiff(prepared, compress, kind);
  };
  return pages;
}

ItemOutcome SplitFilesJob::ProcessItem(RunContext& context, std::size_t index) {
  const std::string& source = PageSourceFile(context, index);
  const Settings& settings = context.RunSettings();
  const std::string base = GetBaseName(GetFileNamePart(source));
  const std::string target = context.MirrorPath(GetParentPath(source) + base);
  ItemPages pages = PagesOf(context, index);
  const int pageCount = static_cast<int>(pages.Sources.size());
  const std::vector<std::string> outputs = PageFilePaths(settings.Split, base, target, pageCount);
  const int16_t kind = SaveKind(settings);

  // Sources that differ only in their extension share one directory: a
  // later one adds its pages to what this run wrote for the earlier.
  StagedItemDirectory directory(context.TargetRoot(), target, made_.count(target) > 0
                                            ? StagedItemDirectory::Existing::Extend
                                            : StagedItemDirectory::Existing::Refuse);
  PageSequence& loaded = TakeItemPages(ahead_, context.Rows().size(), index, std::move(pages),
                                       [this, &context](std::size_t i) { return PagesOf(context, i); });
  for (int k = 1; k <= pageCount; ++k) {
    context.ShowPageProgress(index, k, pageCount);
    const PreparedPage prepared = loaded.Next();
    ChooseTifSaveFormat(save_, settings.ImageCompress, ProgramBitsPerPixel(prepared.page), kind);
    const std::string& output = outputs[static_cast<std::size_t>(k - 1)];
    const std::string staged = JoinPath(directory.Path(), GetFileNamePart(output));
    if (IsJpegFormat(save_.m_nSaveFormat) && FileExists(staged)) {
      throw std::runtime_error("第" + std::to_string(k) + "页的文件" + output +
                               "已有一页，JPEG文件只能保存一页");
    }
    // A page file of a name that came before gets this page appended.
    SavePrepared(prepared, save_, staged, true);
  }
  directory.Commit();
  made_.insert(target);
  return ItemOutcome::Done;
}

}  // namespace zelk
