// File -> Open Recent: the projects opened, saved or extracted last.
#include "ui/MainGlyphbook.h"

#include "ui/RecentProjects.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

void TMainForm::CreateRecentMenu()
{
    FRecent = new TRecentProjects(TRecentProjects::DefaultSettingsFile(), this);
    FRecentMenu = new QMenu(QCoreApplication::translate("TMainForm", "Open Recent"), FFileMenu);
    FRecentMenu->setObjectName(QStringLiteral("mmOpenRecent"));
    // Beside Open Project.
    QAction *open = findChild<QAction *>(QStringLiteral("miOpenProject"));
    const QList<QAction *> items = FFileMenu->actions();
    FFileMenu->insertMenu(items.value(items.indexOf(open) + 1), FRecentMenu);
    connect(FRecentMenu, &QMenu::aboutToShow, this,
            [this] { Guard([this] { FillRecentMenu(); }); });
}

void TMainForm::FillRecentMenu()
{
    FRecentMenu->clear();
    const QStringList files = FRecent->Files();
    for (const QString &file : files) {
        QAction *item = FRecentMenu->addAction(QDir::toNativeSeparators(file));
        FGuard.Connect(item, &QAction::triggered, this, [this, file] { OpenRecent(file); });
    }
    FRecentMenu->addSeparator();
    QAction *clear = FRecentMenu->addAction(QCoreApplication::translate("TMainForm", "Clear List"));
    clear->setObjectName(QStringLiteral("miClearRecent"));
    clear->setEnabled(!files.isEmpty());
    FGuard.Connect(clear, &QAction::triggered, this, [this] { FRecent->Clear(); });
}

void TMainForm::OpenRecent(const QString &FileName)
{
    if (!QFileInfo(FileName).isFile()) {
        FRecent->Remove(FileName);
        FDialogs.ShowError(QCoreApplication::translate(
                               "TMainForm", "The project \"%1\" no longer exists. It was taken "
                                            "off the list of recent projects.")
                               .arg(QDir::toNativeSeparators(FileName)));
        return;
    }
    sOpenDialog1.FileName = FileName;
    OpenProjectFile(FileName);
    CollectLanguages();
    RebuildLanguageColumns();
}
