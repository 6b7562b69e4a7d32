#include "platform/AvailableCores.h"

#include <sched.h>

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <thread>

#include "platform/DecimalInteger.h"

namespace zelk {
namespace {

// A positive whole number and nothing else: no sign, blanks or fraction.
std::optional<unsigned> PositiveWholeNumber(const char* text) {
  if (text == nullptr || *text == '-') return std::nullopt;
  const std::optional<long long> value = DecimalInteger(text);
  if (!value || *value == 0 || *value > std::numeric_limits<unsigned>::max()) return std::nullopt;
  return static_cast<unsigned>(*value);
}

// Larger than any mask the kernel is built for; the search stops there.
constexpr int kMostCpusAsked = 1 << 16;

}  // namespace

std::optional<unsigned> AffinityCores() {
  // The kernel refuses (EINVAL) a mask smaller than its own, so machines
  // with more CPUs than cpu_set_t holds are asked again with more room.
  for (int cpus = CPU_SETSIZE; cpus <= kMostCpusAsked; cpus *= 2) {
    cpu_set_t* mask = CPU_ALLOC(cpus);
    if (mask == nullptr) return std::nullopt;
    const std::size_t size = CPU_ALLOC_SIZE(cpus);
    CPU_ZERO_S(size, mask);
    const int result = sched_getaffinity(0, size, mask);
    const int error = errno;
    const int count = result == 0 ? CPU_COUNT_S(size, mask) : 0;
    CPU_FREE(mask);
    if (result == 0) {
      if (count <= 0) return std::nullopt;
      return static_cast<unsigned>(count);
    }
    if (error != EINVAL) return std::nullopt;
  }
  return std::nullopt;
}

unsigned AvailableCoresFrom(const char* slurmCpusPerTask, std::optional<unsigned> affinityCores,
                            unsigned hardwareThreads) {
  if (const auto given = PositiveWholeNumber(slurmCpusPerTask)) return *given;
  if (affinityCores && *affinityCores > 0) return *affinityCores;
  return hardwareThreads > 0 ? hardwareThreads : 1;
}

unsigned AvailableCores() {
  return AvailableCoresFrom(std::getenv("SLURM_CPUS_PER_TASK"), AffinityCores(),
                            std::thread::hardware_concurrency());
}

}  // namespace zelk
