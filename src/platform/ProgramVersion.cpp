#include "platform/ProgramVersion.h"

namespace zelk {

// ZELK_VERSION is defined for this file alone by the module's CMakeLists.txt.
const char* ProgramVersion() { return ZELK_VERSION; }

}  // namespace zelk
