// The editor: one window over one symbol library.
#include "ui/DarkSkin.h"
#include "ui/MainGlyphbook.h"
#include "ui/QtGlyphbookDialogs.h"
#include "ui/Translations.h"

#include "GlyphbookVersion.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glyphbook Creator"));
    QApplication::setApplicationVersion(QStringLiteral(GLYPHBOOK_VERSION));
    ApplyDarkSkin(application);
    InstallTranslations(application);

    TQtGlyphbookDialogs dialogs;
    // An installed editor finds its help page and example in the data folder of its prefix.
    const QString shared = QDir(QApplication::applicationDirPath())
                               .filePath(QStringLiteral(GLYPHBOOK_SHARED_FROM_BIN));
    TMainForm window(dialogs, QApplication::applicationDirPath(), QDir::cleanPath(shared));
    dialogs.Parent = &window;
    window.show();
    return application.exec();
}
