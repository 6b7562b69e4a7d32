#include "platform/ProgramPlaces.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/ProgramDirectory.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

constexpr const char* kProgramName = "zelk";

std::string Join(const std::string& directory, const char* name) {
  return (fs::path(directory) / name).string();
}

// An XDG base directory: the variable when it holds an absolute path, else
// $HOME followed by `fallback`; empty when neither is known.
std::string BaseDirectory(const std::string& variable, const std::string& home,
                          const char* fallback) {
  if (variable.starts_with('/')) return variable;
  if (home.empty()) return {};
  return (fs::path(home) / fallback).string();
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// <prefix>/share of a program installed in <prefix>/bin.
fs::path InstalledShareDir(const std::string& executableDir) {
  return fs::path(executableDir).parent_path() / "share";
}

// $HOME, else the home directory of the user's account: a program started
// without HOME (a bare service) must not put the user's files relative to
// its working directory.
std::string HomeDirectory() {
  std::string home = Environment("HOME");
  if (!home.empty()) return home;
  const passwd* account = ::getpwuid(::getuid());
  return account != nullptr && account->pw_dir != nullptr ? account->pw_dir : std::string();
}

std::string InstalledSharedDir(const std::string& executableDir) {
  return (InstalledShareDir(executableDir) / kProgramName).string();
}

}  // namespace

std::string ProgramPlaces::SettingsFile() const { return Join(SettingsDir, kSettingsFileName); }
std::string ProgramPlaces::HelpDocument() const { return Join(SharedDir, kHelpDocumentName); }
std::string ProgramPlaces::ShippedSettingsFile() const { return Join(SharedDir, kSettingsFileName); }
std::string ProgramPlaces::ShippedTemplateWorkbook() const {
  return Join(SharedDir, kTemplateWorkbookName);
}
std::string ProgramPlaces::TemplateWorkbook() const {
  return Join(Portable ? SharedDir : UserDataDir, kTemplateWorkbookName);
}
std::string ProgramPlaces::IconFile() const {
  if (Portable) return Join(ExecutableDir, kIconFileName);
  return (InstalledShareDir(ExecutableDir) / "icons" / "hicolor" / "scalable" / "apps" /
          kIconFileName)
      .string();
}

ProgramPlaces DecidePlaces(const PlaceFacts& facts) {
  ProgramPlaces places;
  places.Portable = facts.SettingsBesideExecutable ||
                    (facts.ExecutableDirWritable && !facts.SharedDataInstalled);
  places.ExecutableDir = facts.ExecutableDir;
  if (places.Portable) {
    places.SettingsDir = facts.ExecutableDir;
    places.LogsDir = Join(facts.ExecutableDir, kLogsDirName);
    places.SharedDir = facts.ExecutableDir;
    places.UserDataDir = facts.ExecutableDir;
    places.HelperDir = facts.ExecutableDir;
    return places;
  }
  const std::string config = BaseDirectory(facts.XdgConfigHome, facts.Home, ".config");
  const std::string data = BaseDirectory(facts.XdgDataHome, facts.Home, ".local/share");
  places.SettingsDir = Join(config, kProgramName);
  places.UserDataDir = Join(data, kProgramName);
  places.LogsDir = Join(places.UserDataDir, kLogsDirName);
  places.SharedDir = InstalledSharedDir(facts.ExecutableDir);
  places.HelperDir =
      (fs::path(facts.ExecutableDir).parent_path() / "libexec" / kProgramName).string();
  return places;
}

ProgramPlaces ThisProgramsPlaces() {
  PlaceFacts facts;
  facts.ExecutableDir = ProgramDirectory();
  std::error_code error;
  facts.SettingsBesideExecutable =
      fs::is_regular_file(Join(facts.ExecutableDir, kSettingsFileName), error);
  facts.ExecutableDirWritable = ::access(facts.ExecutableDir.c_str(), W_OK) == 0;
  facts.SharedDataInstalled =
      fs::is_regular_file(Join(InstalledSharedDir(facts.ExecutableDir), kSettingsFileName), error);
  facts.XdgConfigHome = Environment("XDG_CONFIG_HOME");
  facts.XdgDataHome = Environment("XDG_DATA_HOME");
  facts.Home = HomeDirectory();
  return DecidePlaces(facts);
}

ProgramPlaces PlacesForSettingsFile(const std::string& settingsFile) {
  ProgramPlaces places = ThisProgramsPlaces();
  places.SettingsDir = fs::path(settingsFile).parent_path().string();
  places.LogsDir = Join(places.SettingsDir, kLogsDirName);
  return places;
}

}  // namespace zelk
