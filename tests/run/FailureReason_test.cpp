#include "run/FailureReason.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <future>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/DirectoryBeneath.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

struct Case {
  const char* text;  // what the library or toolkit said
  const char* lead;  // what the operator reads before it
};

// Texts as the toolkit, libtiff, qpdf and the writers word them.
TEST(FailureReason, EnglishReasonsGetAChineseLeadAndKeepTheirText) {
  const Case cases[] = {
      {"/s/a.tif: cannot read as TIFF: TIFFReadDirectory: Not a TIFF file", "无法读取TIFF图像"},
      {"/s/a.tif: cannot decode the page: Fax4Decode: bad code", "无法解码页面图像"},
      {"/s/a.jpg: not a readable JPEG image (Not a JPEG file)", "无法读取JPEG图像"},
      {"/s/a.jpg: the JPEG data is damaged (Premature end of JPEG file)", "JPEG图像数据已损坏"},
      {"/s/a.pdf: the PDF file is protected by a password", "PDF文件有密码保护"},
      {"cannot add pages to /t/a.pdf: it is not a readable PDF (damaged)",
       "无法向已有的PDF文件添加页面"},
      {"/s/a.tif: page 3 is beyond the end of the file (2 pages)", "页码超出了文件的页数"},
      {"/s/a.png: out of memory for the page", "内存不足"},
      {"std::bad_alloc", "内存不足"},
      {"cannot write the DOCX document /t/a.docx: zip error", "无法写入Word文档"},
      {"text recognition failed", "文字识别失败"},
      {"/t/a.tif: cannot finish writing: TIFFWriteDirectory: Error writing", "无法完成文件写入"},
      {"something nobody foresaw", "处理失败"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureReasonOfText(c.text), std::string(c.lead) + "：" + c.text) << c.text;
  }
}

TEST(FailureReason, TheSystemsReasonComesFromTheErrorCodeOrFromItsWordsInTheText) {
  const fs::filesystem_error full("cannot create directory", fs::path("/t/a"),
                                  std::make_error_code(std::errc::no_space_on_device));
  EXPECT_EQ(FailureReasonOf(full), std::string("无法创建目录，磁盘空间不足：") + full.what());

  const std::system_error denied(EACCES, std::system_category(), "open");
  EXPECT_EQ(FailureReasonOf(denied), std::string("没有权限：") + denied.what());

  // Toolkit texts carry strerror in parentheses or after a colon.
  const std::string missing =
      std::string("/s/a.tif: cannot open the file (") + std::strerror(ENOENT) + ")";
  EXPECT_EQ(FailureReasonOfText(missing), "无法打开文件，文件或目录不存在：" + missing);
  const std::string readOnly = std::string("cannot create a temporary file beside /t/a.pdf: ") +
                               std::strerror(EROFS);
  EXPECT_EQ(FailureReasonOfText(readOnly), "无法创建临时文件，磁盘为只读：" + readOnly);
  const std::string ioError = std::string("filesystem error: cannot copy: ") + std::strerror(EIO);
  EXPECT_EQ(FailureReasonOfText(ioError), "无法复制，磁盘读写出错：" + ioError);
}

TEST(FailureReason, ReasonsTheProgramWordsItselfStayAsTheyAre) {
  for (const char* text : {"目录中没有可识别的图像文件：/s/a", "输出目录“/t/a”已存在",
                           "无法写入更名记录：filesystem error: cannot rename"}) {
    EXPECT_EQ(FailureReasonOfText(text), text);
  }
  EXPECT_EQ(FailureReasonOfText(""), "未知错误");
  EXPECT_EQ(FailureReasonOf(std::bad_alloc()), "内存不足：std::bad_alloc");
  EXPECT_EQ(FailureReasonOf(LinkInPathError("/t/a")), "输出路径中含有链接：/t/a");
}

TEST(FailureReason, SystemReasonsOnlyForErrnoValuesOfTheTable) {
  EXPECT_EQ(SystemReasonText(std::make_error_code(std::errc::permission_denied)), "没有权限");
  EXPECT_EQ(SystemReasonText(std::error_code(EDQUOT, std::system_category())), "磁盘配额已满");
  EXPECT_FALSE(SystemReasonText(std::make_error_code(std::errc::protocol_error)));
  EXPECT_FALSE(SystemReasonText(std::make_error_code(std::future_errc::no_state)));
}

}  // namespace
}  // namespace zelk
