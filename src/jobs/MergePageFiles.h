#pragma once
// The pages of a directory as the recognition jobs that stack a directory
// into one document take them.

#include <string>
#include <vector>

#include "jobs/DirectoryPages.h"
#include "ocr/OcrEngine.h"
#include "settings/Settings.h"

namespace zelk {

// The directory's page files the [Merge] Tif and Jpg keys admit: names
// containing ".tif" while Tif is 1, ".jpg" while Jpg is 1, in the order
// ListPageFiles gives them.
std::vector<PageFile> AdmittedPageFiles(const std::string& directory, const std::string& sourceRoot,
                                        const Settings::MergeSection& merge);

// Appends the pages to the document, in order.
void AddPages(OcrDocument& document, const std::vector<PageSource>& pages);

// The engine options with a page reader that raises a resolution below
// 100 dpi to 300 before the page is recognised, so that type sizes are
// estimated at the page's real resolution and a page written on keeps the
// raised value.
OcrEngineOptions WithRaisedResolutionReader(OcrEngineOptions options);

}  // namespace zelk
