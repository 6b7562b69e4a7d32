// The keys a run hands back to the window's record: only those captured,
// each with its last captured value, into its own field.

#include "settings/SettingsChangeSet.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(SettingsChangeSetTest, HandsBackExactlyTheCapturedKeysWithTheirLastValues) {
  Settings run;
  run.Common.ImageSrcDir = "/scans/first";
  run.Merge.KeepDir = 1;
  run.PDF.KeepDir = 1;

  SettingsChangeSet changes;
  EXPECT_TRUE(changes.Empty());
  changes.Capture(run, SettingId::Common_ImageSrcDir);
  changes.Capture(run, SettingId::PDF_KeepDir);
  run.Common.ImageSrcDir = "/scans/second";
  changes.Capture(run, SettingId::Common_ImageSrcDir);
  run.PDF.KeepDir = 0;  // changed after its capture: not handed back
  EXPECT_FALSE(changes.Empty());
  EXPECT_TRUE(changes.Contains(SettingId::Common_ImageSrcDir));
  EXPECT_TRUE(changes.Contains(SettingId::PDF_KeepDir));
  EXPECT_FALSE(changes.Contains(SettingId::Merge_KeepDir)) << "same key name, other section";
  EXPECT_FALSE(changes.Contains(SettingId::TwoPDF_KeepDir));

  // What a dialog changed in the window's record meanwhile stays.
  Settings window;
  window.Merge.KeepDir = 0;
  window.TwoPDF.KeepDir = 0;
  window.Common.ConvertDstDir = "/out";
  changes.ApplyTo(window);
  EXPECT_EQ(window.Common.ImageSrcDir, "/scans/second");
  EXPECT_EQ(window.PDF.KeepDir, 1);
  EXPECT_EQ(window.Merge.KeepDir, 0);
  EXPECT_EQ(window.TwoPDF.KeepDir, 0);
  EXPECT_EQ(window.Common.ConvertDstDir, "/out");
}

}  // namespace
}  // namespace zelk
