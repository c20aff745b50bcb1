#include "render/PictureFiles.h"

#include <QImageReader>

bool IsReadablePicture(const QString &FilePath)
{
    // The window loads pictures by their content, so a JPEG named .png shows; judge alike.
    QImageReader reader(FilePath);
    return reader.canRead();
}
