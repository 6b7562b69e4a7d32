#include "dialogs/DialogServices.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QStringList>
#include <QUrl>

namespace zelk {
namespace {

class DesktopServices final : public DialogServices {
 public:
  void ShowMessage(QWidget* parent, MessageIcon icon, const QString& title,
                   const QString& text) override {
    ShowMessageBox(parent, icon, title, text);
  }

  std::optional<QString> PickOpenFile(QWidget* parent, const QString& title,
                                      const QString& filter) override {
    const QString path = QFileDialog::getOpenFileName(parent, title, QString(), QtNameFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
  }

  bool OpenDocument(const QString& path) override {
    return OpenWithDesktop(QUrl::fromLocalFile(path));
  }
};

DesktopServices& Desktop() {
  static DesktopServices desktop;
  return desktop;
}

DialogServices* g_services = nullptr;

}  // namespace

DialogServices& Services() { return g_services != nullptr ? *g_services : Desktop(); }

ScopedDialogServices::ScopedDialogServices(DialogServices& services) : previous_(g_services) {
  g_services = &services;
}

ScopedDialogServices::~ScopedDialogServices() { g_services = previous_; }

void ShowNotice(QWidget* parent, MessageIcon icon, const QString& text) {
  ShowNotice(Services(), parent, icon, text);
}

void OpenDocumentOrSay(QWidget* parent, const QString& path) {
  if (!Services().OpenDocument(path)) ShowCannotOpen(Services(), parent, path);
}

bool OpenWithDesktop(const QUrl& url) { return QDesktopServices::openUrl(url); }

QString QtNameFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt takes the patterns from the parentheses at the end of the entry.
    if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
      filters << description;
    } else {
      filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace zelk
