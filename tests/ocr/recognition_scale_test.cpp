#include "ocr/RecognitionScale.h"

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

namespace zelk {
namespace {

TEST(RecognitionScale, SquarePixelsOfAbout300DpiFromWhatTheTagsAndPixelsSay) {
  struct Case {
    const char* what;
    int width, height, xDpi, yDpi;
    int dpi;
    double x, y;
  };
  const Case cases[] = {
      {"an A4 scan at 300 dpi is read as it is", 2480, 3508, 300, 300, 300, 1, 1},
      {"a fax's rows are doubled", 1728, 1146, 204, 98, 204, 1, 204.0 / 98},
      {"a 600 dpi scan is halved", 4960, 7016, 600, 600, 300, 0.5, 0.5},
      {"an A4 page tagged 72 dpi is estimated", 4960, 7016, 72, 72, 300, 0.5, 0.5},
      {"a tag that makes the page two metres long", 4960, 7016, 150, 150, 300, 0.5, 0.5},
      {"no tag on a small clipping takes 300 dpi", 800, 600, 0, 0, 300, 1, 1},
      {"one axis missing takes the other's", 2480, 3508, 300, 0, 300, 1, 1},
      {"a 200 dpi scan is read at 200", 1654, 2339, 200, 200, 200, 1, 1},
  };
  for (const Case& c : cases) {
    Page page;
    page.pix.reset(pixCreate(c.width, c.height, 1));
    page.xDpi = c.xDpi;
    page.yDpi = c.yDpi;
    const RecognitionScale scale = RecognitionScaleOf(page);
    EXPECT_EQ(scale.dpi, c.dpi) << c.what;
    EXPECT_NEAR(scale.x, c.x, 0.01) << c.what;
    EXPECT_NEAR(scale.y, c.y, 0.01) << c.what;
  }
}

}  // namespace
}  // namespace zelk
