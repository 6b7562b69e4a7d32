#include "filesafety/ProcessOwner.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/StableHash.h"

namespace zelk {
namespace {

std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "localhost";
  return name;
}

std::uint32_t HostHash(std::string_view host) {
  const std::uint64_t hash = StableHash(host);
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::string Hex(std::uint64_t value) {
  char text[17];
  const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
  return std::string(text, end);
}

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text, int base) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Field 22 of /proc/<pid>/stat: the start time in clock ticks after boot.
// The command name (field 2) may hold blanks and parentheses, so counting
// starts after its closing parenthesis.
std::uint64_t StartTicksOf(long pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  const std::size_t close = line.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(line.substr(close + 1));
  std::string field;
  for (int number = 3; fields >> field; ++number) {
    if (number == 22) return ReadNumber<std::uint64_t>(field, 10).value_or(0);
  }
  return 0;
}

bool ProcessRuns(long pid, std::uint64_t startTicks) {
  if (pid <= 0) return false;
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return false;
  if (startTicks == 0) return true;
  const std::uint64_t now = StartTicksOf(pid);
  // Without /proc the process id alone must do.
  return now == 0 || now == startTicks;
}

std::string LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace

const ProcessOwner& ThisProcess() {
  // A forked child is another owner: the process id is checked every time.
  thread_local ProcessOwner owner;
  const long pid = static_cast<long>(::getpid());
  if (owner.Pid != pid) owner = ProcessOwner{HostName(), pid, StartTicksOf(pid)};
  return owner;
}

OwnerState StateOf(const ProcessOwner& owner) {
  if (owner.Host != ThisProcess().Host) return OwnerState::Elsewhere;
  return ProcessRuns(owner.Pid, owner.StartTicks) ? OwnerState::Alive : OwnerState::Gone;
}

std::string OwnerToken(const ProcessOwner& owner) {
  char hash[9];
  std::snprintf(hash, sizeof hash, "%08x", HostHash(owner.Host));
  return std::string(hash) + "-" + Hex(static_cast<std::uint64_t>(owner.Pid)) + "-" +
         Hex(owner.StartTicks);
}

std::optional<OwnerState> StateOfToken(std::string_view token) {
  const std::size_t first = token.find('-');
  const std::size_t second = first == std::string_view::npos ? first : token.find('-', first + 1);
  if (second == std::string_view::npos || first != 8) return std::nullopt;
  const auto hash = ReadNumber<std::uint32_t>(token.substr(0, first), 16);
  const auto pid = ReadNumber<long>(token.substr(first + 1, second - first - 1), 16);
  const auto ticks = ReadNumber<std::uint64_t>(token.substr(second + 1), 16);
  if (!hash || !pid || !ticks) return std::nullopt;
  if (*hash != HostHash(ThisProcess().Host)) return OwnerState::Elsewhere;
  return ProcessRuns(*pid, *ticks) ? OwnerState::Alive : OwnerState::Gone;
}

std::string DescribeOwner(const ProcessOwner& owner) {
  return "host=" + owner.Host + "\npid=" + std::to_string(owner.Pid) +
         "\nstart=" + std::to_string(owner.StartTicks) + "\nsince=" + LocalTimeNow() + "\n";
}

std::optional<ProcessOwner> ParseOwner(std::string_view text) {
  ProcessOwner owner;
  bool host = false;
  bool pid = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.starts_with("host=")) {
      owner.Host = std::string(line.substr(5));
      host = true;
    } else if (line.starts_with("pid=")) {
      const auto value = ReadNumber<long>(line.substr(4), 10);
      if (!value) return std::nullopt;
      owner.Pid = *value;
      pid = true;
    } else if (line.starts_with("start=")) {
      owner.StartTicks = ReadNumber<std::uint64_t>(line.substr(6), 10).value_or(0);
    }
  }
  if (!host || !pid) return std::nullopt;
  return owner;
}

}  // namespace zelk
