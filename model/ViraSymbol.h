#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

/// A key and a value: a language code and a display name, or a state value and an image path.
class TStringPairs
{
public:
    QString Name;
    QString Value;

    friend bool operator==(const TStringPairs &a, const TStringPairs &b)
    {
        return a.Name == b.Name && a.Value == b.Value;
    }
};

/// How a text stands at the text point. Any other byte value (the settings editor stores list
/// indexes, 255 for none) is no known alignment.
enum TVSTextAlign : std::uint8_t { vstaRight = 0, vstaCenter = 1, vstaLeft = 2 };

/// One symbol of a library, or a plain image when Symbol is false.
class TViraSymbol
{
public:
    QString Identifier;
    QList<TStringPairs> Names;
    QString Image;
    bool Symbol = false;
    qint32 ImageX = 0;
    qint32 ImageY = 0;
    qint32 TextX = 0;
    qint32 TextY = 0;
    TVSTextAlign TextAlign = vstaRight;
    QList<TStringPairs> StateImages;
    /// Run-time mark that an image file was found missing; never saved, loaded or copied.
    bool Error = false;

    /// The display name for a language code (exact match, first pair wins), or "".
    QString FindName(const QString &Lang) const;
};

/// Whether A and B hold the same document content: every field but the run-time Error mark.
bool SameContent(const TViraSymbol &A, const TViraSymbol &B);
/// The symbol's picture paths as stored: its main image, then its state images in order.
QStringList PicturePaths(const TViraSymbol &Symbol);
/// The stored path of one picture: the main image for ImageIndex -1, else state image
/// ImageIndex; empty for an index beyond the state images.
QString PicturePath(const TViraSymbol &Symbol, qsizetype ImageIndex);
/// Replaces each of the symbol's picture paths by what NewPath gives for it, called in the order
/// of PicturePaths.
void ReplacePicturePaths(TViraSymbol &Symbol,
                         const std::function<QString(const QString &Stored)> &NewPath);

/// Symbols are held at once by the library, the list rows, the tiles and the selection.
using TViraSymbolPtr = std::shared_ptr<TViraSymbol>;

/// A symbol library: the ordered list of its symbols.
class TViraGlyphbook
{
public:
    QList<TViraSymbolPtr> Symbols;

    /// Appends an independent copy of Symbol (Error cleared) and returns it.
    TViraSymbolPtr AddCopy(const TViraSymbol &Symbol);

    /// Replaces the symbols by those of the document in FileName. A missing file (or a folder)
    /// changes nothing and gives false. Raises EGlyphbookError subclasses on failure.
    bool LoadFromFile(const QString &FileName);
    /// Writes the library as a document, filling empty display names with the identifier. The
    /// file is replaced atomically: a failed save leaves the former file as it was.
    bool SaveToFile(const QString &FileName);

    /// LoadFromFile(FileName) then SaveToFile(Target) of a library of its own, with the same
    /// bytes and the same failures, but holding one symbol at a time instead of the library.
    /// Inspect, when given, sees every symbol before Target is replaced; what it raises leaves
    /// Target as it was and is raised again.
    static void FormatFile(const QString &FileName, const QString &Target,
                           const std::function<void(const TViraSymbol &)> &Inspect = {});

    /// Replaces the symbols by those of the document held in Bytes (the file's content);
    /// SourceName names the file in error messages.
    void LoadFromBytes(QByteArray Bytes, const QString &SourceName);
    /// The file content of the library's document; fills empty display names like SaveToFile
    /// unless FillEmptyNames is false (a copy that must give back the library as it is).
    QByteArray SaveToBytes(bool FillEmptyNames = true);
};

TVSTextAlign StrToTextAlign(const QString &Text);
QString TextAlignToStr(TVSTextAlign Align);
