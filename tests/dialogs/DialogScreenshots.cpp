// Saves a picture of every option dialog (each tab of the compression
// dialog separately) as PNG files, and lists every caption that is drawn
// narrower than it needs, so clipped text shows up without looking.
//   zelk-dialog-screenshots <output directory>
// Exits with 1 when a caption is clipped.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/settings/SettingsFile.h"
#include "dialogs/DialogServices.h"
#include "dialogs/ImageCompressDialog.h"
#include "dialogs/MergeOptionsDialog.h"
#include "dialogs/OcrOptionsDialog.h"
#include "dialogs/PdfOptionsDialog.h"
#include "dialogs/RenameOptionsDialog.h"
#include "dialogs/SplitOptionsDialog.h"
#include "dialogs/TwoPdfOptionsDialog.h"

namespace {

using namespace zelk;

// Nothing pops up while the pictures are taken.
class SilentServices : public DialogServices {
 public:
  void ShowMessage(QWidget*, MessageIcon, const QString&, const QString&) override {}
  std::optional<QString> PickOpenFile(QWidget*, const QString&, const QString&) override {
    return std::nullopt;
  }
  void OpenDocument(const QString&) override {}
};

// The shipped defaults, with the controls that are otherwise empty or
// disabled filled in so that they show.
Settings SampleSettings() {
  Settings settings;
  for (const SettingKey& key : SettingKeys()) {
    if (key.IsInteger) {
      *key.IntField(settings) = key.DefaultInt;
    } else {
      *key.TextField(settings) = key.DefaultText;
    }
  }
  settings.IniPath = (std::filesystem::temp_directory_path() / "zelk-screenshots-unused.conf").string();
  settings.ImageCompress.Tif2Quality = 3;
  settings.ImageCompress.JpgQuality = 3;
  settings.Merge.Grouping = "/home/扫描/分件数据/2001年.xls";
  settings.PDF.Grouping = settings.Merge.Grouping;
  settings.TwoPDF.Grouping = settings.Merge.Grouping;
  return settings;
}

// Visible captions that get less width than their size hint asks for.
int ReportClipped(const QWidget* dialog, const QString& picture) {
  int clipped = 0;
  for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
    if (!widget->isVisible()) continue;
    const bool hasCaption = (qobject_cast<const QAbstractButton*>(widget) &&
                             !static_cast<const QAbstractButton*>(widget)->text().isEmpty()) ||
                            qobject_cast<const QLabel*>(widget) || qobject_cast<const QComboBox*>(widget);
    if (!hasCaption) continue;
    const QSize hint = widget->sizeHint();
    if (widget->width() < hint.width() || widget->height() < hint.height()) {
      std::printf("clipped in %s: %s (%dx%d, needs %dx%d)\n", qPrintable(picture),
                  qPrintable(widget->objectName()), widget->width(), widget->height(),
                  hint.width(), hint.height());
      ++clipped;
    }
  }
  return clipped;
}

int Save(QWidget* dialog, const QDir& out, const QString& name) {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  const QString path = out.filePath(name + QStringLiteral(".png"));
  if (!dialog->grab().save(path)) {
    std::printf("cannot write %s\n", qPrintable(path));
    return 1;
  }
  std::printf("%s\n", qPrintable(path));
  return ReportClipped(dialog, name);
}

template <class Dialog>
int Picture(Settings& settings, const QDir& out) {
  Dialog dialog(nullptr, settings, std::string());
  dialog.show();
  return Save(&dialog, out, dialog.objectName());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
  QDir().mkpath(out.path());

  SilentServices silent;
  ScopedDialogServices scoped(silent);
  Settings settings = SampleSettings();
  int problems = 0;
  {
    ImageCompressDialog dialog(nullptr, settings, std::string());
    dialog.show();
    auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("stabFileType"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
      tabs->setCurrentIndex(tab);
      problems += Save(&dialog, out, dialog.objectName() + QStringLiteral("-%1").arg(tab));
    }
  }
  problems += Picture<MergeOptionsDialog>(settings, out);
  problems += Picture<SplitOptionsDialog>(settings, out);
  problems += Picture<RenameOptionsDialog>(settings, out);
  problems += Picture<PdfOptionsDialog>(settings, out);
  problems += Picture<TwoPdfOptionsDialog>(settings, out);
  problems += Picture<OcrOptionsDialog>(settings, out);
  return problems == 0 ? 0 : 1;
}
