#pragma once
// The places of a program copied into `dir`: its settings file, Logs and
// shipped files all lie there, as for a program run from its build.

#include <filesystem>

#include "platform/ProgramPlaces.h"

namespace zelk::test {

inline ProgramPlaces PortablePlacesIn(const std::filesystem::path& dir) {
  PlaceFacts facts;
  facts.ExecutableDir = dir.string();
  facts.SettingsBesideExecutable = true;
  return DecidePlaces(facts);
}

}  // namespace zelk::test
