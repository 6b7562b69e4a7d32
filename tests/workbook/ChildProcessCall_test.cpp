#include "workbook/ChildProcessCall.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <thread>

namespace zelk {
namespace {

using std::chrono::milliseconds;

std::string ErrorOf(const std::function<std::string()>& work, milliseconds timeout) {
  try {
    return "returned " + CallInChildProcess(work, timeout);
  } catch (const ChildProcessError& error) {
    return error.what();
  }
}

TEST(ChildProcessCallTest, ReturnsTheResultAndReportsFailuresOfTheChild) {
  const std::string big(300000, 'x');  // more than a pipe holds at once
  EXPECT_EQ(CallInChildProcess([&] { return big; }, milliseconds(10000)), big);
  EXPECT_EQ(CallInChildProcess([] { return std::string(); }, milliseconds(10000)), "");
  EXPECT_EQ(
      ErrorOf([]() -> std::string { throw std::runtime_error("bad cell"); }, milliseconds(10000)),
      "bad cell");
  // A child that dies by a signal (a sanitizer turns a crash into an exit,
  // so the test kills the child outright).
  EXPECT_EQ(ErrorOf(
                []() -> std::string {
                  std::raise(SIGKILL);
                  return "survived";
                },
                milliseconds(10000)),
            "the child process crashed: Killed");
  EXPECT_EQ(ErrorOf(
                [] {
                  std::this_thread::sleep_for(std::chrono::seconds(30));
                  return std::string("late");
                },
                milliseconds(200)),
            "the child process took too long and was stopped");
}

}  // namespace
}  // namespace zelk
