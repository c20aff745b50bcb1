#pragma once

#include "compare/SymbolFields.h"

#include <QString>
#include <QStringList>
#include <QTest>

/// A library written compactly for tests: symbols separated by ";", each an identifier and
/// fields as show writes them with plain-word values ("pump symbol=true anchor=1,2
/// name[en]=Pump state[1]=run.png"). A field not given takes its default.
inline TViraGlyphbook compactLibrary(const QString &text)
{
    TViraGlyphbook book;
    for (const QString &item : text.split(u';', Qt::SkipEmptyParts)) {
        QStringList words = item.split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = words.takeFirst();
        QList<TSymbolField> fields;
        for (const QString &word : std::as_const(words)) {
            const qsizetype equals = word.indexOf(u'=');
            const QString name = word.left(equals);
            const QString value = word.mid(equals + 1);
            const qsizetype bracket = name.indexOf(u'[');
            const QString kind = name.left(bracket);
            const QString key = bracket < 0 ? QString() : name.mid(bracket + 1).chopped(1);
            static const QList<QPair<QString, TFieldKind>> kinds{
                {QStringLiteral("symbol"), TFieldKind::Symbol},
                {QStringLiteral("picture"), TFieldKind::Picture},
                {QStringLiteral("anchor"), TFieldKind::Anchor},
                {QStringLiteral("text-point"), TFieldKind::TextPoint},
                {QStringLiteral("alignment"), TFieldKind::Alignment},
                {QStringLiteral("name"), TFieldKind::Name},
                {QStringLiteral("state"), TFieldKind::State}};
            const auto found = std::find_if(kinds.cbegin(), kinds.cend(),
                                            [&](const auto &k) { return k.first == kind; });
            if (found == kinds.cend())
                qFatal("unknown field in a test library: %s", qPrintable(word));
            fields.append({found->second, key, 1, value});
        }
        ApplyFields(*symbol, fields);
        book.Symbols.append(symbol);
    }
    return book;
}

/// The library as show prints it, one line per symbol.
inline QStringList shownLines(const TViraGlyphbook &book)
{
    QStringList lines;
    for (const TViraSymbolPtr &symbol : book.Symbols)
        lines << SymbolLine(*symbol);
    return lines;
}
