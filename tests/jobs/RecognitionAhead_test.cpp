// The look-ahead of the recognition jobs with stand-in recognizers: rows
// and pages come out in order, later rows start only while few pages are
// owed, and a row that could not start fails when it is taken, not before.

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <string>
#include <vector>

#include "jobs/RecognitionAhead.h"
#include "ocr/PageRecognizer.h"

namespace zelk {
namespace {

// The layout's width tells which page of which file was recognised.
class WidthRecognizer : public PageRecognizer {
 public:
  PageLayout Recognise(const Page& page) override {
    PageLayout layout;
    layout.width = static_cast<int>(pixGetWidth(page.pix.get()));
    return layout;
  }
};

// A "file" is named by its page count; page i of file n is 10n + i + 1 wide.
PageReader CountingReader() {
  return {[](const std::string& path) {
            if (path == "bad") throw ImageError(ErrorKind::NotThatFormat, "bad", "not an image");
            return std::stoi(path);
          },
          [](const std::string& path, int index) {
            Page page;
            page.pix.reset(pixCreate(10 * std::stoi(path) + index + 1, 1, 8));
            return page;
          }};
}

TEST(RecognitionAhead, RowsAndPagesInOrderWithBoundedLookAheadAndDeferredErrors) {
  OcrEngine engine(std::make_unique<RecognitionPool>(
                       2, [] { return std::make_unique<WidthRecognizer>(); }),
                   CountingReader());
  const std::vector<std::string> rows = {"1", "3", "bad", "2", "1"};
  RecognitionAhead ahead(engine, rows.size(), [&](std::size_t index) {
    std::optional<OcrDocument> document = engine.CreateDocument();
    document->AddImageFile(rows[index]);
    return document;
  });
  const auto widths = [&](std::size_t index) {
    std::vector<int> result;
    OcrDocument* document = ahead.Take(index);
    for (int p = 0; document && p < document->PageCount(); ++p) {
      result.push_back(ahead.NextPage().layout.width);
    }
    return result;
  };

  ASSERT_NE(ahead.Take(0), nullptr);
  // Two workers want four pages owed: rows 0 and 1 hold them, row 2 waits.
  EXPECT_EQ(ahead.StartedRows(), 2u);
  EXPECT_EQ(ahead.NextPage().layout.width, 11);
  EXPECT_EQ(widths(1), (std::vector<int>{31, 32, 33}));
  EXPECT_THROW(ahead.Take(2), ImageError);
  EXPECT_EQ(widths(3), (std::vector<int>{21, 22}));
  // A row passed over (the job skipped it) is closed when a later one is taken.
  EXPECT_EQ(widths(4), std::vector<int>{11});
  EXPECT_THROW(ahead.NextPage(), std::logic_error);
}

}  // namespace
}  // namespace zelk
