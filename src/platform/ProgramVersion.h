#pragma once
// The version of the program, from the project's version in CMakeLists.txt:
// the same for zelk and zelk-batch.

namespace zelk {

// "8.1"
const char* ProgramVersion();

}  // namespace zelk
