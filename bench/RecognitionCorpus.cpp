#include "RecognitionCorpus.h"

#include <algorithm>
#include <array>
#include <random>

#include "ocr/WordSpacing.h"
#include "platform/Utf8.h"
#include "TextPageRenderer.h"

namespace zelk::bench {
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

// Lines fit the 2008-pixel text width at 44 pixels an em.
constexpr int kChineseCharactersPerLine = 40;
constexpr int kLatinCharactersPerLine = 72;
constexpr int kLinesPerPage = 36;

std::string ChineseLine(std::mt19937& random) {
  std::string line;
  int characters = 0;
  for (int words = 0; characters < kChineseCharactersPerLine - 4; ++words) {
    if (random() % 11 == 0) {
      const std::string term = kTerms[random() % kTerms.size()];
      line += term;
      characters += static_cast<int>(term.size() + 1) / 2;
    } else {
      line += kChineseWords[random() % kChineseWords.size()];
      characters += 2;
    }
    if (words > 2 && random() % 5 == 0) {
      line += kPunctuation[random() % kPunctuation.size()];
      ++characters;
    }
  }
  return line + "。";
}

std::string EnglishLine(std::mt19937& random) {
  std::string line;
  while (line.size() < kLatinCharactersPerLine - 12) {
    if (!line.empty()) line += ' ';
    line += kEnglishWords[random() % kEnglishWords.size()];
  }
  line[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
  return line + ".";
}

std::u32string WithoutBlanks(const std::string& text) {
  std::u32string characters = DecodeUtf8(text);
  std::erase_if(characters, [](char32_t c) { return c == ' ' || c == '\r' || c == '\n' || c == '\f'; });
  return characters;
}

}  // namespace

std::vector<std::vector<std::string>> CorpusText(int count) {
  std::mt19937 random(20240601);
  std::vector<std::vector<std::string>> pages(count);
  for (auto& lines : pages) {
    for (int i = 0; i < kLinesPerPage; ++i) {
      lines.push_back(random() % 4 == 0 ? EnglishLine(random) : ChineseLine(random));
    }
  }
  return pages;
}

std::vector<std::string> WriteCorpus(const std::vector<std::vector<std::string>>& pages,
                                     const std::string& directory) {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    ocrtest::TextPageSpec spec;
    spec.width = 2480;
    spec.height = 3508;
    spec.margin = 236;
    spec.lines = pages[i];
    std::vector<PixPtr> page;
    page.push_back(ocrtest::Binarize(ocrtest::RenderTextPage(spec)));
    const std::string name = (i < 9 ? "page0" : "page") + std::to_string(i + 1) + ".tif";
    paths.push_back(directory + "/" + name);
    ocrtest::WriteMultipageTiff(paths.back(), page);
  }
  return paths;
}

ErrorCount CharacterErrors(const std::string& recognised, const std::string& known) {
  const std::u32string a = WithoutBlanks(recognised);
  const std::u32string b = WithoutBlanks(known);
  std::vector<long> previous(b.size() + 1), current(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = static_cast<long>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = static_cast<long>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                             previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
    }
    std::swap(previous, current);
  }
  return ErrorCount{previous[b.size()], static_cast<long>(b.size())};
}

long BlanksInsideChinese(const std::string& text) {
  const std::u32string characters = DecodeUtf8(text);
  long blanks = 0;
  for (std::size_t i = 1; i + 1 < characters.size(); ++i) {
    if (characters[i] == ' ' && IsCjkCharacter(characters[i - 1]) && IsCjkCharacter(characters[i + 1])) {
      ++blanks;
    }
  }
  return blanks;
}

}  // namespace zelk::bench
