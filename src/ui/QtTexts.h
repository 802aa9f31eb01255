#pragma once

class QObject;
class QTranslator;

namespace cotalys {

// Puts Qt's own texts (standard dialogs, message box buttons, context menus) in French from
// the translations installed with Qt (Debian's qt6-translations-l10n). Returns the installed
// translator, owned by AOwner, or null when the French file is missing (Qt's texts stay in
// English).
QTranslator* InstallFrenchQtTexts(QObject* AOwner);

}  // namespace cotalys
