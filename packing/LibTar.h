#pragma once

#include "model/GlyphbookError.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QFile;

/// A tar archive that cannot be written as asked or cannot be read because it is damaged.
class ETarError : public EGlyphbookError
{
public:
    using EGlyphbookError::EGlyphbookError;
};

/// A set of the values of a small enumeration, bit n standing for ordinal n.
template <typename Enum, typename Bits> class TEnumSet
{
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<Enum> values)
    {
        for (Enum value : values)
            FBits = Bits(FBits | bitOf(value));
    }
    static constexpr TEnumSet fromBits(Bits bits)
    {
        TEnumSet set;
        set.FBits = bits;
        return set;
    }

    constexpr Bits bits() const { return FBits; }
    constexpr bool contains(Enum value) const { return (FBits & bitOf(value)) != 0; }
    constexpr bool isEmpty() const { return FBits == 0; }
    void include(Enum value) { FBits = Bits(FBits | bitOf(value)); }
    void exclude(Enum value) { FBits = Bits(FBits & ~bitOf(value)); }

    friend constexpr bool operator==(TEnumSet a, TEnumSet b) { return a.FBits == b.FBits; }
    friend constexpr bool operator!=(TEnumSet a, TEnumSet b) { return a.FBits != b.FBits; }

private:
    static constexpr Bits bitOf(Enum value) { return Bits(Bits(1) << unsigned(value)); }
    Bits FBits = 0;
};

enum TTarPermission : std::uint8_t {
    tpReadByOwner,
    tpWriteByOwner,
    tpExecuteByOwner,
    tpReadByGroup,
    tpWriteByGroup,
    tpExecuteByGroup,
    tpReadByOther,
    tpWriteByOther,
    tpExecuteByOther
};
using TTarPermissions = TEnumSet<TTarPermission, std::uint16_t>;

/// All nine access rights, the writer's default.
inline constexpr TTarPermissions AllTarPermissions = TTarPermissions::fromBits(0x1FF);

/// The kind of an entry.
enum TFileType : std::uint8_t {
    ftNormal,
    ftLink,
    ftSymbolicLink,
    ftCharacter,
    ftBlock,
    ftDirectory,
    ftFifo,
    ftContiguous,
    ftDumpDir,
    ftMultiVolume,
    ftVolumeHeader
};

enum TTarMode : std::uint8_t { tmSetUid, tmSetGid, tmSaveText };
using TTarModes = TEnumSet<TTarMode, std::uint8_t>;

/// One entry of an archive: what the writer puts into a header and what the reader gets out.
/// A default-constructed record is a cleared one.
struct TTarDirRec {
    QByteArray Name;
    qint64 Size = 0;
    QDateTime DateTime;
    TTarPermissions Permissions;
    TFileType FileType = ftNormal;
    QByteArray LinkName;
    qint32 UID = 0;
    qint32 GID = 0;
    QByteArray UserName;
    QByteArray GroupName;
    bool ChecksumOK = false;
    TTarModes Mode;
    QByteArray Magic;
    qint32 MajorDevNo = 0;
    qint32 MinorDevNo = 0;
    qint64 FilePos = 0;
    /// The type byte of the header as the reader found it ("L", "x", ...), where FileType reads
    /// every byte it does not name as ftNormal; the writer goes by FileType alone.
    char TypeFlag = '0';
};

/// Writes a tar archive, one entry after the other, into a stream or a new file. The end block
/// is written by Finalize or else by the destructor. Every failed write raises an error; since a
/// destructor cannot, call Finalize to learn that the archive was written completely.
class TTarWriter
{
public:
    /// Writes into the caller's stream from its current position.
    explicit TTarWriter(QIODevice *TargetStream);
    /// Opens the file with the mode (by default created, or emptied if it exists) and owns it.
    explicit TTarWriter(const QString &TargetFilename,
                        QIODevice::OpenMode Mode = QIODevice::WriteOnly | QIODevice::Truncate);
    TTarWriter(const TTarWriter &) = delete;
    TTarWriter &operator=(const TTarWriter &) = delete;
    virtual ~TTarWriter();

    /// Adds a disk file as a regular entry named TarFilename, or Filename when that is empty;
    /// "\" in the name becomes "/".
    void AddFile(const QString &Filename, const QByteArray &TarFilename = QByteArray());
    /// Adds the bytes from the stream's current position to its end as a regular entry.
    void AddStream(QIODevice *Stream, const QByteArray &TarFilename, const QDateTime &FileDateGmt);
    void AddString(const QByteArray &Contents, const QByteArray &TarFilename,
                   const QDateTime &FileDateGmt);
    void AddDir(const QByteArray &Dirname, const QDateTime &DateGmt, qint64 MaxDirSize = 0);
    void AddSymbolicLink(const QByteArray &Filename, const QByteArray &Linkname,
                         const QDateTime &DateGmt);
    void AddLink(const QByteArray &Filename, const QByteArray &Linkname, const QDateTime &DateGmt);
    void AddVolumeHeader(const QByteArray &VolumeId, const QDateTime &DateGmt);
    /// Writes one end block (every call one more) and hands everything written to the system.
    void Finalize();

    TTarPermissions Permissions() const { return FPermissions; }
    void SetPermissions(TTarPermissions Value) { FPermissions = Value; }
    qint32 UID() const { return FUID; }
    void SetUID(qint32 Value) { FUID = Value; }
    qint32 GID() const { return FGID; }
    void SetGID(qint32 Value) { FGID = Value; }
    QByteArray UserName() const { return FUserName; }
    void SetUserName(const QByteArray &Value) { FUserName = Value; }
    QByteArray GroupName() const { return FGroupName; }
    void SetGroupName(const QByteArray &Value) { FGroupName = Value; }
    TTarModes Mode() const { return FMode; }
    void SetMode(TTarModes Value) { FMode = Value; }
    QByteArray Magic() const { return FMagic; }
    void SetMagic(const QByteArray &Value) { FMagic = Value; }

    /// The 512-byte header block of a record.
    static QByteArray HeaderBlock(const TTarDirRec &Rec);

private:
    TTarDirRec NewRecord(const QByteArray &Name, qint64 Size, const QDateTime &DateTime,
                         TFileType FileType, const QByteArray &LinkName = QByteArray()) const;
#ifdef Q_OS_UNIX
    /// AddFile's work for a regular file open as Fd.
    void AddOpenFile(int Fd, const QString &Filename, const QByteArray &TarFilename, qint64 Size,
                     const QDateTime &Time);
#endif
    void WriteHeader(const TTarDirRec &Rec);
    void WriteBlock(const char *Block);
    void WritePending();
    void FlushTarget();
    [[noreturn]] void RaiseWriteError();
    void CheckNoEarlierFailure() const;

    QIODevice *FStream = nullptr;
    bool FOwnsStream = false;
    std::unique_ptr<QFile> FOwnedFile;
    bool FFinalized = false;
    TTarPermissions FPermissions = AllTarPermissions;
    qint32 FUID = 0;
    qint32 FGID = 0;
    QByteArray FUserName;
    QByteArray FGroupName;
    TTarModes FMode;
    QByteArray FMagic = QByteArrayLiteral("ustar");
    QString FWriteError; // the first failed write, repeated by every later step
    QByteArray FPending; // whole blocks not yet handed to the target
};

/// Reads a tar archive from a stream or a file, entry by entry: FindNext reads a header, one of
/// the ReadFile forms delivers that entry's data, and data left unread is skipped.
class TTarArchive
{
public:
    /// Reads from the caller's stream, starting at its position 0.
    explicit TTarArchive(QIODevice *Stream);
    /// Opens the file with the mode and owns it.
    explicit TTarArchive(const QString &Filename,
                         QIODevice::OpenMode FileMode = QIODevice::ReadOnly);
    TTarArchive(const TTarArchive &) = delete;
    TTarArchive &operator=(const TTarArchive &) = delete;
    virtual ~TTarArchive();

    /// Starts the listing again at the first header.
    void Reset();
    /// Reads the next header into DirRec; false at the end block or when no whole block is left.
    bool FindNext(TTarDirRec &DirRec);
    /// Reads the current entry's data into a buffer of at least its size.
    void ReadFile(char *Buffer);
    /// Writes the current entry's data to the stream at its current position.
    void ReadFile(QIODevice *Stream);
    /// Creates (or empties) the file and writes the current entry's data into it.
    void ReadFile(const QString &Filename);
    QByteArray ReadFile();
    /// Hands the current entry's data to Sink in pieces, each with its offset in the entry.
    void ReadFile(const std::function<void(const char *Data, qint64 Size, qint64 At)> &Sink);
    void GetFilePos(qint64 &Current, qint64 &Size) const;
    /// Moves to NewPos when it lies before the end of the archive.
    void SetFilePos(qint64 NewPos);

    /// Reads a header block (FilePos left 0).
    static TTarDirRec ParseHeader(const char *Block);

private:
    template <typename Sink> void CopyData(Sink &&sink);
    void Skip(qint64 Count);
    qint64 Read(char *Data, qint64 Size);
    QString ArchiveName() const;

    QIODevice *FStream = nullptr;
    bool FOwnsStream = false;
    std::unique_ptr<QFile> FOwnedFile;
    qint64 FBytesToGo = 0;
    qint64 FPosition = 0; // in the tar stream, also where the stream (a pipe, gzip) has none
    QByteArray FCopyBuffer;
};

/// FindNext for archives from any tar: a name too long for its header comes in an entry of its
/// own before it ("L"), which this puts into the entry's Name; a long link target ("K") is
/// skipped with the link it belongs to. ShownArchive names the archive when a long name is too
/// long to be true.
bool FindNextEntry(TTarArchive &Tar, TTarDirRec &DirRec, const QString &ShownArchive);
