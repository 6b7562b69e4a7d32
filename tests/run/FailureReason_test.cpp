#include "run/FailureReason.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <future>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "filesafety/DirectoryBeneath.h"
#include "platform/ErrorKind.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

// The text is the kind's and the file's, whatever the library said; the
// library's words go into the detail.
TEST(FailureReason, AKindedErrorReadsAsItsKindAndFileWithTheDetailApart) {
  const KindedError damaged(ErrorKind::Damaged, "/s/a.tif",
                            "cannot read as TIFF: TIFFFetchDirectory: Can not read TIFF directory");
  const FailureReason reason = FailureReasonOf(damaged);
  EXPECT_EQ(reason.Text, std::string(ErrorKindText(ErrorKind::Damaged)) + "：/s/a.tif");
  EXPECT_EQ(reason.Detail, damaged.Detail());
  EXPECT_EQ(ReasonListText(reason), reason.Text + "（" + damaged.Detail() + "）");

  const FailureReason withoutFile = FailureReasonOf(KindedError(ErrorKind::EncodeFailed, "", "x"));
  EXPECT_EQ(withoutFile.Text, ErrorKindText(ErrorKind::EncodeFailed));
  EXPECT_EQ(FailureReasonOf(LinkInPathError("/t/a")).Text, "输出路径中含有链接：/t/a");
}

TEST(FailureReason, SystemErrorsReadByTheirNumberAndName) {
  const fs::filesystem_error full("cannot create directory", fs::path("/t/a"),
                                  std::make_error_code(std::errc::no_space_on_device));
  EXPECT_EQ(FailureReasonOf(full).Text, "磁盘空间不足：/t/a");
  EXPECT_EQ(FailureReasonOf(full).Detail, full.what());
  const std::system_error unknown(EPROTO, std::system_category(), "open");
  EXPECT_EQ(FailureReasonOf(unknown).Text, "文件操作失败");
  EXPECT_EQ(FailureReasonOf(std::bad_alloc()).Text, "内存不足");
}

TEST(FailureReason, ReasonsTheProgramWordsItselfStayAndOthersAreGeneral) {
  const FailureReason own = FailureReasonOf(std::runtime_error("输出目录“/t/a”已存在"));
  EXPECT_EQ(own.Text, "输出目录“/t/a”已存在");
  EXPECT_EQ(ReasonListText(own), own.Text);
  const FailureReason other = FailureReasonOf(std::runtime_error("something nobody foresaw"));
  EXPECT_EQ(ReasonListText(other), "处理失败（something nobody foresaw）");
}

TEST(FailureReason, SystemReasonsOnlyForErrnoValuesOfTheTable) {
  EXPECT_EQ(SystemReasonText(std::make_error_code(std::errc::permission_denied)), "没有权限");
  EXPECT_EQ(SystemReasonText(std::error_code(EDQUOT, std::system_category())), "磁盘配额已满");
  EXPECT_FALSE(SystemReasonText(std::make_error_code(std::errc::protocol_error)));
  EXPECT_FALSE(SystemReasonText(std::make_error_code(std::future_errc::no_state)));
}

}  // namespace
}  // namespace zelk
