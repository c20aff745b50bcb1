#include "packing/EarlierLibrary.h"

#include "model/GlyphbookError.h"
#include "model/ShortWrite.h"
#include "packing/LibTar.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

constexpr qint64 PieceSize = 256 * 1024;

#ifdef Q_OS_UNIX
qint64 modifiedNs(const struct stat &Info)
{
    return qint64(Info.st_mtim.tv_sec) * 1000000000 + Info.st_mtim.tv_nsec;
}

/// Whether two looks at a file saw the same file with the same contents, as far as its size
/// and time tell.
bool sameFile(const struct stat &A, const struct stat &B)
{
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino && A.st_size == B.st_size &&
           modifiedNs(A) == modifiedNs(B);
}

/// Reads Size bytes at At, retrying short reads; false when fewer are there.
bool readAt(int File, char *Data, qint64 Size, qint64 At)
{
    while (Size > 0) {
        const ssize_t n = pread(File, Data, size_t(Size), off_t(At));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        Data += n;
        At += n;
        Size -= n;
    }
    return true;
}
#endif

} // namespace

TEarlierFile::TEarlierFile(TEarlierFile &&Other) noexcept
    : FFile(std::exchange(Other.FFile, -1)), FPath(std::move(Other.FPath)), FSize(Other.FSize),
      FModified(Other.FModified), FBuffer(std::move(Other.FBuffer))
{
}

TEarlierFile &TEarlierFile::operator=(TEarlierFile &&Other) noexcept
{
    std::swap(FFile, Other.FFile);
    std::swap(FPath, Other.FPath);
    std::swap(FSize, Other.FSize);
    std::swap(FModified, Other.FModified);
    std::swap(FBuffer, Other.FBuffer);
    return *this;
}

TEarlierFile::~TEarlierFile()
{
#ifdef Q_OS_UNIX
    if (FFile >= 0)
        ::close(FFile);
#endif
}

const char *TEarlierFile::Piece(qint64 Size, qint64 At)
{
    if (FBuffer.size() < Size)
        FBuffer.resize(Size);
#ifdef Q_OS_UNIX
    return readAt(FFile, FBuffer.data(), Size, At) ? FBuffer.constData() : nullptr;
#else
    Q_UNUSED(At);
    return nullptr;
#endif
}

bool TEarlierFile::Equals(const char *Data, qint64 Size, qint64 At)
{
    for (qint64 done = 0; done < Size;) {
        const qint64 n = std::min(Size - done, PieceSize);
        const char *piece = Piece(n, At + done);
        if (!piece || std::memcmp(piece, Data + done, size_t(n)) != 0)
            return false;
        done += n;
    }
    return true;
}

void TEarlierFile::CopyTo(QIODevice &Out, qint64 Size, const QString &ShownTarget)
{
    for (qint64 done = 0; done < Size;) {
        const qint64 n = std::min(Size - done, PieceSize);
        // The bytes were there and equal a moment ago: only a change by someone else can
        // take them away.
        const char *piece = Piece(n, done);
        if (!piece)
            throw EFileError::CannotRead(
                QDir::toNativeSeparators(FPath),
                QCoreApplication::translate("EarlierLibrary",
                                            "The file changed while it was being read."));
        if (Out.write(piece, n) != n)
            throw EFileError::CannotWrite(ShownTarget, ShortWriteReason(Out));
        done += n;
    }
}

bool TEarlierFile::LinkAs(const QString &Target)
{
#ifdef Q_OS_UNIX
    const QByteArray target = QFile::encodeName(Target);
    if (::link(QFile::encodeName(FPath).constData(), target.constData()) != 0)
        return false;
    // Changed after its bytes were compared, or replaced by another file: written afresh.
    struct stat opened {
    };
    struct stat linked {
    };
    if (fstat(FFile, &opened) == 0 && lstat(target.constData(), &linked) == 0 &&
        sameFile(opened, linked) && opened.st_size == FSize && modifiedNs(opened) == FModified)
        return true;
    ::unlink(target.constData());
    return false;
#else
    Q_UNUSED(Target);
    return false;
#endif
}

TEarlierLibrary::TEarlierLibrary(const QString &Folder)
{
#ifdef Q_OS_UNIX
    struct stat info {
    };
    if (lstat(QFile::encodeName(Folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return;
    // What QFile creates a file with. umask() can only read the mask by setting it, which
    // other threads would see; the system's process status tells it instead.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : status.readAll().split('\n')) {
        bool ok = false;
        const uint mask = line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&ok, 8) : 0;
        if (ok) {
            FFolder = Folder;
            FMode = 0666 & ~mask;
        }
    }
#else
    Q_UNUSED(Folder);
#endif
}

TEarlierFile TEarlierLibrary::Candidate(const QString &Path, const TTarDirRec &Rec) const
{
    TEarlierFile file;
#ifdef Q_OS_UNIX
    if (FFolder.isEmpty() || Path.contains(u'/') || !Rec.DateTime.isValid())
        return file;
    const qint64 time = Rec.DateTime.toMSecsSinceEpoch() * 1000000;
    const auto fits = [&](const struct stat &Info) {
        return S_ISREG(Info.st_mode) && Info.st_nlink == 1 && Info.st_uid == geteuid() &&
               (Info.st_mode & 07777) == FMode && Info.st_size == Rec.Size &&
               modifiedNs(Info) == time;
    };
    // Looked at before it is opened: most files of a changed library differ already here.
    const QString path = FFolder + u'/' + Path;
    const QByteArray name = QFile::encodeName(path);
    struct stat seen {
    };
    if (lstat(name.constData(), &seen) != 0 || !fits(seen))
        return file;
    const int fd =
        ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return file;
    file.FFile = fd;
    struct stat opened {
    };
    if (fstat(fd, &opened) != 0 || !sameFile(seen, opened) || !fits(opened))
        return TEarlierFile();
    file.FPath = path;
    file.FSize = opened.st_size;
    file.FModified = time;
#else
    Q_UNUSED(Path);
    Q_UNUSED(Rec);
#endif
    return file;
}
