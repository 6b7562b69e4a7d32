#include "platform/Autostart.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

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

}  // namespace

std::string AutostartEntryPath() {
  std::filesystem::path configHome;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg == '/') {
    configHome = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return {};
    configHome = std::filesystem::path(home) / ".config";
  }
  return (configHome / "autostart" / (std::string(kAutostartEntryName) + ".desktop")).string();
}

std::string AutostartEntryText(const std::string& executablePath) {
  return std::string("[Desktop Entry]\n") + "Type=Application\n" + "Name=" + kAutostartEntryName +
         "\n" + "Exec=" + EscapeValue(QuoteExecArgument(executablePath)) + "\n" +
         "Terminal=false\n" + "X-GNOME-Autostart-enabled=true\n";
}

bool RenewAutostartEntry(const std::string& executablePath) {
  const std::filesystem::path entry = AutostartEntryPath();
  if (entry.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(entry.parent_path(), error);
  if (error) return false;

  std::filesystem::path temporary = entry;
  temporary += ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << AutostartEntryText(executablePath);
    out.close();
    if (!out) {
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
  std::filesystem::rename(temporary, entry, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace zelk
