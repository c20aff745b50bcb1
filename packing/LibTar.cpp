#include "packing/LibTar.h"

#include "model/ShortWrite.h"
#include "packing/ArchiveNames.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTimeZone>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace
{

constexpr int BlockSize = 512;
constexpr qsizetype PendingLimit = 128 * BlockSize;
constexpr qint64 MaxEntrySize = Q_INT64_C(1) << 33; // 8^11: the eleven octal digits' limit

// Header field offsets and widths.
constexpr int NameAt = 0, NameLen = 100;
constexpr int ModeAt = 100, UidAt = 108, GidAt = 116, SmallNumLen = 8;
constexpr int SizeAt = 124, MTimeAt = 136, BigNumLen = 12;
constexpr int ChksumAt = 148, ChksumLen = 8;
constexpr int TypeFlagAt = 156;
constexpr int LinkNameAt = 157, LinkNameLen = 100;
constexpr int MagicAt = 257, MagicLen = 8;
constexpr int UNameAt = 265, GNameAt = 297, OwnerNameLen = 32;
constexpr int DevMajorAt = 329, DevMinorAt = 337;
constexpr int ChecksummedLen = 345;

const char TypeFlags[] = "01234567DMV";

QString deviceName(const QIODevice *device)
{
    if (auto file = qobject_cast<const QFileDevice *>(device); file && !file->fileName().isEmpty())
        return QDir::toNativeSeparators(file->fileName());
    if (!device->objectName().isEmpty())
        return device->objectName();
    return QStringLiteral("(stream)");
}

void putText(char *block, int at, int width, const QByteArray &text)
{
    std::memcpy(block + at, text.constData(), size_t(std::min<qsizetype>(text.size(), width)));
}

// Octal digits with leading zeros shown as blanks (the last digit always kept) and a blank after
// them; the six-digit form puts its NUL after that blank, which older readers rely on.
void putOctal(char *block, int at, int digits, quint64 value)
{
    for (int i = digits - 1; i >= 0; --i) {
        block[at + i] = char('0' + (value & 7));
        value >>= 3;
    }
    for (int i = 0; i < digits - 1 && block[at + i] == '0'; ++i)
        block[at + i] = ' ';
    block[at + digits] = ' ';
    if (digits == 6)
        block[at + 7] = '\0';
}

void putSmallNumber(char *block, int at, quint64 value)
{
    putOctal(block, at, 6, value & 0777777);
}

quint32 unixTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return 0;
    const qint64 seconds = dateTime.toMSecsSinceEpoch() / 1000; // truncates toward zero
    return quint32(std::clamp<qint64>(seconds, 0, std::numeric_limits<quint32>::max()));
}

unsigned checksumOf(const char *block)
{
    unsigned sum = 0;
    for (int i = 0; i < ChecksummedLen; ++i)
        sum += (i >= ChksumAt && i < ChksumAt + ChksumLen) ? unsigned(' ') : uchar(block[i]);
    return sum;
}

// The sets hold their first member in bit 0, while the mode puts the owner's read right (and
// set-user-id) highest.
int modeValue(const TTarDirRec &rec)
{
    int mode = 0;
    for (int p = tpReadByOwner; p <= tpExecuteByOther; ++p)
        if (rec.Permissions.contains(TTarPermission(p)))
            mode |= 0400 >> p;
    for (int m = tmSetUid; m <= tmSaveText; ++m)
        if (rec.Mode.contains(TTarMode(m)))
            mode |= 04000 >> m;
    switch (rec.FileType) {
    case ftNormal:
    case ftLink:
        return mode | 0100000;
    case ftSymbolicLink:
        return mode | 0120000;
    case ftDirectory:
        return mode | 040000;
    default:
        return mode;
    }
}

bool isTrimmed(char c)
{
    return uchar(c) <= ' ';
}

// The field up to its first NUL, never beyond its width.
QByteArray textField(const char *block, int at, int width)
{
    const char *begin = block + at;
    return QByteArray(begin, int(std::find(begin, begin + width, '\0') - begin));
}

QByteArray trimmedField(const char *block, int at, int width)
{
    QByteArray text = textField(block, at, width);
    qsizetype first = 0, last = text.size();
    while (first < last && isTrimmed(text[first]))
        ++first;
    while (last > first && isTrimmed(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

// Digits up to the first blank, each shifted in; other characters are not refused, so that a
// damaged field reads as whatever the digits make of it.
template <typename Int> Int numberField(const char *block, int at, int width)
{
    using UInt = std::make_unsigned_t<Int>;
    UInt value = 0;
    for (char c : trimmedField(block, at, width)) {
        if (c == ' ')
            break;
        value = UInt(value << 3) | UInt(Int(int(uchar(c)) - '0'));
    }
    return Int(value);
}

} // namespace

// ---- TTarWriter ----

TTarWriter::TTarWriter(QIODevice *TargetStream) : FStream(TargetStream)
{
    FPending.reserve(PendingLimit);
}

TTarWriter::TTarWriter(const QString &TargetFilename, QIODevice::OpenMode Mode)
{
    auto file = std::make_unique<QFile>(TargetFilename);
    if (!file->open(Mode))
        throw EFileError::CannotCreate(QDir::toNativeSeparators(TargetFilename),
                                       file->errorString());
    FStream = file.get();
    FOwnedFile = std::move(file);
    FOwnsStream = true;
    FPending.reserve(PendingLimit);
}

TTarWriter::~TTarWriter()
{
    try {
        if (!FFinalized)
            Finalize();
    } catch (const EGlyphbookError &) {
        // A destructor cannot report; Finalize is there for callers that need to know.
    }
}

TTarDirRec TTarWriter::NewRecord(const QByteArray &Name, qint64 Size, const QDateTime &DateTime,
                                 TFileType FileType, const QByteArray &LinkName) const
{
    TTarDirRec rec;
    rec.Name = Name;
    rec.Size = Size;
    rec.DateTime = DateTime;
    rec.FileType = FileType;
    rec.LinkName = LinkName;
    rec.Permissions = FPermissions;
    rec.UID = FUID;
    rec.GID = FGID;
    rec.UserName = FUserName;
    rec.GroupName = FGroupName;
    rec.Mode = FMode;
    rec.Magic = FMagic;
    return rec;
}

QByteArray TTarWriter::HeaderBlock(const TTarDirRec &Rec)
{
    QByteArray header(BlockSize, '\0');
    char *block = header.data();
    putText(block, NameAt, NameLen, Rec.Name);
    putSmallNumber(block, ModeAt, quint64(modeValue(Rec)));
    putSmallNumber(block, UidAt, quint32(Rec.UID));
    putSmallNumber(block, GidAt, quint32(Rec.GID));
    putOctal(block, SizeAt, 11, quint64(Rec.Size) & quint64(MaxEntrySize - 1));
    putOctal(block, MTimeAt, 11, unixTime(Rec.DateTime));
    block[TypeFlagAt] = TypeFlags[Rec.FileType <= ftVolumeHeader ? Rec.FileType : ftNormal];
    putText(block, LinkNameAt, LinkNameLen, Rec.LinkName);
    putText(block, MagicAt, MagicLen, Rec.Magic + QByteArray(MagicLen, ' '));
    putText(block, UNameAt, OwnerNameLen, Rec.UserName);
    putText(block, GNameAt, OwnerNameLen, Rec.GroupName);
    putSmallNumber(block, DevMajorAt, quint32(Rec.MajorDevNo));
    putSmallNumber(block, DevMinorAt, quint32(Rec.MinorDevNo));
    putSmallNumber(block, ChksumAt, checksumOf(block));
    return header;
}

void TTarWriter::WriteHeader(const TTarDirRec &Rec)
{
    CheckNoEarlierFailure();
    if (Rec.Size < 0 || Rec.Size >= MaxEntrySize)
        throw ETarError(
            QCoreApplication::translate("LibTar",
                                        "Cannot add \"%1\" to the archive \"%2\": an entry of "
                                        "%3 bytes does not fit a tar header (the limit is 8 GiB).")
                .arg(PrintableEntryName(Rec.Name), deviceName(FStream), QString::number(Rec.Size)));
    WriteBlock(HeaderBlock(Rec).constData());
}

// Blocks are gathered and handed to the target in large writes: one write call per block would
// cost more than the copy itself.
void TTarWriter::WriteBlock(const char *Block)
{
    FPending.append(Block, BlockSize);
    if (FPending.size() >= PendingLimit)
        WritePending();
}

void TTarWriter::WritePending()
{
    if (FPending.isEmpty())
        return;
    if (FStream->write(FPending) != FPending.size())
        RaiseWriteError();
    FPending.resize(0);
}

// Called after every entry: a buffered file would otherwise report a failed write only at some
// later step, after an Add had already returned as if all was well.
void TTarWriter::FlushTarget()
{
    WritePending();
    if (auto file = qobject_cast<QFileDevice *>(FStream); file && !file->flush())
        RaiseWriteError();
}

void TTarWriter::RaiseWriteError()
{
    const QString reason = ShortWriteReason(*FStream);
    FWriteError = QCoreApplication::translate("LibTar", "Cannot write to the archive \"%1\". %2")
                      .arg(deviceName(FStream), reason);
    throw ETarError(FWriteError);
}

// Once a block is lost the archive is broken, so every later step fails as well.
void TTarWriter::CheckNoEarlierFailure() const
{
    if (!FWriteError.isEmpty())
        throw ETarError(FWriteError);
}

void TTarWriter::AddFile(const QString &Filename, const QByteArray &TarFilename)
{
    QByteArray name = TarFilename.isEmpty() ? Filename.toUtf8() : TarFilename;
    name.replace('\\', '/');
#ifdef Q_OS_UNIX
    // A library's pictures are many small files: one open and one fstat give the size and the
    // time, and the data is read straight into the pending blocks (QFile asks three times).
    const int fd = ::open(QFile::encodeName(Filename).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        const struct TClose {
            int Fd;
            ~TClose() { ::close(Fd); }
        } closer{fd};
        struct stat status;
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
            const QDateTime time = QDateTime::fromMSecsSinceEpoch(
                qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1'000'000,
                QTimeZone::utc());
            AddOpenFile(fd, Filename, name, status.st_size, time);
            return;
        }
    }
    // What cannot be opened or is no regular file fails as QFile reports it.
#endif
    QFile file(Filename);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError::CannotOpen(QDir::toNativeSeparators(Filename), file.errorString());
    // The open file gives its time in UTC as stored; QFileInfo would go through local time and
    // back, with a time-zone look-up for each file.
    const QDateTime dateTime = file.fileTime(QFileDevice::FileModificationTime);
    AddStream(&file, name, dateTime);
}

#ifdef Q_OS_UNIX
void TTarWriter::AddOpenFile(int Fd, const QString &Filename, const QByteArray &TarFilename,
                             qint64 Size, const QDateTime &Time)
{
    qint64 bytesToGo = Size;
    WriteHeader(NewRecord(TarFilename, bytesToGo, Time, ftNormal));
    while (bytesToGo > 0) {
        const qint64 part = std::min<qint64>(bytesToGo, PendingLimit);
        const qint64 blocks = (part + BlockSize - 1) / BlockSize * BlockSize;
        const qsizetype at = FPending.size();
        FPending.resize(at + blocks);
        char *data = FPending.data() + at;
        qint64 got = 0;
        while (got < part) {
            const ssize_t n = ::read(Fd, data + got, size_t(part - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw EFileError::CannotRead(QDir::toNativeSeparators(Filename),
                                             qt_error_string(errno));
            if (n == 0)
                break;
            got += n;
        }
        // A file that shrank since its size was taken leaves zeros, keeping the size promised.
        std::memset(data + got, 0, size_t(blocks - got));
        bytesToGo -= part;
        if (FPending.size() >= PendingLimit)
            WritePending();
    }
    FlushTarget();
}
#endif

void TTarWriter::AddStream(QIODevice *Stream, const QByteArray &TarFilename,
                           const QDateTime &FileDateGmt)
{
    qint64 bytesToGo = Stream->size() - Stream->pos();
    WriteHeader(NewRecord(TarFilename, bytesToGo, FileDateGmt, ftNormal));
    char buffer[BlockSize];
    while (bytesToGo > 0) {
        const qint64 n = std::min<qint64>(BlockSize, bytesToGo);
        std::memset(buffer, 0, BlockSize);
        // A source that shrank since its size was taken leaves zeros, keeping the size promised.
        Stream->read(buffer, n);
        WriteBlock(buffer);
        bytesToGo -= n;
    }
    FlushTarget();
}

void TTarWriter::AddString(const QByteArray &Contents, const QByteArray &TarFilename,
                           const QDateTime &FileDateGmt)
{
    QByteArray bytes = Contents;
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    AddStream(&source, TarFilename, FileDateGmt);
}

void TTarWriter::AddDir(const QByteArray &Dirname, const QDateTime &DateGmt, qint64 MaxDirSize)
{
    WriteHeader(NewRecord(Dirname, MaxDirSize, DateGmt, ftDirectory));
    FlushTarget();
}

void TTarWriter::AddSymbolicLink(const QByteArray &Filename, const QByteArray &Linkname,
                                 const QDateTime &DateGmt)
{
    WriteHeader(NewRecord(Filename, 0, DateGmt, ftSymbolicLink, Linkname));
    FlushTarget();
}

void TTarWriter::AddLink(const QByteArray &Filename, const QByteArray &Linkname,
                         const QDateTime &DateGmt)
{
    WriteHeader(NewRecord(Filename, 0, DateGmt, ftLink, Linkname));
    FlushTarget();
}

void TTarWriter::AddVolumeHeader(const QByteArray &VolumeId, const QDateTime &DateGmt)
{
    WriteHeader(NewRecord(VolumeId, 0, DateGmt, ftVolumeHeader));
    FlushTarget();
}

void TTarWriter::Finalize()
{
    const char endBlock[BlockSize] = {};
    FFinalized = true; // set first: a failed end block is reported here, not tried again later
    CheckNoEarlierFailure();
    WriteBlock(endBlock);
    FlushTarget();
}

// ---- TTarArchive ----

TTarArchive::TTarArchive(QIODevice *Stream) : FStream(Stream)
{
    Reset();
}

TTarArchive::TTarArchive(const QString &Filename, QIODevice::OpenMode FileMode)
{
    auto file = std::make_unique<QFile>(Filename);
    if (!file->open(FileMode))
        throw EFileError::CannotOpen(QDir::toNativeSeparators(Filename), file->errorString());
    FStream = file.get();
    FOwnedFile = std::move(file);
    FOwnsStream = true;
    Reset();
}

TTarArchive::~TTarArchive() = default;

QString TTarArchive::ArchiveName() const
{
    return deviceName(FStream);
}

void TTarArchive::Reset()
{
    if (!FStream->isSequential())
        FStream->seek(0);
    FBytesToGo = 0;
    FPosition = 0;
}

qint64 TTarArchive::Read(char *Data, qint64 Size)
{
    const qint64 got = FStream->read(Data, Size);
    if (got > 0)
        FPosition += got;
    return got;
}

void TTarArchive::Skip(qint64 Count)
{
    if (Count <= 0)
        return;
    if (!FStream->isSequential()) {
        // Never past the end: a device may refuse that, and the next read fails there anyway.
        FStream->seek(std::min(FStream->pos() + Count, FStream->size()));
        FPosition = FStream->pos();
        return;
    }
    char buffer[BlockSize];
    while (Count > 0) {
        const qint64 got = Read(buffer, std::min<qint64>(Count, BlockSize));
        if (got <= 0)
            return;
        Count -= got;
    }
}

TTarDirRec TTarArchive::ParseHeader(const char *Block)
{
    TTarDirRec rec;
    rec.Name = textField(Block, NameAt, NameLen);
    rec.Size = numberField<qint64>(Block, SizeAt, BigNumLen);
    // An unsigned count, as the writer stores it: 2^31 is in 2038, not in 1901.
    rec.DateTime =
        QDateTime::fromSecsSinceEpoch(numberField<quint32>(Block, MTimeAt, BigNumLen), Qt::UTC);
    const qint32 mode = numberField<qint32>(Block, ModeAt, SmallNumLen);
    for (int p = tpReadByOwner; p <= tpExecuteByOther; ++p)
        if (mode & (0400 >> p))
            rec.Permissions.include(TTarPermission(p));
    for (int m = tmSetUid; m <= tmSaveText; ++m)
        if (mode & (04000 >> m))
            rec.Mode.include(TTarMode(m));
    const char flag = Block[TypeFlagAt];
    if (flag >= '1' && flag <= '7')
        rec.FileType = TFileType(flag - '0');
    else if (flag == 'D')
        rec.FileType = ftDumpDir;
    else if (flag == 'M')
        rec.FileType = ftMultiVolume;
    else if (flag == 'V')
        rec.FileType = ftVolumeHeader;
    rec.TypeFlag = flag;
    rec.LinkName = textField(Block, LinkNameAt, LinkNameLen);
    rec.UID = numberField<qint32>(Block, UidAt, SmallNumLen);
    rec.GID = numberField<qint32>(Block, GidAt, SmallNumLen);
    rec.UserName = textField(Block, UNameAt, OwnerNameLen);
    rec.GroupName = textField(Block, GNameAt, OwnerNameLen);
    rec.Magic = trimmedField(Block, MagicAt, MagicLen);
    rec.MajorDevNo = numberField<qint32>(Block, DevMajorAt, SmallNumLen);
    rec.MinorDevNo = numberField<qint32>(Block, DevMinorAt, SmallNumLen);
    const quint64 stored = numberField<qint64>(Block, ChksumAt, ChksumLen);
    rec.ChecksumOK = (stored & 0xFFFF) == (checksumOf(Block) & 0xFFFF);
    return rec;
}

bool TTarArchive::FindNext(TTarDirRec &DirRec)
{
    if (FBytesToGo > 0)
        Skip((FBytesToGo + BlockSize - 1) / BlockSize * BlockSize);
    const qint64 filePos = FPosition;
    char block[BlockSize];
    if (Read(block, BlockSize) != BlockSize || block[0] == '\0')
        return false;

    TTarDirRec rec = ParseHeader(block);
    rec.FilePos = filePos;
    switch (rec.FileType) {
    case ftLink:
    case ftSymbolicLink:
    case ftDirectory:
    case ftFifo:
    case ftVolumeHeader:
        FBytesToGo = 0;
        break;
    default:
        FBytesToGo = rec.Size;
        break;
    }
    if (FBytesToGo < 0 ||
        (!FStream->isSequential() && FBytesToGo > FStream->size() - FStream->pos())) {
        FBytesToGo = 0;
        throw ETarError(QCoreApplication::translate(
                            "LibTar", "The archive \"%1\" is damaged: the entry \"%2\" at "
                                      "position %3 claims %4 bytes of data.")
                            .arg(ArchiveName(), PrintableEntryName(rec.Name),
                                 QString::number(filePos), QString::number(rec.Size)));
    }
    DirRec = rec;
    return true;
}

// Hands the entry's data to the sink block by block, then steps over the rest of the last block.
template <typename Sink> void TTarArchive::CopyData(Sink &&sink)
{
    const qint64 total = FBytesToGo;
    if (total <= 0)
        return;
    // Pieces far larger than a block: a file of an extraction takes a write or two, not one
    // a block, and the stream a read a piece.
    constexpr qsizetype PieceSize = 256 * 1024;
    if (FCopyBuffer.isEmpty())
        FCopyBuffer.resize(PieceSize);
    char *const buffer = FCopyBuffer.data();
    for (qint64 done = 0; done < total;) {
        const qint64 n = std::min<qint64>(PieceSize, total - done);
        if (Read(buffer, n) != n)
            throw ETarError(QCoreApplication::translate(
                                "LibTar", "The archive \"%1\" is damaged: it ends inside "
                                          "the data of an entry.")
                                .arg(ArchiveName()));
        sink(buffer, n, done);
        done += n;
    }
    Skip((total + BlockSize - 1) / BlockSize * BlockSize - total);
    FBytesToGo = 0;
}

void TTarArchive::ReadFile(char *Buffer)
{
    CopyData([Buffer](const char *data, qint64 n, qint64 at) {
        std::memcpy(Buffer + at, data, size_t(n));
    });
}

void TTarArchive::ReadFile(QIODevice *Stream)
{
    CopyData([Stream](const char *data, qint64 n, qint64) {
        if (Stream->write(data, n) != n)
            throw EFileError::CannotWrite(deviceName(Stream), ShortWriteReason(*Stream));
    });
}

void TTarArchive::ReadFile(
    const std::function<void(const char *Data, qint64 Size, qint64 At)> &Sink)
{
    CopyData(Sink);
}

void TTarArchive::ReadFile(const QString &Filename)
{
    QFile file(Filename);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EFileError::CannotCreate(QDir::toNativeSeparators(Filename), file.errorString());
    ReadFile(&file);
    if (!file.flush())
        throw EFileError::CannotWrite(QDir::toNativeSeparators(Filename), ShortWriteReason(file));
}

QByteArray TTarArchive::ReadFile()
{
    if (FStream->isSequential()) {
        // A pipe cannot vouch for the size in the header, which may be gigabytes in a damaged
        // archive: grow with the data that arrives instead of reserving the claim.
        QByteArray data;
        QBuffer sink(&data);
        sink.open(QIODevice::WriteOnly);
        ReadFile(&sink);
        return data;
    }
    // FindNext has checked that the data lies within the stream.
    QByteArray data(qsizetype(std::max<qint64>(FBytesToGo, 0)), Qt::Uninitialized);
    ReadFile(data.data());
    return data;
}

void TTarArchive::GetFilePos(qint64 &Current, qint64 &Size) const
{
    Current = FStream->pos();
    Size = FStream->size();
}

void TTarArchive::SetFilePos(qint64 NewPos)
{
    if (NewPos < FStream->size() && FStream->seek(NewPos))
        FPosition = NewPos;
}

bool FindNextEntry(TTarArchive &Tar, TTarDirRec &DirRec, const QString &ShownArchive)
{
    constexpr qint64 MaxLongName = 64 * 1024;
    QByteArray longName;
    while (Tar.FindNext(DirRec)) {
        if (DirRec.TypeFlag == 'L') {
            if (DirRec.Size > MaxLongName)
                throw ETarError(QCoreApplication::translate(
                                    "LibTar", "The archive \"%1\" is damaged: a long name of "
                                              "%2 bytes.")
                                    .arg(ShownArchive, QString::number(DirRec.Size)));
            longName = Tar.ReadFile();
            longName.truncate(qstrnlen(longName.constData(), longName.size()));
            continue;
        }
        if (DirRec.TypeFlag == 'K')
            continue;
        if (!longName.isEmpty())
            DirRec.Name = std::move(longName);
        return true;
    }
    return false;
}
