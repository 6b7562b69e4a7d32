#include "KnownTextLines.h"

#include <array>
#include <cctype>

namespace zelk::ocrtest {
namespace {

constexpr std::array kChineseWords{
    "扫描", "文档", "批量", "转换", "系统", "办法", "目录", "图像", "文件", "识别", "引擎", "页面",
    "单位", "管理", "档案", "工作", "规定", "通知", "会议", "年度", "计划", "报告", "审批", "部门",
    "人员", "资料", "保存", "查询", "使用", "单位", "合同", "项目", "质量", "安全", "技术", "标准",
    "服务", "信息", "数据", "统计", "财务", "预算", "建设", "发展", "改革", "政策", "执行", "检查",
    "组织", "领导", "负责", "处理", "按照", "要求", "及时", "完成", "相关", "有关", "进行", "确定",
    "经济", "社会", "历史", "城市", "北京", "上海", "广州", "中国", "人民", "政府", "企业", "学校"};
constexpr std::array kPunctuation{"，", "，", "、", "；", "。"};
constexpr std::array kEnglishWords{
    "the", "scanned", "document", "is", "converted", "into", "a", "searchable", "file", "with",
    "text", "layer", "and", "each", "page", "keeps", "its", "image", "archive", "office",
    "record", "number", "report", "quality", "of", "recognition", "for", "every", "directory",
    "batch", "result", "list", "success", "failure", "settings", "output", "source", "tree"};
constexpr std::array kTerms{"PDF", "OCR", "TIFF", "Word", "2024", "A4", "Tesseract", "ISO 9001"};

}  // namespace

std::string ChineseLine(std::mt19937& random, int characters, bool terms) {
  std::string line;
  int length = 0;
  for (int words = 0; length < characters - 4; ++words) {
    if (random() % 11 == 0 && terms) {
      const std::string term = kTerms[random() % kTerms.size()];
      line += term;
      length += static_cast<int>(term.size() + 1) / 2;
    } else {
      line += kChineseWords[random() % kChineseWords.size()];
      length += 2;
    }
    if (words > 2 && random() % 5 == 0) {
      line += kPunctuation[random() % kPunctuation.size()];
      ++length;
    }
  }
  return line + "。";
}

std::string EnglishLine(std::mt19937& random, int letters) {
  std::string line;
  while (static_cast<int>(line.size()) < letters - 12) {
    if (!line.empty()) line += ' ';
    line += kEnglishWords[random() % kEnglishWords.size()];
  }
  line[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
  return line + ".";
}

std::vector<std::string> LineTexts(const PageText& page) {
  std::vector<std::string> texts;
  for (const TextLine& line : page.lines) {
    std::string text;
    for (const TextWord& word : line.words) text += word.text + (word.spaceAfter ? " " : "");
    while (!text.empty() && text.back() == ' ') text.pop_back();
    texts.push_back(text);
  }
  return texts;
}

}  // namespace zelk::ocrtest
