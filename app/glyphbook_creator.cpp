// The editor: one window over one symbol library.
#include "ui/DarkSkin.h"
#include "ui/MainGlyphbook.h"
#include "ui/QtGlyphbookDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glyphbook Creator"));
    QApplication::setApplicationVersion(QStringLiteral("1.03"));
    ApplyDarkSkin(application);

    TQtGlyphbookDialogs dialogs;
    TMainForm window(dialogs, QApplication::applicationDirPath());
    dialogs.Parent = &window;
    window.show();
    return application.exec();
}
