#include "run/JobRegistry.h"

namespace zelk {

void JobRegistry::Register(JobId id, Factory factory) { factories_[id] = std::move(factory); }

std::unique_ptr<Job> JobRegistry::Create(JobId id) const {
  const auto found = factories_.find(id);
  return found == factories_.end() ? nullptr : found->second();
}

}  // namespace zelk
