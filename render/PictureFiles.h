#pragma once

#include <QImage>
#include <QString>

/// True when a file exists at FilePath and holds a picture in a format the editor reads, whatever
/// its name says; only the file's start is read.
bool IsReadablePicture(const QString &FilePath);

/// The picture in the file at FilePath, judged by its content as IsReadablePicture judges it; a
/// null image when the file is missing or holds no picture.
QImage ReadPicture(const QString &FilePath);
