#pragma once
// A message the operator must read (a message box in the window, standard
// error for the headless runner).  The engine only describes it; showing it
// never blocks a run.

#include <string>

namespace zelk {

// Title of every message box of the program.
inline constexpr const char* kMessageTitle = "提示信息";

// Two ideographic spaces (U+3000), as several messages end with them.
inline constexpr const char* kTwoIdeographicSpaces = "\u3000\u3000";

struct UserMessage {
  enum class Icon { Information, Warning };
  // Where the input focus goes after the message, when anywhere.
  enum class Focus { None, SourceDirButton, TargetDirButton };

  Icon Kind = Icon::Information;
  std::string Text;
  Focus FocusAfter = Focus::None;
};

}  // namespace zelk
