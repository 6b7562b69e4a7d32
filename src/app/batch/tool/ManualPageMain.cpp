// zelk-manual-page <template> <page>: writes the manual page of zelk-batch
// from its template, with the actions of [Common] ConvertAction and the
// sections they read filled in from the action table and the job catalog
// (the lines @ZELK_ACTIONS@ and @ZELK_SECTIONS@).

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/batch/ManualPage.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <template> <manual page>\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << zelk::FillManualPage(text.str());
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
