// The library document: TViraGlyphbook to and from its JSON file.

#include "model/GlyphbookError.h"
#include "model/IntegerText.h"
#include "model/JsonValue.h"
#include "model/LineBreaks.h"
#include "model/ShortWrite.h"
#include "model/ViraSymbol.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

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
    return QStringLiteral("The file \"%1\" is not a library document: %2.").arg(fileName, reason);
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

TJsonValuePtr buildDocument(TViraGlyphbook &book)
{
    const TJsonValuePtr document = TJsonValue::NewObject();
    const TJsonValuePtr list = TJsonValue::NewArray();
    document->PutO(sGlyphbook, list);
    qsizetype i = 0;
    for (const TViraSymbolPtr &symbol : book.Symbols) {
        const TJsonValuePtr item = TJsonValue::NewObject(symbol->Symbol ? 10 : 6);
        list->PutO(i++, item);
        item->PutS(sIdentifier, symbol->Identifier);
        item->PutS(sImage, symbol->Image);
        item->PutI(sImageX, symbol->ImageX);
        item->PutI(sImageY, symbol->ImageY);

        const TJsonValuePtr names = TJsonValue::NewObject(symbol->Names.size());
        item->PutO(sName, names);
        for (TStringPairs &pair : symbol->Names) {
            // The display program needs a name in every language: fill gaps in memory too.
            if (pair.Value.isEmpty())
                pair.Value = symbol->Identifier;
            names->PutS(storedName(pair.Name), pair.Value);
        }

        if (!symbol->Symbol) {
            item->PutS(sSymbol, sFalse);
            continue;
        }
        item->PutS(sSymbol, sTrue);
        item->PutS(sTextAlign, TextAlignToStr(symbol->TextAlign));
        item->PutI(sTextX, symbol->TextX);
        item->PutI(sTextY, symbol->TextY);
        const TJsonValuePtr states = TJsonValue::NewArray();
        item->PutO(sStateImages, states);
        qsizetype j = 0;
        for (const TStringPairs &pair : symbol->StateImages) {
            const TJsonValuePtr state = TJsonValue::NewObject(2);
            states->PutO(j++, state);
            state->PutS(sValue, pair.Name);
            state->PutS(sImage, pair.Value);
        }
    }
    return document;
}

void readSymbol(const TJsonValuePtr &item, TViraSymbol &symbol)
{
    // The order of reading decides which of two bad members is reported.
    symbol.Identifier = getS(item, sIdentifier);
    symbol.Image = getS(item, sImage);
    symbol.Symbol = getS(item, sSymbol) == sTrue;
    symbol.ImageX = StrToInt(getS(item, sImageX));
    symbol.ImageY = StrToInt(getS(item, sImageY));

    const TJsonValuePtr names = item ? item->GetN(sName) : TJsonValuePtr();
    if (names && names->IsObject()) {
        symbol.Names.reserve(qsizetype(names->Members().size()));
        for (const TJsonMember &member : names->Members())
            symbol.Names.append({member.Name, member.Value ? member.Value->AsString() : QString()});
    }
    if (!symbol.Symbol)
        return;

    symbol.TextX = StrToInt(getS(item, sTextX));
    symbol.TextY = StrToInt(getS(item, sTextY));
    symbol.TextAlign = StrToTextAlign(getS(item, sTextAlign));
    if (const TJsonValuePtr states = item->GetO(sStateImages)) {
        TJsonValue::TEnumerator it = states->GetEnumerator();
        while (it.MoveNext())
            symbol.StateImages.append({getS(it.Current(), sValue), getS(it.Current(), sImage)});
    }
}

} // namespace

QByteArray TViraGlyphbook::SaveToBytes()
{
    QString text = NormaliseLineBreaks(buildDocument(*this)->AsJSon(true, false));
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray bytes;
    bytes.resize(Bom.size() + encoder.requiredSpace(text.size()));
    std::memcpy(bytes.data(), Bom.constData(), size_t(Bom.size()));
    char *end = encoder.appendToBuffer(bytes.data() + Bom.size(), text);
    bytes.truncate(end - bytes.constData());
    return bytes;
}

bool TViraGlyphbook::SaveToFile(const QString &FileName)
{
    // The whole text is built before the file is touched.
    const QByteArray bytes = SaveToBytes();
    // A pipe or a device is written in place: a new file moved over it would replace the node.
    const QFileInfo info(FileName);
    const bool inPlace = info.exists() && !info.isFile() && !info.isDir();
    std::unique_ptr<QFileDevice> target;
    if (inPlace) {
        target = std::make_unique<QFile>(FileName);
    } else {
        auto saveFile = std::make_unique<QSaveFile>(FileName);
        // In a folder where no temporary file can be made, a writable document is written in
        // place, as any editor does.
        saveFile->setDirectWriteFallback(true);
        target = std::move(saveFile);
    }
    QFileDevice &file = *target;
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError::CannotCreate(FileName, file.errorString());
    // Flush before committing: a write that fails in the buffer must not replace the file.
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw EFileError::CannotWrite(FileName, ShortWriteReason(file));
    if (!inPlace && !static_cast<QSaveFile &>(file).commit())
        throw EFileError::CannotWrite(FileName, ShortWriteReason(file));
    return true;
}

void TViraGlyphbook::LoadFromBytes(QByteArray Bytes, const QString &SourceName)
{
    Symbols.clear();

    QString text;
    {
        QByteArrayView content(Bytes);
        if (content.startsWith(Bom))
            content = content.sliced(Bom.size());
        // Only one mark is skipped; a second one stays in the text.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                         QStringDecoder::Flag::ConvertInitialBom);
        text = decoder.decode(content);
        if (decoder.hasError())
            throw EDocumentError(documentError(SourceName, QStringLiteral("it is not UTF-8 text")));
        Bytes = QByteArray(); // the bytes are no longer needed; keep the peak low
    }
    text = NormaliseLineBreaks(std::move(text));

    TJsonParseError error;
    const TJsonValuePtr document = ParseString(text, &error);
    if (!document)
        throw EDocumentError(
            documentError(SourceName, QStringLiteral("%1 at line %2, column %3")
                                          .arg(error.Message, QString::number(error.Line),
                                               QString::number(error.Column))));
    text = QString();
    const TJsonValuePtr list = document->GetO(sGlyphbook);
    if (!list)
        throw EDocumentError(
            documentError(SourceName, QStringLiteral("it has no \"GLYPHBOOK\" member")));

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
