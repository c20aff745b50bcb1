#include "ui/PictureFile.h"

#include "model/ImagePath.h"
#include "render/PictureFiles.h"
#include "ui/GlyphbookDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QPixmap>

bool LoadPictureFile(QLabel *Picture, const QString &Path)
{
    if (!QFileInfo(Path).isFile())
        return false;
    // A replaced animation is ours to free; the label only forgets it.
    QMovie *previous = Picture->movie();
    if (Path.endsWith(QLatin1String(".gif"))) {
        auto *movie = new QMovie(Path, QByteArray(), Picture);
        if (!movie->isValid()) {
            delete movie;
            return false;
        }
        Picture->setMovie(movie);
        movie->start();
    } else {
        const QPixmap pixmap(Path);
        if (pixmap.isNull())
            return false;
        Picture->setPixmap(pixmap);
    }
    if (previous && previous->parent() == Picture)
        delete previous;
    return true;
}

const QPixmap &MissingPictureMark()
{
    static const QPixmap mark = [] {
        constexpr int side = 32;
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::white);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::gray, 1));
        painter.drawRect(0, 0, side - 1, side - 1);
        painter.setPen(QPen(QColor(200, 0, 0), 3));
        painter.drawLine(QPointF(7, 7), QPointF(side - 7, side - 7));
        painter.drawLine(QPointF(side - 7, 7), QPointF(7, side - 7));
        return pixmap;
    }();
    return mark;
}

void ShowMissingPicture(QLabel *Picture)
{
    QMovie *previous = Picture->movie();
    Picture->setPixmap(MissingPictureMark());
    if (previous && previous->parent() == Picture)
        delete previous;
}

void ReportUnreadablePicture(TGlyphbookDialogs &Dialogs, const QString &FileName,
                             const QString &ProjectFile)
{
    const QString path = ResolveImagePath(FileName, ProjectFile);
    if (QFileInfo(path).isFile() && !IsReadablePicture(path))
        Dialogs.ShowError(
            QCoreApplication::translate("TMainForm", "The file \"%1\" cannot be read as a picture.")
                .arg(QDir::toNativeSeparators(path)));
}
