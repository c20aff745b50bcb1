#include "packing/ArchiveNames.h"

#include "model/ImagePath.h"
#include "model/RawPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace
{

// An extension longer than this is no file type but part of the name, and may be cut.
constexpr qsizetype MaxExtensionLength = 16;

// Meeting keys. A stem shorter than ShortStem is never cut, even with the longest number any
// library reaches ("~999999") and the longest extension; a longer one keeps at least ShortStem
// characters whatever number it gets, since a cut backs off at most 11 characters to the start
// of an encoded character.
constexpr qsizetype ShortStem = 64;
constexpr qsizetype KeyLength = 48;
static_assert(ShortStem + 7 + MaxExtensionLength <= TArchiveNamer::MaxNameLength + 1);
static_assert(TArchiveNamer::MaxNameLength - 7 - MaxExtensionLength - 11 >= ShortStem);

/// Name without every "~" and the digits right after it: the same for a name with any number
/// and without one, and for a cut name a prefix of the uncut one's.
QString withoutNumbers(const QString &name)
{
    QString kept;
    kept.reserve(name.size());
    bool afterTilde = false;
    for (const QChar c : name) {
        if (c == u'~') {
            afterTilde = true;
            continue;
        }
        if (afterTilde && c >= u'0' && c <= u'9')
            continue;
        afterTilde = false;
        kept += c;
    }
    return kept;
}

} // namespace

bool TArchiveNamer::SameBytes(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd()) {
        const QByteArray chunk = fa.read(64 * 1024);
        if (chunk.isEmpty() || chunk != fb.read(chunk.size()))
            return false;
    }
    return true;
}

namespace
{

// Encoded names are ASCII; "%XX" stands for one byte, and %80 to %BF continue a character.
bool isContinuationAt(const QString &name, qsizetype at)
{
    if (at + 2 >= name.size() || name.at(at) != u'%')
        return false;
    const int value = QStringView(name).mid(at + 1, 2).toInt(nullptr, 16);
    return value >= 0x80 && value <= 0xBF;
}

} // namespace

QString PathEncode(const QString &Text)
{
    // Everything from 33 to 127 that is not reserved stays; QUrl encodes the rest as UTF-8.
    static const QByteArray kept = [] {
        const QByteArray reserved = QByteArrayLiteral("\"#%*+<>[\\]^`{|}");
        QByteArray bytes;
        for (int c = 33; c <= 127; ++c)
            if (!reserved.contains(char(c)))
                bytes.append(char(c));
        return bytes;
    }();
    return QString::fromLatin1(QUrl::toPercentEncoding(Text, kept));
}

QString PrintableEntryName(const QByteArray &Name)
{
    return PrintableBytes(Name);
}

TArchiveNamer::TArchiveNamer(TSameContent SameContent)
    : FSameContent(SameContent ? std::move(SameContent) : TSameContent(SameBytes))
{
    FFileByFoldedName.insert(DocumentEntryName, -1);
}

QString TArchiveNamer::NaturalName(const QString &StoredPath)
{
    return PathEncode(FileNamePart(StoredPath));
}

QString TArchiveNamer::MeetingKey(const QString &Natural)
{
    // Every name tried for a file, stripped of numbers and cut to KeyLength, is the same, so two
    // names can only be equal when these are: that is the key. A long stem whose first
    // ShortStem characters shrink below KeyLength when stripped gets none.
    const qsizetype dot = Natural.lastIndexOf(u'.');
    const bool hasExtension = dot > 0 && Natural.size() - dot <= MaxExtensionLength;
    const QString stem = hasExtension ? Natural.left(dot) : Natural;
    if (stem.size() >= ShortStem && withoutNumbers(stem.left(ShortStem)).size() < KeyLength)
        return QString();
    const QString first = FittedName(stem, QString(), hasExtension ? Natural.mid(dot) : QString());
    return withoutNumbers(first.toLower()).left(KeyLength);
}

QString TArchiveNamer::IdentityOf(const QString &FilePath)
{
    const QString canonical = CanonicalPath(FilePath);
    return canonical.isEmpty() ? QFileInfo(FilePath).absoluteFilePath() : canonical;
}

QString TArchiveNamer::FittedName(const QString &Stem, const QString &Suffix,
                                  const QString &Extension)
{
    const qsizetype room = MaxNameLength - Suffix.size() - Extension.size();
    qsizetype cut = std::max<qsizetype>(0, std::min(room, Stem.size()));
    if (cut > 0 && cut < Stem.size()) {
        // Back to the start of an encoded byte, then to the start of its character.
        const qsizetype percent = Stem.lastIndexOf(u'%', cut - 1);
        if (percent >= 0 && percent + 3 > cut)
            cut = percent;
        while (cut >= 3 && isContinuationAt(Stem, cut))
            cut -= 3;
    }
    return Stem.left(cut) + Suffix + Extension;
}

QString TArchiveNamer::NameFor(const QString &StoredPath, const QString &FilePath)
{
    const QString identity = IdentityOf(FilePath);
    if (const auto known = FNameByIdentity.constFind(identity); known != FNameByIdentity.cend())
        return *known;
    return NameFor(FilePath, identity, NaturalName(StoredPath));
}

QString TArchiveNamer::NameFor(const QString &FilePath, const QString &Identity,
                               const QString &Natural)
{
    if (const auto known = FNameByIdentity.constFind(Identity); known != FNameByIdentity.cend())
        return *known;

    const qsizetype dot = Natural.lastIndexOf(u'.');
    const bool hasExtension = dot > 0 && Natural.size() - dot <= MaxExtensionLength;
    const QString stem = hasExtension ? Natural.left(dot) : Natural;
    const QString extension = hasExtension ? Natural.mid(dot) : QString();

    QString name;
    for (int number = 1;; ++number) {
        name = FittedName(stem, number == 1 ? QString() : QStringLiteral("~%1").arg(number),
                          extension);
        const auto taken = FFileByFoldedName.constFind(name.toLower());
        if (taken == FFileByFoldedName.cend())
            break;
        if (*taken >= 0 && FSameContent(FFiles.at(*taken).Path, FilePath)) {
            name = FFiles.at(*taken).Name;
            FNameByIdentity.insert(Identity, name);
            return name;
        }
    }
    FFileByFoldedName.insert(name.toLower(), FFiles.size());
    FFiles.append({name, FilePath});
    FNameByIdentity.insert(Identity, name);
    return name;
}
