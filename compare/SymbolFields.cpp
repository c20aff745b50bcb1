#include "compare/SymbolFields.h"

#include <QHash>
#include <QMap>

#include <algorithm>

namespace
{

QString pointText(qint32 x, qint32 y)
{
    return QString::number(x) + u',' + QString::number(y);
}

/// Reads "x,y" back; a text that is no point gives 0,0, as a missing member loads.
void readPoint(const QString &text, qint32 &x, qint32 &y)
{
    const qsizetype comma = text.indexOf(u',');
    bool okX = false;
    bool okY = false;
    x = text.left(comma).toInt(&okX);
    y = text.mid(comma + 1).toInt(&okY);
    if (comma < 0 || !okX || !okY)
        x = y = 0;
}

bool isPlainWordCharacter(char32_t c)
{
    static const QString reserved = QStringLiteral("\"\\'=[]()#<>");
    return QChar::isPrint(c) && !QChar::isSpace(c) && !(c < 0x80 && reserved.contains(QChar(c)));
}

} // namespace

QString TSymbolKey::Label() const
{
    QString label = ShownText(Identifier);
    if (Occurrence > 1)
        label += QStringLiteral(" #") + QString::number(Occurrence);
    return label;
}

QList<TSymbolKey> SymbolKeys(const TViraGlyphbook &Book)
{
    QList<TSymbolKey> keys;
    keys.reserve(Book.Symbols.size());
    QHash<QString, int> seen;
    for (const TViraSymbolPtr &symbol : Book.Symbols)
        keys.append({symbol->Identifier, ++seen[symbol->Identifier]});
    return keys;
}

QString TSymbolField::Name() const
{
    switch (Kind) {
    case TFieldKind::Symbol:
        return QStringLiteral("symbol");
    case TFieldKind::Picture:
        return QStringLiteral("picture");
    case TFieldKind::Anchor:
        return QStringLiteral("anchor");
    case TFieldKind::TextPoint:
        return QStringLiteral("text-point");
    case TFieldKind::Alignment:
        return QStringLiteral("alignment");
    case TFieldKind::Name:
        return QStringLiteral("name[%1]").arg(ShownText(Key));
    case TFieldKind::State:
        return QStringLiteral("state[%1]").arg(ShownText(Key));
    }
    return QString();
}

QString TSymbolField::Label() const
{
    return Occurrence > 1 ? Name() + QStringLiteral(" #") + QString::number(Occurrence) : Name();
}

bool IsSymbolOnly(TFieldKind Kind)
{
    return Kind == TFieldKind::TextPoint || Kind == TFieldKind::Alignment ||
           Kind == TFieldKind::State;
}

QList<TSymbolField> SymbolFields(const TViraSymbol &Symbol)
{
    QList<TSymbolField> fields{
        {TFieldKind::Symbol,
         {},
         1,
         Symbol.Symbol ? QStringLiteral("true") : QStringLiteral("false")},
        {TFieldKind::Picture, {}, 1, Symbol.Image},
        {TFieldKind::Anchor, {}, 1, pointText(Symbol.ImageX, Symbol.ImageY)}};
    if (Symbol.Symbol) {
        fields.append({TFieldKind::TextPoint, {}, 1, pointText(Symbol.TextX, Symbol.TextY)});
        fields.append({TFieldKind::Alignment, {}, 1, TextAlignToStr(Symbol.TextAlign)});
    }
    QMap<QString, QString> names; // by language code, the later pair winning
    for (const TStringPairs &pair : Symbol.Names)
        names.insert(pair.Name, pair.Value);
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        fields.append({TFieldKind::Name, it.key(), 1, it.value()});
    if (Symbol.Symbol) {
        QHash<QString, int> seen;
        for (const TStringPairs &state : Symbol.StateImages)
            fields.append({TFieldKind::State, state.Name, ++seen[state.Name], state.Value});
    }
    return fields;
}

void ApplyFields(TViraSymbol &Symbol, const QList<TSymbolField> &Fields)
{
    const QString identifier = Symbol.Identifier;
    Symbol = TViraSymbol();
    Symbol.Identifier = identifier;
    for (const TSymbolField &field : Fields) {
        switch (field.Kind) {
        case TFieldKind::Symbol:
            Symbol.Symbol = field.Value == u"true";
            break;
        case TFieldKind::Picture:
            Symbol.Image = field.Value;
            break;
        case TFieldKind::Anchor:
            readPoint(field.Value, Symbol.ImageX, Symbol.ImageY);
            break;
        case TFieldKind::TextPoint:
            readPoint(field.Value, Symbol.TextX, Symbol.TextY);
            break;
        case TFieldKind::Alignment:
            Symbol.TextAlign = StrToTextAlign(field.Value);
            break;
        case TFieldKind::Name:
            Symbol.Names.append({field.Key, field.Value});
            break;
        case TFieldKind::State:
            Symbol.StateImages.append({field.Key, field.Value});
            break;
        }
    }
}

QString ShownText(const QString &Text)
{
    const QList<uint> characters = Text.toUcs4();
    if (!Text.isEmpty() &&
        std::all_of(characters.cbegin(), characters.cend(), isPlainWordCharacter))
        return Text;
    QString shown = QStringLiteral("\"");
    for (const uint code : characters) {
        const char32_t c = code;
        switch (c) {
        case '"':
            shown += QStringLiteral("\\\"");
            break;
        case '\\':
            shown += QStringLiteral("\\\\");
            break;
        case '\n':
            shown += QStringLiteral("\\n");
            break;
        case '\r':
            shown += QStringLiteral("\\r");
            break;
        case '\t':
            shown += QStringLiteral("\\t");
            break;
        default:
            if (c < 0x80 && !QChar::isPrint(c))
                shown += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
            else if (!QChar::isPrint(c) && c != u' ')
                shown += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
            else
                shown += QString::fromUcs4(&c, 1);
        }
    }
    return shown + u'"';
}

QString ShownText(const std::optional<QString> &Text)
{
    return Text ? ShownText(*Text) : QStringLiteral("(none)");
}

QString SymbolLine(const TViraSymbol &Symbol)
{
    QString line = ShownText(Symbol.Identifier);
    for (const TSymbolField &field : SymbolFields(Symbol)) {
        line += u' ' + field.Name() + u'=';
        line += field.Kind == TFieldKind::Name || field.IsPicture() ? ShownText(field.Value)
                                                                    : field.Value;
    }
    return line;
}
