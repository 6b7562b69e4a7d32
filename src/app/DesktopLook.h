#pragma once
// What makes the program look at home on the desktop: its icon, and Qt's
// own texts (standard buttons, file dialogs, context menus) in Chinese like
// the rest of the window.

#include <QIcon>
#include <QString>

#include "platform/ProgramPlaces.h"

class QCoreApplication;
class QTranslator;

namespace zelk {

// The program's icon (resources/zelk.svg, built into the program).  Null
// when Qt cannot draw SVG here (its svg plugin is missing).
QIcon ApplicationIcon();

// The icon's file (beside a portable program, in the icon theme under an
// installed one), for the desktop entries that name an icon by path; empty
// when it is not there.
QString ApplicationIconFile(const ProgramPlaces& places);

// Loads Qt's Chinese translations (qtbase_zh_CN.qm from Qt's translation
// directory) into `application`.  Returns the installed translator, owned
// by the application, or nullptr when the file is missing (Debian package
// qt6-translations-l10n): Qt's texts then stay in English.
QTranslator* InstallQtChinese(QCoreApplication& application);

}  // namespace zelk
