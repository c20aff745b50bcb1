#include "render/PictureFiles.h"

#include <QFileInfo>
#include <QImageReader>

bool IsReadablePicture(const QString &FilePath)
{
    // The window loads pictures by their content, so a JPEG named .png shows; judge alike.
    return QFileInfo(FilePath).isFile() && QImageReader(FilePath).canRead();
}

QImage ReadPicture(const QString &FilePath)
{
    if (!QFileInfo(FilePath).isFile())
        return QImage();
    QImageReader reader(FilePath);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
