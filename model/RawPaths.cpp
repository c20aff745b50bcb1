#include "model/RawPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringDecoder>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <utility>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

QString escapedByte(uchar byte)
{
    return QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
}

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

/// Whether Qt's file names keep Bytes as they are.
bool isSpelled(const QByteArray &Bytes)
{
    return QFile::encodeName(QFile::decodeName(Bytes)) == Bytes;
}

const QString HeldPrefix = QStringLiteral("/proc/self/fd/");

#ifdef Q_OS_LINUX

/// What one descriptor held for PathFromBytes stands for.
struct THeld {
    QByteArray Raw; // resolved and absolute
    bool IsFolder = false;
};

/// The descriptors held for paths Qt cannot spell. Like the descriptor table they live in, they
/// belong to the whole process and stay open to its end.
class THeldPaths
{
public:
    static THeldPaths &Instance()
    {
        static THeldPaths held;
        return held;
    }

    /// The descriptor for the resolved path Raw, opened on first use; -1 when it cannot be.
    int Hold(const QByteArray &Raw, bool &IsFolder)
    {
        const QMutexLocker lock(&FMutex);
        if (const auto known = FByPath.constFind(Raw); known != FByPath.cend()) {
            IsFolder = FByDescriptor.value(*known).IsFolder;
            return *known;
        }
        const int fd = ::open(Raw.constData(), O_PATH | O_CLOEXEC);
        if (fd < 0)
            return -1;
        struct stat status;
        IsFolder = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
        FByPath.insert(Raw, fd);
        FByDescriptor.insert(fd, {Raw, IsFolder});
        return fd;
    }

    /// What Path begins with, when it begins with a held descriptor's path: the descriptor and
    /// the length of that part of Path, which may go on with anything but a digit.
    bool Find(const QString &Path, THeld &Held, int &Descriptor, qsizetype &Length) const
    {
        if (!Path.startsWith(HeldPrefix))
            return false;
        qsizetype end = HeldPrefix.size();
        while (end < Path.size() && Path.at(end).isDigit())
            ++end;
        if (end == HeldPrefix.size())
            return false;
        bool ok = false;
        const int fd = QStringView(Path).mid(HeldPrefix.size(), end - HeldPrefix.size()).toInt(&ok);
        const QMutexLocker lock(&FMutex);
        const auto known = FByDescriptor.constFind(fd);
        if (!ok || known == FByDescriptor.cend())
            return false;
        Held = *known;
        Descriptor = fd;
        Length = end;
        return true;
    }

    /// Holds the file now at Held's path with Descriptor, which held the one it replaced.
    void Refresh(int Descriptor)
    {
        const QMutexLocker lock(&FMutex);
        const auto known = FByDescriptor.constFind(Descriptor);
        if (known == FByDescriptor.cend())
            return;
        const int fresh = ::open(known->Raw.constData(), O_PATH | O_CLOEXEC);
        if (fresh < 0)
            return;
        ::dup3(fresh, Descriptor, O_CLOEXEC);
        ::close(fresh);
    }

private:
    THeldPaths() = default;

    mutable QMutex FMutex;
    QHash<QByteArray, int> FByPath;
    QHash<int, THeld> FByDescriptor;
};

/// The resolved form of Raw, which must exist; empty otherwise.
QByteArray resolved(const QByteArray &Raw)
{
    char buffer[PATH_MAX];
    return ::realpath(Raw.constData(), buffer) ? QByteArray(buffer) : QByteArray();
}

QByteArray absoluteBytes(const QByteArray &Raw)
{
    if (Raw.startsWith('/'))
        return Raw;
    char buffer[PATH_MAX];
    const QByteArray current = ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
    return current + '/' + Raw;
}

/// The held path of the existing, resolved path Raw that Qt cannot spell.
QString holdResolved(const QByteArray &Raw)
{
    bool isFolder = false;
    const int fd = THeldPaths::Instance().Hold(Raw, isFolder);
    return fd < 0 ? QString() : HeldPrefix + QString::number(fd);
}

#endif

} // namespace

QString PrintableBytes(const QByteArray &Name)
{
    QString text;
    // Character by character: a sequence that does not decode is shown byte by byte.
    for (qsizetype at = 0; at < Name.size();) {
        const uchar lead = uchar(Name.at(at));
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString character = lead >= 0xC2 && lead <= 0xF4 && at + length <= Name.size()
                                      ? decoder.decode(Name.mid(at, length))
                                      : QString();
        const bool decoded = !character.isEmpty() && !decoder.hasError() &&
                             !character.contains(QChar::ReplacementCharacter);
        if (lead < 0x80 || !decoded) {
            text += lead < 0x80 && !isControl(lead) ? QString(QLatin1Char(char(lead)))
                                                    : escapedByte(lead);
            ++at;
            continue;
        }
        const char32_t code = character.toUcs4().value(0);
        if (isControl(code)) {
            for (qsizetype i = 0; i < length; ++i)
                text += escapedByte(uchar(Name.at(at + i)));
        } else {
            text += character;
        }
        at += length;
    }
    return text;
}

QString PathFromBytes(const QByteArray &Raw)
{
    if (isSpelled(Raw))
        return QFile::decodeName(Raw);
#ifdef Q_OS_LINUX
    // The part that must be resolved ends with the last folder Qt cannot spell, or with the
    // last "." or ".." part, which only the system takes rightly after a link.
    const QList<QByteArray> parts = absoluteBytes(Raw).split('/');
    qsizetype cut = -1;
    for (qsizetype i = 0; i < parts.size(); ++i)
        if (!isSpelled(parts[i]) || parts[i] == "." || parts[i] == "..")
            cut = i;
    const QByteArray head = resolved(parts.mid(0, cut + 1).join('/'));
    if (head.isEmpty())
        return QString();
    const QString rest = QFile::decodeName(parts.mid(cut + 1).join('/'));
    const QString held = isSpelled(head) ? QFile::decodeName(head) : holdResolved(head);
    if (held.isEmpty())
        return QString();
    return rest.isEmpty() ? held : held + u'/' + rest;
#else
    return QFile::decodeName(Raw);
#endif
}

QString ShownPath(const QString &Path)
{
    return WithShownPaths(Path);
}

QString WithShownPaths(const QString &Text, TShownPathText Form)
{
#ifdef Q_OS_LINUX
    if (!Text.contains(HeldPrefix))
        return Text;
    QString shown;
    qsizetype at = 0;
    for (qsizetype found; (found = Text.indexOf(HeldPrefix, at)) >= 0;) {
        THeld held;
        int fd = -1;
        qsizetype length = 0;
        // A held path stands at the start of the text or of a path in it.
        const bool starts = found == 0 || Text.at(found - 1) != u'/';
        if (!starts || !THeldPaths::Instance().Find(Text.mid(found), held, fd, length)) {
            shown += QStringView(Text).mid(at, found + HeldPrefix.size() - at);
            at = found + HeldPrefix.size();
            continue;
        }
        QString path = PrintableBytes(held.Raw);
        if (Form == TShownPathText::JsonString)
            path.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
        shown += QStringView(Text).mid(at, found - at);
        shown += path;
        at = found + length;
    }
    shown += QStringView(Text).mid(at);
    return shown;
#else
    Q_UNUSED(Form);
    return Text;
#endif
}

#ifdef Q_OS_LINUX
namespace
{
/// The held entry Path starts with, and how much of Path names it; none for any other path.
std::optional<std::pair<THeld, qsizetype>> heldStart(const QString &Path)
{
    THeld held;
    int fd = -1;
    qsizetype length = 0;
    if (!THeldPaths::Instance().Find(Path, held, fd, length))
        return std::nullopt;
    return std::pair(held, length);
}
} // namespace
#endif

bool IsHeldPath(const QString &Path)
{
#ifdef Q_OS_LINUX
    const auto start = heldStart(Path);
    return start && (start->second == Path.size() || Path.at(start->second) == u'/');
#else
    Q_UNUSED(Path);
    return false;
#endif
}

bool IsHeldFile(const QString &Path)
{
#ifdef Q_OS_LINUX
    const auto start = heldStart(Path);
    return start && start->second == Path.size() && !start->first.IsFolder;
#else
    Q_UNUSED(Path);
    return false;
#endif
}

QString FolderOf(const QString &Path)
{
#ifdef Q_OS_LINUX
    THeld held;
    int fd = -1;
    qsizetype length = 0;
    if (THeldPaths::Instance().Find(Path, held, fd, length) && length == Path.size() &&
        !held.IsFolder)
        return PathFromBytes(held.Raw.left(std::max<qsizetype>(held.Raw.lastIndexOf('/'), 1)));
#endif
    return QFileInfo(Path).absolutePath();
}

QByteArray FileNameBytes(const QString &Path)
{
#ifdef Q_OS_LINUX
    THeld held;
    int fd = -1;
    qsizetype length = 0;
    if (THeldPaths::Instance().Find(Path, held, fd, length) && length == Path.size())
        return held.Raw.mid(held.Raw.lastIndexOf('/') + 1);
#endif
    return QFile::encodeName(QFileInfo(Path).fileName());
}

QString CanonicalPath(const QString &Path)
{
#ifdef Q_OS_LINUX
    const QByteArray bytes = QFile::encodeName(Path);
    // The system would read a name only up to a NUL, and so reach another file.
    if (bytes.isEmpty() || bytes.contains('\0'))
        return QString();
    const QByteArray raw = resolved(bytes);
    if (raw.isEmpty())
        return QString();
    return PathFromBytes(raw);
#else
    return QFileInfo(Path).canonicalFilePath();
#endif
}

bool ReplaceHeldFile(const QString &Written, const QString &Held)
{
#ifdef Q_OS_LINUX
    THeld held;
    int fd = -1;
    qsizetype length = 0;
    if (!THeldPaths::Instance().Find(Held, held, fd, length) || length != Held.size()) {
        errno = EINVAL;
        return false;
    }
    if (::rename(QFile::encodeName(Written).constData(), held.Raw.constData()) != 0)
        return false;
    // The descriptor still holds the file that was replaced; later reads want the new one.
    THeldPaths::Instance().Refresh(fd);
    return true;
#else
    Q_UNUSED(Written);
    Q_UNUSED(Held);
    errno = ENOTSUP;
    return false;
#endif
}
