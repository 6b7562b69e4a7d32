#pragma once
// Where the program's own files live: its settings file, the day's result
// lists, the files it ships (the user guide, the template workbook, the
// default settings) and its helper programs.
//
// Two layouts:
//  - Portable: the program was copied into a folder of its own (or runs
//    from its build).  Everything lives beside the executable: ZELK.conf,
//    Logs, help.doc, template.xls, zelk.svg and the helper programs.
//  - Installed: the program lies in <prefix>/bin beside <prefix>/share/zelk,
//    shared by every user of the machine.  Each user's settings are
//    $XDG_CONFIG_HOME/zelk/ZELK.conf (made from the shipped defaults on
//    first start), the result lists $XDG_DATA_HOME/zelk/Logs; the shipped
//    files are read from <prefix>/share/zelk, and the template workbook is
//    opened from a copy in the user's data directory, since the user may
//    change and save it.  The icon lies in the desktop's icon theme under
//    <prefix>/share/icons, the helper programs in <prefix>/libexec/zelk.
// The directory of the executable is portable when it holds a ZELK.conf,
// or when it is writable and no installed share/zelk lies beside it; so a
// root user of an installed program gets the installed layout too and
// never writes settings or lists into <prefix>/bin.
//
// This unit is the one place that decides these paths; the rest of the
// program asks it.

#include <string>

namespace zelk {

// The names of the program's own files, the same in both layouts.
inline constexpr const char* kSettingsFileName = "ZELK.conf";
inline constexpr const char* kLogsDirName = "Logs";
inline constexpr const char* kHelpDocumentName = "help.doc";
inline constexpr const char* kTemplateWorkbookName = "template.xls";
inline constexpr const char* kIconFileName = "zelk.svg";

struct ProgramPlaces {
  bool Portable = true;
  std::string ExecutableDir;  // the running program (and its autostart entry)
  std::string SettingsDir;  // holds ZELK.conf
  std::string LogsDir;      // the day's result lists
  std::string SharedDir;    // help.doc, template.xls and the default ZELK.conf, read only
  std::string UserDataDir;  // the user's own copy of the template workbook
  std::string HelperDir;    // helper programs (zelk-xls-reader)

  std::string SettingsFile() const;
  std::string HelpDocument() const;
  // The defaults and the template workbook as shipped.
  std::string ShippedSettingsFile() const;
  std::string ShippedTemplateWorkbook() const;
  // The template workbook as it is opened: the shipped one (portable) or
  // the user's copy (installed).
  std::string TemplateWorkbook() const;
  // The program's icon as a file, for the autostart entry.
  std::string IconFile() const;
};

// What the decision looks at, gathered by ThisProgramsPlaces() and given
// directly by tests.
struct PlaceFacts {
  std::string ExecutableDir;
  bool SettingsBesideExecutable = false;  // <ExecutableDir>/ZELK.conf exists
  bool ExecutableDirWritable = false;
  bool SharedDataInstalled = false;  // <ExecutableDir>/../share/zelk/ZELK.conf exists
  std::string XdgConfigHome;         // as set, may be empty or relative (then ignored)
  std::string XdgDataHome;
  std::string Home;
};

ProgramPlaces DecidePlaces(const PlaceFacts& facts);

// The places of this process, from its executable and its environment.
ProgramPlaces ThisProgramsPlaces();

// The places of zelk-batch run on the settings file `settingsFile`: the
// settings and Logs beside that file, the rest as ThisProgramsPlaces().
ProgramPlaces PlacesForSettingsFile(const std::string& settingsFile);

}  // namespace zelk
