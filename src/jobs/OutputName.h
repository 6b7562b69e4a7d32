#pragma once
// Names of output files that come from outside the program (a cell of the
// grouping workbook, a name built from the split or rename settings) must
// name a file inside the output directory and nothing else.

#include <stdexcept>
#include <string>
#include <string_view>

namespace zelk {

// An output name that was refused; what() is the reason for the operator.
class UnsafeOutputName : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Why `name` cannot be used as the name of a file in an output directory,
// or an empty text when it can.  Refused: an empty name, "." and "..", a
// name holding "/", a NUL character, and a name longer than a file name may
// be.  A backslash is an ordinary character of a file name here, as in the
// source names the outputs are named after.
std::string OutputNameProblem(std::string_view name);

// The same for a name typed into the grouping workbook, which also refuses
// "\" (a workbook written on Windows uses it between directories) and
// control characters (line breaks, escape sequences), which no one means
// to put into a file name.
std::string WorkbookNameProblem(std::string_view name);

// `directory` & separator & `name` & "." & `extension` (no dot when the
// extension is empty).  Throws UnsafeOutputName when the file name is
// refused by OutputNameProblem.
std::string OutputFilePath(const std::string& directory, std::string_view name,
                           std::string_view extension);

}  // namespace zelk
