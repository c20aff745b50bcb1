// The library document: TViraGlyphbook to and from its JSON file.

#include "model/FileSave.h"
#include "model/GlyphbookError.h"
#include "model/IntegerText.h"
#include "model/JsonValue.h"
#include "model/JsonWriter.h"
#include "model/LineBreaks.h"
#include "model/ShortWrite.h"
#include "model/ViraSymbol.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{

const QByteArray Bom("\xEF\xBB\xBF");

// Member names, built once so that puts and gets share them.
const QString sGlyphbook = QStringLiteral("GLYPHBOOK");
const QString sIdentifier = QStringLiteral("Identifier");
const QString sImage = QStringLiteral("Image");
const QString sImageX = QStringLiteral("ImageX");
const QString sImageY = QStringLiteral("ImageY");
const QString sName = QStringLiteral("NAME");
const QString sSymbol = QStringLiteral("Symbol");
const QString sTextAlign = QStringLiteral("TextAlign");
const QString sTextX = QStringLiteral("TextX");
const QString sTextY = QStringLiteral("TextY");
const QString sStateImages = QStringLiteral("StateImages");
const QString sValue = QStringLiteral("Value");
const QString sTrue = QStringLiteral("true");
const QString sFalse = QStringLiteral("false");

// An absent element (a gap of an array) reads like an object without members.
QString getS(const TJsonValuePtr &value, const QString &name)
{
    return value ? value->GetS(name) : QString();
}

QString documentError(const QString &fileName, const QString &reason)
{
    return QCoreApplication::translate("ViraSymbolDocument",
                                       "The file \"%1\" is not a library document: %2.")
        .arg(fileName, reason);
}

// A member name as it will stand in the file: line breaks as CR LF and lone surrogates as the
// replacement character, as the UTF-8 encoder writes them. The member order follows this name,
// so that the file loads back in the order it was written.
QString storedName(const QString &name)
{
    QString stored = WithCrLfBreaks(name);
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const QChar c = stored.at(i);
        if (c.isHighSurrogate() && i + 1 < stored.size() && stored.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            stored[i] = QChar::ReplacementCharacter;
    }
    return stored;
}

using TDocumentWriter = TJsonWriter<QByteArray, char>;

// The members of a symbol object; the file shows them in member order (symbolMembersInOrder).
enum TSymbolMember {
    smIdentifier,
    smImage,
    smImageX,
    smImageY,
    smName,
    smSymbol,
    smTextAlign,
    smTextX,
    smTextY,
    smStateImages
};

const QString &symbolMemberName(TSymbolMember member)
{
    switch (member) {
    case smIdentifier:
        return sIdentifier;
    case smImage:
        return sImage;
    case smImageX:
        return sImageX;
    case smImageY:
        return sImageY;
    case smName:
        return sName;
    case smSymbol:
        return sSymbol;
    case smTextAlign:
        return sTextAlign;
    case smTextX:
        return sTextX;
    case smTextY:
        return sTextY;
    case smStateImages:
        return sStateImages;
    }
    return sName;
}

bool memberLess(const QString &a, const QString &b)
{
    return MemberLess(JsonMemberHash(a), a, JsonMemberHash(b), b);
}

const std::vector<TSymbolMember> &symbolMembersInOrder()
{
    static const std::vector<TSymbolMember> order = [] {
        std::vector<TSymbolMember> members;
        for (int m = smIdentifier; m <= smStateImages; ++m)
            members.push_back(TSymbolMember(m));
        std::sort(members.begin(), members.end(), [](TSymbolMember a, TSymbolMember b) {
            return memberLess(symbolMemberName(a), symbolMemberName(b));
        });
        return members;
    }();
    return order;
}

// The members of "NAME" in member order; of two pairs for one language the later one's value.
void writeNames(TDocumentWriter &writer, TViraSymbol &symbol, bool fillEmptyNames = true)
{
    struct TNamed {
        quint32 Hash;
        QString Name;
        const QString *Value;
    };
    std::vector<TNamed> names;
    names.reserve(size_t(symbol.Names.size()));
    for (TStringPairs &pair : symbol.Names) {
        // The display program needs a name in every language: fill gaps in memory too.
        if (fillEmptyNames && pair.Value.isEmpty())
            pair.Value = symbol.Identifier;
        QString name = storedName(pair.Name);
        const quint32 hash = JsonMemberHash(name);
        names.push_back({hash, std::move(name), &pair.Value});
    }
    std::stable_sort(names.begin(), names.end(), [](const TNamed &a, const TNamed &b) {
        return MemberLess(a.Hash, a.Name, b.Hash, b.Name);
    });
    writer.BeginObject();
    for (size_t i = 0; i < names.size(); ++i) {
        if (i + 1 < names.size() && names[i + 1].Hash == names[i].Hash &&
            names[i + 1].Name == names[i].Name)
            continue;
        writer.Name(names[i].Name);
        writer.String(*names[i].Value);
    }
    writer.EndObject();
}

void writeStateImages(TDocumentWriter &writer, const TViraSymbol &symbol)
{
    static const bool imageFirst = memberLess(sImage, sValue);
    writer.BeginArray();
    for (const TStringPairs &pair : symbol.StateImages) {
        const auto writeImage = [&] {
            writer.Name(sImage);
            writer.String(pair.Value);
        };
        const auto writeValue = [&] {
            writer.Name(sValue);
            writer.String(pair.Name);
        };
        writer.BeginObject();
        if (imageFirst) {
            writeImage();
            writeValue();
        } else {
            writeValue();
            writeImage();
        }
        writer.EndObject();
    }
    writer.EndArray();
}

// The document is written as the library is walked, without a value tree in between: the text
// is the one the tree of these members would give.
void writeDocumentStart(TDocumentWriter &writer)
{
    writer.BeginObject();
    writer.Name(sGlyphbook);
    writer.BeginArray();
}

void writeDocumentEnd(TDocumentWriter &writer)
{
    writer.EndArray();
    writer.EndObject();
    writer.Finish();
}

void writeSymbol(TDocumentWriter &writer, TViraSymbol &symbol, bool fillEmptyNames = true)
{
    writer.BeginObject();
    for (const TSymbolMember member : symbolMembersInOrder()) {
        // A plain image has no text point, alignment or state images in the file.
        const bool symbolOnly = member == smTextAlign || member == smTextX || member == smTextY ||
                                member == smStateImages;
        if (symbolOnly && !symbol.Symbol)
            continue;
        writer.Name(symbolMemberName(member));
        switch (member) {
        case smIdentifier:
            writer.String(symbol.Identifier);
            break;
        case smImage:
            writer.String(symbol.Image);
            break;
        case smImageX:
            writer.Int(symbol.ImageX);
            break;
        case smImageY:
            writer.Int(symbol.ImageY);
            break;
        case smName:
            writeNames(writer, symbol, fillEmptyNames);
            break;
        case smSymbol:
            writer.String(symbol.Symbol ? sTrue : sFalse);
            break;
        case smTextAlign:
            writer.String(TextAlignToStr(symbol.TextAlign));
            break;
        case smTextX:
            writer.Int(symbol.TextX);
            break;
        case smTextY:
            writer.Int(symbol.TextY);
            break;
        case smStateImages:
            writeStateImages(writer, symbol);
            break;
        }
    }
    writer.EndObject();
}

void writeDocument(TDocumentWriter &writer, TViraGlyphbook &book, bool fillEmptyNames)
{
    writeDocumentStart(writer);
    for (const TViraSymbolPtr &symbol : book.Symbols)
        writeSymbol(writer, *symbol, fillEmptyNames);
    writeDocumentEnd(writer);
}

// A coordinate: an integer member is taken as it is when it fits; any other member goes through
// its text, which also words the error.
qint32 getInt(const TJsonValuePtr &item, const QString &name)
{
    if (item) {
        const TJsonValuePtr value = item->GetO(name);
        if (value && value->Kind() == stInt && value->AsInteger() >= INT32_MIN &&
            value->AsInteger() <= INT32_MAX)
            return qint32(value->AsInteger());
    }
    return StrToInt(getS(item, name));
}

void readSymbol(const TJsonValuePtr &item, TViraSymbol &symbol)
{
    // The order of reading decides which of two bad members is reported.
    symbol.Identifier = getS(item, sIdentifier);
    symbol.Image = getS(item, sImage);
    symbol.Symbol = getS(item, sSymbol) == sTrue;
    symbol.ImageX = getInt(item, sImageX);
    symbol.ImageY = getInt(item, sImageY);

    const TJsonValuePtr names = item ? item->GetO(sName) : TJsonValuePtr();
    if (names && names->IsObject()) {
        symbol.Names.reserve(names->MemberCount());
        TJsonValue::TMemberEnumerator it = names->GetMembers();
        while (it.MoveNext()) {
            const TJsonValuePtr value = it.Value();
            symbol.Names.append({it.Name(), value ? value->AsString() : QString()});
        }
    }
    if (!symbol.Symbol)
        return;

    symbol.TextX = getInt(item, sTextX);
    symbol.TextY = getInt(item, sTextY);
    symbol.TextAlign = StrToTextAlign(getS(item, sTextAlign));
    if (const TJsonValuePtr states = item->GetO(sStateImages)) {
        symbol.StateImages.reserve(states->IsArray() ? states->Length() : states->MemberCount());
        TJsonValue::TEnumerator it = states->GetEnumerator();
        while (it.MoveNext()) {
            const TJsonValuePtr state = it.Current();
            symbol.StateImages.append({getS(state, sValue), getS(state, sImage)});
        }
    }
}

// The text that the parse reads: the file's bytes without the mark, line breaks as LF.
QByteArray documentText(QByteArray bytes, const QString &sourceName)
{
    // Only one mark is skipped; a second one stays in the text.
    if (bytes.startsWith(Bom))
        bytes.remove(0, Bom.size());
    if (!QByteArrayView(bytes).isValidUtf8())
        throw EDocumentError(documentError(
            sourceName, QCoreApplication::translate("ViraSymbolDocument", "it is not UTF-8 text")));
    // The values of the parse point into the text, which the parse keeps: no copy is made.
    return NormaliseLineBreaks(std::move(bytes));
}

// FormatFile one symbol at a time: the text is read whole, but only one symbol is held as values
// and the new text goes to the file in pieces. False when the document takes the whole load:
// a target written in place (which must see nothing of a document that fails), a document of
// another shape, or any failure, which the whole load then reports as it always does.
bool formatSymbolBySymbol(const QString &fileName, const QString &target,
                          const std::function<void(const TViraSymbol &)> &inspect)
{
    constexpr qsizetype PieceBytes = qsizetype(1) << 20;
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isFile() && !targetInfo.isDir())
        return false;
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    file.close();
    text = documentText(std::move(text), fileName);

    TFileReplacement out(target, target, true);
    QByteArray piece = Bom;
    TDocumentWriter writer(piece, true, false, true);
    const auto writePiece = [&] {
        writer.Finish();
        if (out.Device().write(piece) != piece.size())
            throw EFileError::CannotWrite(target, ShortWriteReason(out.Device()));
        piece.resize(0);
    };
    writeDocumentStart(writer);
    TViraSymbol symbol;
    const TJsonElementsResult result =
        ParseUtf8Elements(text, sGlyphbook, [&](const TJsonValuePtr &item) {
            symbol = TViraSymbol();
            readSymbol(item, symbol);
            if (inspect)
                inspect(symbol);
            writeSymbol(writer, symbol);
            if (writer.Size() >= PieceBytes)
                writePiece();
        });
    if (result != TJsonElementsResult::Handed)
        return false;
    writeDocumentEnd(writer);
    piece.append("\r\n", 2);
    writePiece();
    out.Commit();
    return true;
}

} // namespace

void TViraGlyphbook::FormatFile(const QString &FileName, const QString &Target,
                                const std::function<void(const TViraSymbol &)> &Inspect)
{
    try {
        if (formatSymbolBySymbol(FileName, Target, Inspect))
            return;
    } catch (const std::exception &) {
        // Reported below by the whole load or save, with the message it always gives.
    }
    TViraGlyphbook book;
    book.LoadFromFile(FileName);
    if (Inspect)
        for (const TViraSymbolPtr &symbol : std::as_const(book.Symbols))
            Inspect(*symbol);
    book.SaveToFile(Target);
}

QByteArray TViraGlyphbook::SaveToBytes(bool FillEmptyNames)
{
    // The writer puts UTF-8 straight after the mark, with every line break as CR LF; the text
    // ends with the closing brace, after which the last line break follows.
    QByteArray bytes = Bom;
    TDocumentWriter writer(bytes, true, false, true);
    writeDocument(writer, *this, FillEmptyNames);
    bytes.append("\r\n", 2);
    return bytes;
}

bool TViraGlyphbook::SaveToFile(const QString &FileName)
{
    // The whole text is built before the file is touched.
    SaveFileBytes(FileName, SaveToBytes());
    return true;
}

void TViraGlyphbook::LoadFromBytes(QByteArray Bytes, const QString &SourceName)
{
    Symbols.clear();
    Bytes = documentText(std::move(Bytes), SourceName);

    TJsonParseError error;
    const TJsonValuePtr document = ParseUtf8(Bytes, &error);
    if (!document)
        throw EDocumentError(documentError(
            SourceName,
            QCoreApplication::translate("ViraSymbolDocument", "%1 at line %2, column %3")
                .arg(error.Message, QString::number(error.Line), QString::number(error.Column))));
    const TJsonValuePtr list = document->GetO(sGlyphbook);
    if (!list)
        throw EDocumentError(documentError(
            SourceName,
            QCoreApplication::translate("ViraSymbolDocument", "it has no \"GLYPHBOOK\" member")));

    Symbols.reserve(list->Length());
    TJsonValue::TEnumerator it = list->GetEnumerator();
    while (it.MoveNext()) {
        // The symbol joins the library before its fields are read, so a failing member leaves
        // it there with the fields read so far.
        const TViraSymbolPtr symbol = std::make_shared<TViraSymbol>();
        Symbols.append(symbol);
        readSymbol(it.Current(), *symbol);
    }
}

bool TViraGlyphbook::LoadFromFile(const QString &FileName)
{
    const QFileInfo info(FileName);
    if (!info.exists() || info.isDir())
        return false;
    Symbols.clear();
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError::CannotOpen(FileName, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFileError::CannotOpen(FileName, file.errorString());
    file.close();
    LoadFromBytes(std::move(bytes), FileName);
    return true;
}
