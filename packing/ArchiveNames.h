#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>

/// The entry that holds a packed library's document; no image may take its name.
inline const QString DocumentEntryName = QStringLiteral("glyphbook.js");

/// The URL path encoding of a file name: characters 33 to 127 stay, except the fifteen
/// reserved ones ("#%*+<>[\]^`{|} and the double quote); every other character becomes its
/// UTF-8 bytes as "%XX" with upper-case digits.
QString PathEncode(const QString &Text);

/// An entry name as it may be shown on a terminal or in a message: UTF-8 text, with control
/// characters and bytes that are no UTF-8 written as "\xNN".
QString PrintableEntryName(const QByteArray &Name);

/// Gives every image file of a library its entry name in a packed library. The name is the
/// encoded file name (PathEncode), unless that is taken or too long for a tar header:
/// - a name longer than MaxNameLength bytes is cut, keeping its extension and never splitting
///   an encoded character;
/// - a name already given to a different file (compared without regard to case, so that the
///   entries also stay apart on case-insensitive file systems), or the document's own name,
///   gets "~2", "~3", ... before its extension: the first number that is free.
/// The same file (by its canonical path), or a byte-identical one, shares the name. The names
/// depend only on the order in which files are named, so a library always packs the same way.
class TArchiveNamer
{
public:
    static constexpr qsizetype MaxNameLength = 100;

    struct TFile {
        QString Name;
        QString Path;
    };

    /// Whether two files hold the same bytes; by default they are read and compared.
    using TSameContent = std::function<bool(const QString &PathA, const QString &PathB)>;

    explicit TArchiveNamer(TSameContent SameContent = {});

    /// The entry name for the image whose stored path is StoredPath and whose file is FilePath.
    QString NameFor(const QString &StoredPath, const QString &FilePath);
    /// NameFor with the file's identity (IdentityOf) and natural name (NaturalName) already
    /// worked out, for a caller that names the same files many times.
    QString NameFor(const QString &FilePath, const QString &Identity, const QString &Natural);
    /// The distinct files named so far, in the order they were first named.
    const QList<TFile> &Files() const { return FFiles; }

    /// The entry name a file would get if nothing else were packed: its encoded file name.
    static QString NaturalName(const QString &StoredPath);
    /// Whether the two files hold the same bytes.
    static bool SameBytes(const QString &PathA, const QString &PathB);
    /// A key for the natural name Natural such that files with different keys never meet: no
    /// name tried for one (cut to fit, with a number) is ever a name tried for the other. So
    /// files can be named key by key, each key with a namer of its own, with the names that
    /// naming them all at once gives. Empty for the rare name that cannot be given a key.
    static QString MeetingKey(const QString &Natural);
    /// What tells two paths to one file apart from two files: the canonical path.
    static QString IdentityOf(const QString &FilePath);

private:
    /// Stem + Suffix + Extension, the stem cut so that the whole fits MaxNameLength.
    static QString FittedName(const QString &Stem, const QString &Suffix, const QString &Extension);

    TSameContent FSameContent;
    QHash<QString, qsizetype> FFileByFoldedName; // -1: reserved
    QHash<QString, QString> FNameByIdentity;
    QList<TFile> FFiles;
};
