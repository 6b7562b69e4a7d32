// Saves a picture of the main window (idle with its schedule armed, with
// the keyboard's focus on a settings gear, during a run with its progress,
// and after it with a failed row's reason), of every option dialog (each tab
// of the compression dialog separately), of the log viewer and of the folder
// picker opened at a folder as PNG files, and lists every caption that is drawn narrower
// than it needs, so clipped text shows up without looking.
//   zelk-dialog-screenshots <output directory>
// Exits with 1 when a caption is clipped.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QTabWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "app/DesktopLook.h"
#include "app/FolderPicker.h"
#include "app/MainWindow.h"
#include "app/QtRunObserver.h"
#include "app/RunController.h"
#include "app/ShellServices.h"
#include "app/WorkListModel.h"
#include "dialogs/ConvertLogsDialog.h"
#include "dialogs/DialogServices.h"
#include "dialogs/ImageCompressDialog.h"
#include "dialogs/MergeOptionsDialog.h"
#include "dialogs/OcrOptionsDialog.h"
#include "dialogs/PdfOptionsDialog.h"
#include "dialogs/RenameOptionsDialog.h"
#include "dialogs/SplitOptionsDialog.h"
#include "dialogs/TwoPdfOptionsDialog.h"
#include "settings/SettingsFile.h"
#include "support/PortablePlaces.h"

namespace {

using namespace zelk;

// Nothing pops up while the pictures are taken.
class SilentServices : public DialogServices {
 public:
  void ShowMessage(QWidget*, MessageIcon, const QString&, const QString&) override {}
  std::optional<QString> PickOpenFile(QWidget*, const QString&, const QString&) override {
    return std::nullopt;
  }
  bool OpenDocument(const QString&) override { return true; }
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
    // The main window's status line shortens long progress texts by design.
    if (widget->objectName() == QStringLiteral("lblStatus")) continue;
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
  Dialog dialog(nullptr, settings, ProgramPlaces());
  dialog.show();
  return Save(&dialog, out, dialog.objectName());
}

// A program directory with the sample settings and a few result lists, in
// a temporary directory that also plays the home directory, so that the
// window's start-up leaves the real autostart entry alone.
std::filesystem::path SampleProgramDir() {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "zelk-screenshots";
  fs::remove_all(dir);
  fs::create_directories(dir / "Logs");
  for (const char* volume : {"卷001", "卷002", "卷003"}) {
    fs::create_directories(dir / "扫描" / "2024年档案" / volume);
  }
  setenv("HOME", dir.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  std::ofstream(dir / kSettingsFileName, std::ios::binary)
      << "[Common]\r\nImageSrcDir=/srv/扫描/2024年档案\r\nConvertDstDir=/srv/转换结果\r\n"
         "ConvertAction=4\r\nTimerType=1\r\n[Timer]\r\nTimer1=17:30\r\nTimer2=10\r\n";
  for (const char* name : {"2026年03月06日-成功.txt", "2026年03月06日-失败.txt",
                           "2026年03月07日-成功.txt", "2026年03月07日-失败.txt"}) {
    std::ofstream(dir / "Logs" / name) << "\r\n";
  }
  return dir;
}

// Nothing is shown or opened while the window's pictures are taken.
class SilentShell : public ShellServices {
 public:
  void ShowMessage(QWidget*, MessageIcon, const QString&, const QString&) override {}
  bool HasSystemTray() override { return false; }
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
  QString BrowseForFolder(QWidget*, const QString&, const QString&, FolderChoice) override {
    return {};
  }
  bool OpenUrl(const QUrl&) override { return true; }
  void OpenDialog(DialogId, QWidget*, Settings&, const ProgramPlaces&) override {}
};

int MainWindowPictures(const ProgramPlaces& places, const QDir& out) {
  Settings settings;
  SilentShell shell;
  MainWindow window(places, settings, shell);
  if (!window.Load()) {
    std::printf("cannot load the sample settings\n");
    return 1;
  }
  window.show();
  int problems = Save(&window, out, QStringLiteral("frmMain"));

  // Tab from the chosen action reaches its gear, which shows the focus.
  window.activateWindow();
  QCoreApplication::processEvents();
  if (QWidget* start = window.focusWidget()) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(start, &tab);
  }
  problems += Save(&window, out, QStringLiteral("frmMain-keyboard"));

  // A run in progress, reported the way the engine reports it: through
  // the observer, whose queued signals Save lets arrive.
  QtRunObserver& engine = window.Runner().Observer();
  engine.OnBusyChanged(true);
  const char* const rows[] = {"卷001", "卷002", "卷003", "卷004"};
  const char* const statuses[] = {"已转换", "转换失败", "合并...", ""};
  const int pages[] = {12, 8, 31, 5};
  for (int i = 0; i < 4; ++i) {
    window.WorkList().AppendRow(QStringLiteral("/srv/扫描/2024年档案/") + rows[i], pages[i]);
    window.WorkList().SetStatus(i, statuses[i]);
  }
  engine.OnItemFailed(1, "无法读取TIFF图像：/srv/扫描/2024年档案/卷002/0005.tif: cannot read as "
                         "TIFF: TIFFReadDirectory: Not a TIFF file");
  for (const char* file : {"0001.tif", "0002.tif", "0003.tif"}) window.AddFileListEntry(file);
  window.SetFoundCount(4);
  window.SetDoneCount(1);
  window.SelectWorkRow(2);
  // A path too long for the status line: shortened in the middle, the page
  // counter whole.
  window.SetStatusText(QStringLiteral(
      "正在合并/srv/扫描/2024年档案/第一批移交/市档案馆/文书档案/永久/2019年度/办公室/"
      "综合类/会议纪要/卷003  第3页 共31页"));
  RunProgress progress;
  progress.ItemsFinished = 2;
  progress.ItemCount = 4;
  progress.ItemFraction = 2.0 / 31;
  progress.Elapsed = std::chrono::seconds(95);
  progress.Remaining = std::chrono::seconds(150);
  engine.OnProgress(progress);
  problems += Save(&window, out, QStringLiteral("frmMain-running"));

  // The run is over; the failed row is selected and says why.
  emit window.Runner().ConversionEnded();
  window.SetStatusText(QStringLiteral("本次合并完毕！    "));
  window.SelectWorkRow(1);
  problems += Save(&window, out, QStringLiteral("frmMain-failed"));
  return problems;
}

// The source folder's picker, open inside the folder the box names.  Qt's
// own captions are not ours to check.
int FolderPickerPicture(const std::filesystem::path& programDir, const QDir& out) {
  const QString folder = QString::fromStdString((programDir / "扫描" / "2024年档案").string());
  FolderDialog picker(nullptr, QStringLiteral("请选择待转换图像目录："), folder, false);
  picker.show();
  // The folder's listing arrives from the model's thread.
  if (auto* model = picker.findChild<QFileSystemModel*>()) {
    QEventLoop loop;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, &loop, &QEventLoop::quit);
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
  }
  QCoreApplication::processEvents();
  const QString path = out.filePath(picker.objectName() + QStringLiteral(".png"));
  std::printf("%s\n", qPrintable(path));
  return picker.grab().save(path) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InstallQtChinese(app);  // Qt's own texts as the program shows them
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
  QDir().mkpath(out.path());

  SilentServices silent;
  ScopedDialogServices scoped(silent);
  Settings settings = SampleSettings();
  int problems = 0;
  {
    ImageCompressDialog dialog(nullptr, settings, ProgramPlaces());
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

  const std::filesystem::path programDir = SampleProgramDir();
  const ProgramPlaces places = test::PortablePlacesIn(programDir);
  {
    ConvertLogsDialog logs(nullptr, places);
    logs.show();
    problems += Save(&logs, out, logs.objectName());
  }
  problems += MainWindowPictures(places, out);
  problems += FolderPickerPicture(programDir, out);
  std::filesystem::remove_all(programDir);
  return problems == 0 ? 0 : 1;
}
