#pragma once
// The grey level of a page the loaders handed over, for the tests of page
// and item sequences: page p of a file from test::WriteTiffPages is grey
// level 40 * (p - 1).

#include "jobs/PreparedPage.h"

namespace zelk::test {

inline int GreyOf(const PreparedPage& prepared) {
  l_uint32 value = 0;
  pixGetPixel(PixelsOf(prepared.page).get(), 0, 0, &value);
  return static_cast<int>(value);
}

}  // namespace zelk::test
