#include "ui/FileDrop.h"

#include "render/PictureFiles.h"
#include "ui/ErrorGuard.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace
{
QStringList localFiles(const QMimeData *Data)
{
    QStringList files;
    if (!Data || !Data->hasUrls())
        return files;
    const QList<QUrl> urls = Data->urls();
    for (const QUrl &url : urls)
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    return files;
}

/// A file the picture dialog offers and Qt can read as an image.
bool isPictureFile(const QString &FileName)
{
    static const QStringList kSuffixes = {QStringLiteral("png"), QStringLiteral("gif"),
                                          QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                          QStringLiteral("bmp")};
    return kSuffixes.contains(QFileInfo(FileName).suffix(), Qt::CaseInsensitive) &&
           IsReadablePicture(FileName);
}
} // namespace

bool HandleFileDrop(QEvent *Event, QObject *Context, const TErrorGuard &Guard,
                    const std::function<void(const QStringList &Pictures)> &AddPictures)
{
    switch (Event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(Event);
        if (localFiles(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(Event);
        const QStringList files = localFiles(drop->mimeData());
        if (files.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        QStringList pictures;
        QStringList refused;
        for (const QString &file : files)
            (isPictureFile(file) ? pictures : refused).append(file);
        QMetaObject::invokeMethod(
            Context,
            [&Guard, AddPictures, pictures, refused] {
                if (!pictures.isEmpty())
                    Guard.Run([&] { AddPictures(pictures); });
                if (!refused.isEmpty()) {
                    QStringList names;
                    for (const QString &file : refused)
                        names.append(QDir::toNativeSeparators(file));
                    Guard.Dialogs().ShowError(
                        QStringLiteral("These files are not pictures and were not added:\n%1")
                            .arg(names.join(u'\n')));
                }
            },
            Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}
