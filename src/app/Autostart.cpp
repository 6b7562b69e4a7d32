#include "app/Autostart.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "filesafety/DurableFiles.h"
#include "platform/UserConfigDirectory.h"

namespace zelk {

namespace {

// The Exec key takes a command line: the program path goes in double quotes,
// inside which ", `, $ and \ are escaped with a backslash, and % is doubled
// because it introduces field codes.
std::string QuoteExecArgument(const std::string& argument) {
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

// Every string value of a desktop file is escaped once more: backslash and
// the control characters that cannot appear on one line.
std::string EscapeValue(const std::string& value) {
  std::string escaped;
  for (char c : value) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// The entry's name change reaches the disk; a failure only costs durability.
void SyncDirectoryQuietly(const std::filesystem::path& directory) {
  try {
    SyncDirectory(directory);
  } catch (const std::filesystem::filesystem_error&) {
  }
}

}  // namespace

std::string AutostartEntryPath() {
  const std::string configHome = UserConfigDirectory();
  if (configHome.empty()) return {};
  return (std::filesystem::path(configHome) / "autostart" /
          (std::string(kAutostartEntryName) + ".desktop"))
      .string();
}

std::string AutostartEntryText(const std::string& executablePath, const std::string& iconPath) {
  // TryExec names the program file: a desktop passes the entry over once
  // the program is gone (removed with its package), instead of failing to
  // start it at every login.
  std::string text = std::string("[Desktop Entry]\n") + "Type=Application\n" + "Name=" +
                     kAutostartEntryName + "\n" + "TryExec=" + EscapeValue(executablePath) +
                     "\n" + "Exec=" + EscapeValue(QuoteExecArgument(executablePath)) + "\n";
  if (!iconPath.empty()) text += "Icon=" + EscapeValue(iconPath) + "\n";
  return text + "Terminal=false\n" + "X-GNOME-Autostart-enabled=true\n";
}

bool RenewAutostartEntry(const std::string& executablePath, const std::string& iconPath) {
  const std::filesystem::path entry = AutostartEntryPath();
  if (entry.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(entry.parent_path(), error);
  if (error) return false;

  std::filesystem::path temporary = entry;
  temporary += ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << AutostartEntryText(executablePath, iconPath);
    out.close();
    if (!out) {
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
  try {
    SyncFile(temporary);
  } catch (const std::filesystem::filesystem_error&) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  std::filesystem::rename(temporary, entry, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  SyncDirectoryQuietly(entry.parent_path());
  return true;
}

bool RemoveAutostartEntry() {
  const std::filesystem::path entry = AutostartEntryPath();
  if (entry.empty()) return false;
  std::error_code error;
  std::filesystem::remove(entry, error);
  if (error) return false;
  SyncDirectoryQuietly(entry.parent_path());
  return true;
}

}  // namespace zelk
