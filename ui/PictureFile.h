#pragma once

#include <QString>

class QLabel;
class QPixmap;

/// Shows the picture file at Path in Picture at its natural size, from the top-left corner and
/// unscaled; a name ending in lower-case ".gif" is shown as a started animation. Returns false
/// and leaves Picture as it was when no file exists at Path or it cannot be read as a picture.
bool LoadPictureFile(QLabel *Picture, const QString &Path);

/// What stands in for a picture whose file is missing or unreadable: a crossed box.
const QPixmap &MissingPictureMark();
/// Shows the missing-picture mark in Picture instead of whatever it showed.
void ShowMissingPicture(QLabel *Picture);

class TGlyphbookDialogs;

/// The standard error message when the image stored as FileName (a bare name beside
/// ProjectFile) exists but is no picture that can be read.
void ReportUnreadablePicture(TGlyphbookDialogs &Dialogs, const QString &FileName,
                             const QString &ProjectFile);
