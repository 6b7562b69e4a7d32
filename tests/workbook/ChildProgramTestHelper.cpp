// A child program for the ChildProgramCall tests: its first argument says
// how it answers.
//
//   big       a result larger than a pipe holds at once
//   empty     an empty result
//   echo      its remaining arguments, one a line
//   throw     a failure with the text "bad cell"
//   kill      dies by SIGKILL before answering
//   sleep     sleeps for half a minute, then answers
//   silent    exits without writing anything
//   garbage   writes text that is no answer

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <string>
#include <thread>

#include "workbook/ChildProgramCall.h"

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "silent") return 0;
  if (mode == "garbage") {
    const std::string text = "no answer";
    return write(STDOUT_FILENO, text.data(), text.size()) < 0 ? 1 : 0;
  }
  return zelk::AnswerParent([&]() -> std::string {
    if (mode == "big") return std::string(300000, 'x');
    if (mode == "empty") return {};
    if (mode == "echo") {
      std::string lines;
      for (int i = 2; i < argc; ++i) lines += std::string(argv[i]) + "\n";
      return lines;
    }
    if (mode == "throw") throw std::runtime_error("bad cell");
    if (mode == "kill") std::raise(SIGKILL);
    if (mode == "sleep") {
      std::this_thread::sleep_for(std::chrono::seconds(30));
      return "late";
    }
    throw std::runtime_error("unknown mode " + mode);
  });
}
