#include "render/PictureFiles.h"

#include <QFileInfo>
#include <QImageReader>

bool IsReadablePicture(const QString &FilePath)
{
    // A readable header says nothing of the rest: only decoding finds a cut file, and the
    // reader's allocation limit a picture too large to draw.
    return !ReadPicture(FilePath).isNull();
}

QImage ReadPicture(const QString &FilePath)
{
    if (!QFileInfo(FilePath).isFile())
        return QImage();
    // The window loads pictures by their content, so a JPEG named .png shows; judge alike.
    QImageReader reader(FilePath);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
