#include "app/DesktopLook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QLibraryInfo>
#include <QTranslator>

namespace zelk {

namespace {

constexpr const char* kIconResource = ":/zelk/zelk.svg";

}  // namespace

QIcon ApplicationIcon() {
  if (!QImageReader::supportedImageFormats().contains("svg")) return {};
  return QIcon(QString::fromLatin1(kIconResource));
}

QString ApplicationIconFile(const ProgramPlaces& places) {
  const QFileInfo file(QString::fromStdString(places.IconFile()));
  return file.isFile() ? file.absoluteFilePath() : QString();
}

QTranslator* InstallQtChinese(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

}  // namespace zelk
