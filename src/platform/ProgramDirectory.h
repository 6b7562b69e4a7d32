#pragma once
#include <string>

namespace zelk {

// The directory that holds the running executable, without a trailing
// separator.  ZELK.conf, Logs, help.doc and template.xls live there.
std::string ProgramDirectory();

}  // namespace zelk
