#pragma once

#include <QObject>
#include <QStringList>

/// The projects the user opened, saved or extracted last, newest first, and the folder each
/// kind of file dialog was last used in. Kept per user; windows share them.
class TRecentProjects : public QObject
{
    Q_OBJECT

public:
    static constexpr int Capacity = 10;

    /// Kept in SettingsFile, by default in the per-user settings folder.
    explicit TRecentProjects(QString SettingsFile = DefaultSettingsFile(),
                             QObject *Parent = nullptr);

    static QString DefaultSettingsFile();

    QStringList Files() const;
    /// Puts FileName first.
    void Add(const QString &FileName);
    void Remove(const QString &FileName);
    void Clear();

    /// The folder the dialog named Dialog was last used in, or none.
    QString LastFolder(const QString &Dialog) const;
    void SetLastFolder(const QString &Dialog, const QString &Folder);

private:
    QString FSettingsFile;

    void Store(const QStringList &Files);
};
