#pragma once
// Which process owns a file the program leaves in a shared tree while it
// works (a temporary output, an item claim, a rename journal), and whether
// that owner still lives.
//
// Several runs may share one destination: the window and zelk-batch on
// one machine, or zelk-batch processes on several machines over a network
// file system.  A file's owner is named by host, process id and the
// process's start time (its start in clock ticks after boot), so a process
// id that the system has since given to another program does not pass for
// the owner.  Only an owner on this host can be found dead; one on another
// host is reported as such, and its files are left alone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelk {

struct ProcessOwner {
  std::string Host;
  long Pid = 0;
  std::uint64_t StartTicks = 0;  // 0: unknown (then the process id alone decides)
};

enum class OwnerState {
  Alive,      // on this host and running
  Gone,       // on this host and no longer running
  Elsewhere,  // on another host: cannot be checked from here
};

// This process.
const ProcessOwner& ThisProcess();

OwnerState StateOf(const ProcessOwner& owner);

// A short name for an owner, fit for file names: an 8-digit hash of the
// host, the process id and the start ticks, in hexadecimal and joined by
// '-' ("3f2a9c1d-1f4b-8e21c").  At most 40 bytes.
std::string OwnerToken(const ProcessOwner& owner);

// The state of the owner a token names.  A token that cannot be read is
// nullopt.
std::optional<OwnerState> StateOfToken(std::string_view token);

// The owner as a few lines of text ("host=…", "pid=…", "start=…",
// "since=<local time>") and back; ParseOwner returns nullopt for text that
// names no owner.
std::string DescribeOwner(const ProcessOwner& owner);
std::optional<ProcessOwner> ParseOwner(std::string_view text);

}  // namespace zelk
