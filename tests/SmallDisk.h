#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

/// A small file system of its own mounted on a folder, for the cases of a full disk. Only the
/// administrator can mount; the mount is made in a mount namespace of this test process alone,
/// so that nothing else on the machine sees it, and it goes at the latest with the process.
class TSmallDisk
{
public:
    TSmallDisk(const QString &Folder, qint64 Bytes) : FFolder(QFile::encodeName(Folder))
    {
        static const bool privateMounts =
            ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const QByteArray options = "size=" + QByteArray::number(Bytes);
        FMounted = privateMounts &&
                   ::mount("tmpfs", FFolder.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TSmallDisk()
    {
        if (FMounted)
            ::umount2(FFolder.constData(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk &) = delete;
    TSmallDisk &operator=(const TSmallDisk &) = delete;

    bool IsMounted() const { return FMounted; }

private:
    QByteArray FFolder;
    bool FMounted = false;
};
