#pragma once
// A source and an output root in a fresh temporary directory, and a scan
// over them that returns the row paths.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/ScanOptions.h"
#include "scan/WorkList.h"
#include "support/TempDir.h"

namespace zelk::test {

using ScanFunction = void (*)(const std::string&, const ScanOptions&, WorkList&, ScanObserver*);

template <ScanFunction Scanner>
class ScanFixture : public ::testing::Test {
 protected:
  std::string In(const std::string& relative = "") const {
    return relative.empty() ? in_ : in_ + "/" + relative;
  }
  std::string Out(const std::string& relative) const { return out_ + "/" + relative; }

  ScanOptions Options(std::string targetType, bool keepDir = false) const {
    ScanOptions options;
    options.SourceRoot = in_;
    options.TargetRoot = out_;
    options.TargetType = std::move(targetType);
    options.KeepDir = keepDir;
    return options;
  }

  std::vector<std::string> Scan(const ScanOptions& options) {
    rows_.clear();
    Scanner(options.SourceRoot, options, rows_, nullptr);
    std::vector<std::string> paths;
    for (const WorkRow& row : rows_) paths.push_back(row.Path);
    return paths;
  }

  TempDir dir_;
  std::string in_ = dir_.File("in");
  std::string out_ = dir_.File("out");
  WorkList rows_;
};

}  // namespace zelk::test
