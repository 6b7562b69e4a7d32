#include "documents/WordLayout.h"

namespace zelk {

ParagraphLook LookOf(const WordExportOptions& options) {
  ParagraphLook look;
  look.runs.colours = options.keepColours;
  look.shading = options.keepColours;
  switch (options.retention) {
    case LayoutRetention::PlainText:
      return ParagraphLook{RunLook{false, false}, false, false, false, false, false};
    case LayoutRetention::FormattedText:
      look.lineHeight = false;
      return look;
    case LayoutRetention::ExactCopy:
      // The cell carries the block's paper colour.
      look.shading = false;
      return look;
    default:
      return look;
  }
}

WordDocument BuildWordDocument(const std::vector<PageLayout>& pages,
                               const WordExportOptions& options) {
  WordDocument document;
  document.sections.reserve(pages.size());
  for (const PageLayout& page : pages) {
    const bool exact = options.retention == LayoutRetention::ExactCopy;
    // Text set in columns keeps its direction in the exact copy: it flows
    // down the page column after column, as the scan has it.
    if (exact && !page.frame.columns) {
      document.sections.push_back(GridSection(page, options));
      continue;
    }
    for (WordSection& section : FlowingSections(page, options)) {
      section.verticalText = exact;
      document.sections.push_back(std::move(section));
    }
  }
  return document;
}

}  // namespace zelk
