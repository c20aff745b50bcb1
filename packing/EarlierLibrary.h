#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
struct TTarDirRec;

/// A file of the earlier library that may hold an entry's bytes, open for reading; see
/// TEarlierLibrary.
class TEarlierFile
{
public:
    TEarlierFile() = default;
    TEarlierFile(const TEarlierFile &) = delete;
    TEarlierFile &operator=(const TEarlierFile &) = delete;
    TEarlierFile(TEarlierFile &&Other) noexcept;
    TEarlierFile &operator=(TEarlierFile &&Other) noexcept;
    ~TEarlierFile();

    bool IsOpen() const { return FFile >= 0; }
    /// Whether the earlier file's Size bytes at At are Data.
    bool Equals(const char *Data, qint64 Size, qint64 At);
    /// Writes the earlier file's first Size bytes to Out; raises when they cannot be read or
    /// written (ShownTarget names Out in the message).
    void CopyTo(QIODevice &Out, qint64 Size, const QString &ShownTarget);
    /// Links the earlier file as Target, once its every byte has proved equal; false when the
    /// file system refuses or the file changed meanwhile, with nothing left at Target.
    bool LinkAs(const QString &Target);

private:
    friend class TEarlierLibrary;
    /// The earlier file's Size bytes at At, read into FBuffer; null when fewer are there.
    const char *Piece(qint64 Size, qint64 At);
    int FFile = -1;
    QString FPath;
    qint64 FSize = 0;
    qint64 FModified = 0; // nanoseconds since the epoch
    QByteArray FBuffer;
};

/// The library folder an extraction replaces, as a source of files to share with the new
/// library: a file there with an entry's bytes, time, permissions and owner is linked into the
/// new library instead of written again. That spares writing it now and freeing its blocks when
/// the earlier folder is removed, which costs more than the writing on file systems that
/// discard freed blocks. The earlier files are only read, so a failed extraction leaves the
/// earlier library as it was.
class TEarlierLibrary
{
public:
    /// Folder: where the earlier library is; a symbolic link, or no folder, offers no files.
    explicit TEarlierLibrary(const QString &Folder);

    /// The earlier file that may equal the entry Rec written at Path inside the library folder,
    /// or a closed one. Only files directly in the folder are offered, and none that has other
    /// links, so that no file outside the library ever shares an inode with it.
    TEarlierFile Candidate(const QString &Path, const TTarDirRec &Rec) const;

private:
    QString FFolder;    // empty: nothing to offer
    unsigned FMode = 0; // of a file created here
};
