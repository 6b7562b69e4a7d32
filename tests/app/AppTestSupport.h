#pragma once
// Shared pieces of the window tests: the application object, a fake
// desktop that records what would have been shown or opened, and a
// temporary program directory.

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ShellServices.h"
#include "support/PortablePlaces.h"

class QWidget;

namespace zelk::test {

// Answers in place of the user and keeps a record of every request.
class FakeShell : public ShellServices {
 public:
  struct Message {
    MessageIcon icon;
    QString title;
    QString text;
  };

  struct FolderRequest {
    QString title;
    QString startDir;
    FolderChoice choice;
  };

  void ShowMessage(QWidget* parent, MessageIcon icon, const QString& title,
                   const QString& text) override;
  bool HasSystemTray() override { return trayPresent; }
  bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
  QString BrowseForFolder(QWidget* parent, const QString& title, const QString& startDir,
                          FolderChoice choice) override;
  bool OpenUrl(const QUrl& url) override;
  void OpenDialog(DialogId id, QWidget* parent, Settings& settings,
                  const ProgramPlaces& places) override;

  QString folderAnswer;  // what the folder picker returns ("" = cancelled)
  bool trayPresent = false;   // what HasSystemTray returns
  bool yesAnswer = false;     // what AskYesNo returns
  bool openerPresent = true;  // false: the desktop has nothing to open with
  std::vector<Message> messages;
  std::vector<Message> questions;
  std::vector<QString> pickerTitles;
  std::vector<FolderRequest> folderRequests;
  std::vector<QUrl> openedUrls;
  std::vector<DialogId> openedDialogs;
};

// A fresh, empty directory that plays the directory of a portable program;
// removed again at the end of the test.
class TempProgramDir {
 public:
  TempProgramDir();
  ~TempProgramDir();
  TempProgramDir(const TempProgramDir&) = delete;
  TempProgramDir& operator=(const TempProgramDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string String() const { return path_.string(); }
  // Settings, Logs and the shipped files all in this directory.
  ProgramPlaces Places() const { return PortablePlacesIn(path_); }
  // Writes ZELK.conf with the given lines, CR LF line ends, UTF-8.
  void WriteSettings(const std::vector<std::string>& lines) const;

 private:
  std::filesystem::path path_;
};

// The child of `root` with the object name `name`; a failed expectation
// when there is none.
template <typename T>
T* FindChild(const QObject& root, const char* name) {
  T* child = root.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Where the test run keeps its own home directory (HOME and
// XDG_CONFIG_HOME point below it, so the autostart entry lands there).
std::filesystem::path TestHome();

// Points XDG_CONFIG_HOME at a fresh directory of its own while it lives,
// so that the per-user files a test writes (window preferences, autostart
// entry) start empty and are seen by no other test.
class ScopedConfigHome {
 public:
  ScopedConfigHome();
  ~ScopedConfigHome();
  ScopedConfigHome(const ScopedConfigHome&) = delete;
  ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::string previous_;
};

}  // namespace zelk::test
