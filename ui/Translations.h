#pragma once

#include <QList>
#include <QLocale>

class QCoreApplication;
class QTranslator;

/// Installs the window's translation, and Qt's own for its standard dialogs, when the first of
/// Locale's UI languages is one the window is translated into. English, the window's own
/// language, and a language without a translation install nothing: every text is then the
/// window's own. Returns what it installed, owned by Application.
QList<QTranslator *> InstallTranslations(QCoreApplication &Application,
                                         const QLocale &Locale = QLocale::system());
