#pragma once
// Shared by the dialog tests: a QApplication for the whole run, services
// that record messages instead of showing them, a settings file in a
// temporary directory, and the expected file bytes after a given sequence
// of key writes.

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/DialogServices.h"
#include "settings/Settings.h"
#include "support/PortablePlaces.h"

namespace zelk::test {

struct RecordedMessage {
  MessageIcon icon;
  QString title;
  QString text;
};

class RecordingServices : public DialogServices {
 public:
  void ShowMessage(QWidget*, MessageIcon icon, const QString& title, const QString& text) override {
    messages.push_back({icon, title, text});
  }
  std::optional<QString> PickOpenFile(QWidget*, const QString& title, const QString& filter) override {
    pickerTitles.push_back(title);
    pickerFilters.push_back(filter);
    return nextPick;
  }
  bool OpenDocument(const QString& path) override {
    opened.push_back(path);
    return openerPresent;
  }

  std::vector<RecordedMessage> messages;
  std::optional<QString> nextPick;
  std::vector<QString> pickerTitles;
  std::vector<QString> pickerFilters;
  std::vector<QString> opened;
  bool openerPresent = true;  // false: the desktop has no program to open documents
};

using KeyWrites = std::vector<std::pair<std::string, std::string>>;

// A settings file in a fresh temporary directory, with the record that
// goes with it; messages and pickers are recorded.
class DialogTest : public ::testing::Test {
 protected:
  DialogTest();
  ~DialogTest() override;

  // Writes `text` as the settings file and loads the record from it.
  void UseSettingsFile(const std::string& text);
  // A settings file holding every key with its shipped default.
  void UseDefaultSettingsFile();
  // A settings file without `section`; the record keeps what the test put
  // into it, so the keys the dialog writes are appended in write order.
  void UseFileWithoutSection(const std::string& section);

  std::string FileBytes() const;
  // The places of a portable program in dir_: the dialogs find Logs and
  // template.xls there.
  ProgramPlaces Places() const { return PortablePlacesIn(dir_); }
  // The settings file as it would be after writing `writes` of [section]
  // one by one, in the given order, to the file as it is now.
  std::string BytesAfterWrites(const std::string& section, const KeyWrites& writes) const;

  std::filesystem::path dir_;
  Settings settings_;
  RecordingServices services_;

 private:
  ScopedDialogServices scopedServices_{services_};
};

template <class T>
T* Child(const QWidget* root, const QString& name) {
  T* child = root->findChild<T*>(name);
  if (child == nullptr) throw std::runtime_error("no control named " + name.toStdString());
  return child;
}

// Runs `act` on the next modal dialog once it is open and has handled its
// pending events; used to answer a dialog that another one opens.
void OnNextModalDialog(std::function<void(QWidget*)> act);

// Lets queued work (such as a dialog's first activation) run.
void ProcessEvents();

}  // namespace zelk::test
