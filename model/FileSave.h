#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QFileDevice;

/// A file being written whole. A pipe or a device is written in place (a new file moved over it
/// would replace the node); anything else goes to a temporary file that Commit moves over the
/// former one, so a failure leaves it as it was. With DirectWriteFallback, a writable file in a
/// folder where no temporary file can be made is written in place, as any editor does. A file
/// whose own name is not UTF-8 (IsHeldFile) is replaced the same way, by its bytes.
/// Failures raise EFileError naming ShownName, with the system's reason.
class TFileReplacement
{
public:
    TFileReplacement(const QString &FileName, const QString &ShownName, bool DirectWriteFallback);
    ~TFileReplacement();

    QFileDevice &Device() { return *FFile; }
    /// Flushes what is written and puts it in place.
    void Commit();

private:
    QString FShownName;
    bool FInPlace;
    QString FHeld; // the held file that Commit replaces, or empty
    std::unique_ptr<QFileDevice> FFile;
};

/// Writes Bytes as the whole content of FileName through a TFileReplacement with the
/// direct-write fallback.
void SaveFileBytes(const QString &FileName, const QByteArray &Bytes);
