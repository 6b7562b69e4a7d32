#include "workbook/ChildProgramCall.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelk {
namespace {

using std::chrono::milliseconds;

const std::string kHelper = ZELK_CHILD_PROGRAM_TEST_HELPER;

std::string ErrorOf(const std::vector<std::string>& arguments, milliseconds timeout,
                    const std::string& program = kHelper) {
  try {
    return "returned " + CallChildProgram(program, arguments, timeout);
  } catch (const ChildProcessError& error) {
    return error.what();
  }
}

TEST(ChildProgramCallTest, ReturnsTheResultAndReportsFailuresOfTheChild) {
  const std::string big(300000, 'x');  // more than a pipe holds at once
  EXPECT_EQ(CallChildProgram(kHelper, {"big"}, milliseconds(10000)), big);
  EXPECT_EQ(CallChildProgram(kHelper, {"empty"}, milliseconds(10000)), "");
  EXPECT_EQ(ErrorOf({"throw"}, milliseconds(10000)), "bad cell");
  // A child that dies by a signal (a sanitizer turns a crash into an exit,
  // so the helper kills itself outright).
  EXPECT_EQ(ErrorOf({"kill"}, milliseconds(10000)), "the child process crashed: Killed");
  EXPECT_EQ(ErrorOf({"sleep"}, milliseconds(200)),
            "the child process took too long and was stopped");
}

TEST(ChildProgramCallTest, ArgumentsArriveWholeAndOddEndingsAreErrors) {
  // Blanks, quotes and non-ASCII text pass as they are: no shell between.
  EXPECT_EQ(CallChildProgram(kHelper, {"echo", "a b", "'$HOME'", "分件.xls", "-x"},
                             milliseconds(10000)),
            "a b\n'$HOME'\n分件.xls\n-x\n");
  EXPECT_EQ(ErrorOf({"silent"}, milliseconds(10000)), "the child process ended without a result");
  EXPECT_EQ(ErrorOf({"garbage"}, milliseconds(10000)), "the child process gave no readable result");
  EXPECT_EQ(ErrorOf({}, milliseconds(10000), "/nonexistent/zelk-helper"),
            "cannot start /nonexistent/zelk-helper: No such file or directory");
}

}  // namespace
}  // namespace zelk
