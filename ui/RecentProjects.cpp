#include "ui/RecentProjects.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace
{
const QString kRecent = u"recentProjects"_s;

QString comparable(const QString &FileName)
{
    return QDir::cleanPath(QFileInfo(FileName).absoluteFilePath());
}
} // namespace

TRecentProjects::TRecentProjects(QString SettingsFile, QObject *Parent)
    : QObject(Parent), FSettingsFile(std::move(SettingsFile))
{
}

QString TRecentProjects::DefaultSettingsFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(u"settings.ini"_s);
}

QStringList TRecentProjects::Files() const
{
    // Read each time: another window may have added to the list meanwhile.
    return QSettings(FSettingsFile, QSettings::IniFormat).value(kRecent).toStringList();
}

void TRecentProjects::Store(const QStringList &Files)
{
    QSettings settings(FSettingsFile, QSettings::IniFormat);
    settings.setValue(kRecent, Files);
}

void TRecentProjects::Add(const QString &FileName)
{
    QStringList files = Files();
    const QString added = comparable(FileName);
    files.removeIf([&](const QString &File) { return comparable(File) == added; });
    files.prepend(added);
    Store(files.mid(0, Capacity));
}

void TRecentProjects::Remove(const QString &FileName)
{
    QStringList files = Files();
    files.removeAll(FileName);
    Store(files);
}

void TRecentProjects::Clear()
{
    Store({});
}

QString TRecentProjects::LastFolder(const QString &Dialog) const
{
    return QSettings(FSettingsFile, QSettings::IniFormat)
        .value(u"lastFolder/"_s + Dialog)
        .toString();
}

void TRecentProjects::SetLastFolder(const QString &Dialog, const QString &Folder)
{
    QSettings settings(FSettingsFile, QSettings::IniFormat);
    settings.setValue(u"lastFolder/"_s + Dialog, Folder);
}
