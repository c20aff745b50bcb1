#include "ui/PictureFile.h"

#include "model/ImagePath.h"
#include "render/PictureFiles.h"
#include "ui/GlyphbookDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMovie>
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

void ReportUnreadablePicture(TGlyphbookDialogs &Dialogs, const QString &FileName,
                             const QString &ProjectFile)
{
    const QString path = ResolveImagePath(FileName, ProjectFile);
    if (QFileInfo(path).isFile() && !IsReadablePicture(path))
        Dialogs.ShowError(QStringLiteral("The file \"%1\" cannot be read as a picture.")
                              .arg(QDir::toNativeSeparators(path)));
}
