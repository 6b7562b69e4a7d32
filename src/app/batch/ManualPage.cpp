#include "app/batch/ManualPage.h"

#include <string_view>
#include <vector>

#include "jobs/JobActions.h"
#include "jobs/JobCatalog.h"

namespace zelk {
namespace {

// Every '-' as "\-", as the rest of the page writes it (roff may break a
// line at a plain '-').
std::string RoffText(std::string_view text) {
  std::string roff;
  for (const char c : text) {
    if (c == '-') roff += '\\';
    roff += c;
  }
  return roff;
}

std::string ActionList() {
  std::string text;
  for (const JobAction& action : kJobActions) {
    if (!text.empty()) text += ", ";
    text += std::to_string(action.Number);
    text += ' ';
    text += RoffText(action.ManualName);
  }
  return text;
}

// One bold section name a line, the punctuation in roman type between them.
std::string SectionList() {
  const std::vector<std::string> names = ActionSectionNames();
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string name = "[" + names[i] + "]";
    if (i == 0) {
      text += ".RB ( " + name + (names.size() == 1 ? " )\n" : " ,\n");
    } else if (i + 1 == names.size()) {
      text += "or\n.BR " + name + " )\n";
    } else if (i + 2 == names.size()) {
      text += ".B " + name + "\n";
    } else {
      text += ".BR " + name + " ,\n";
    }
  }
  return text;
}

void Replace(std::string& page, std::string_view marker, const std::string& text) {
  const std::size_t at = page.find(marker);
  if (at != std::string::npos) page.replace(at, marker.size(), text);
}

}  // namespace

std::string FillManualPage(std::string page) {
  Replace(page, "@ZELK_ACTIONS@", ActionList());
  Replace(page, "@ZELK_SECTIONS@\n", SectionList());
  return page;
}

}  // namespace zelk
