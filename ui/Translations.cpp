#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

// The compiled translations live in the window's static library; nothing references them by
// name, so the linker would drop them unless they are initialised.
static void initTranslations()
{
    Q_INIT_RESOURCE(translations);
}

QList<QTranslator *> InstallTranslations(QCoreApplication &Application, const QLocale &Locale)
{
    initTranslations();
    QList<QTranslator *> installed;
    const QStringList languages = Locale.uiLanguages();
    if (languages.isEmpty())
        return installed;
    // Only the first language counts: a user who reads English first sees the window's own
    // texts, never a translation further down the list.
    const QLocale first(languages.first());
    auto *window = new QTranslator(&Application);
    if (!window->load(first, QStringLiteral("glyphbook"), QStringLiteral("_"),
                      QStringLiteral(":/glyphbook/translations"))) {
        delete window;
        return installed;
    }
    Application.installTranslator(window);
    installed.append(window);
    auto *qt = new QTranslator(&Application);
    if (qt->load(first, QStringLiteral("qt"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        Application.installTranslator(qt);
        installed.append(qt);
    } else {
        delete qt;
    }
    return installed;
}
