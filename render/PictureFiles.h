#pragma once

#include <QImage>
#include <QString>

/// True when a file exists at FilePath and holds a picture in a format the editor reads, whatever
/// its name says, that ReadPicture decodes whole: a file cut short, or one larger than the
/// reader's limits, is none. The check and the sheet judge pictures alike.
bool IsReadablePicture(const QString &FilePath);

/// The picture in the file at FilePath, judged by its content; a null image when the file is
/// missing, holds no picture, or cannot be decoded whole.
QImage ReadPicture(const QString &FilePath);
