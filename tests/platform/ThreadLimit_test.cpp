#include "platform/ThreadLimit.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zelk {
namespace {

constexpr const char* kProbeOutput = "ZELK_THREAD_LIMIT_PROBE_OUT";

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs only inside the re-executed copy started by the test below: records
// what the fresh process sees, the variable and its command line.
TEST(ThreadLimitProbe, DISABLED_RecordEnvironment) {
  const char* out = std::getenv(kProbeOutput);
  ASSERT_NE(out, nullptr);
  const char* limit = std::getenv("OMP_THREAD_LIMIT");
  std::ofstream file(out, std::ios::binary);
  file << (limit ? limit : "<unset>") << '\n' << ReadWholeFile("/proc/self/cmdline");
}

TEST(ThreadLimit, ReexecutesOnceWithLimitAndSameArguments) {
  const std::filesystem::path output =
      std::filesystem::temp_directory_path() / ("zelk_thread_limit_" + std::to_string(getpid()));
  std::filesystem::remove(output);

  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    unsetenv("OMP_THREAD_LIMIT");
    setenv(kProbeOutput, output.c_str(), 1);
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=ThreadLimitProbe.*";
    std::string disabled = "--gtest_also_run_disabled_tests";
    std::string marker = "marker argument";
    char* argv[] = {self.data(), filter.data(), disabled.data(), marker.data(), nullptr};
    EnsureOpenMpThreadLimit(4, argv);
    _exit(97);  // only reached when no re-execution happened
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  const std::string recorded = ReadWholeFile(output);
  std::filesystem::remove(output);
  EXPECT_EQ(recorded.substr(0, recorded.find('\n')), "1");
  EXPECT_NE(recorded.find(std::string("marker argument") + '\0'), std::string::npos);
}

TEST(ThreadLimit, KeepsAValueThatIsAlreadySet) {
  const char* before = std::getenv("OMP_THREAD_LIMIT");
  const std::string saved = before ? before : "";
  setenv("OMP_THREAD_LIMIT", "3", 1);
  char name[] = "unused";
  char* argv[] = {name, nullptr};
  EnsureOpenMpThreadLimit(1, argv);  // must return, not re-execute
  EXPECT_STREQ(std::getenv("OMP_THREAD_LIMIT"), "3");
  if (before) setenv("OMP_THREAD_LIMIT", saved.c_str(), 1); else unsetenv("OMP_THREAD_LIMIT");
}

}  // namespace
}  // namespace zelk
