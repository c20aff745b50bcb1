#include "model/NamesTable.h"

#include "model/Csv.h"
#include "model/GlyphbookError.h"
#include "model/ViraSymbol.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

namespace
{

const QString IdentifierHeader = QStringLiteral("Identifier");

// A spreadsheet runs a cell that begins with =, +, -, @, a tab or a carriage return as a
// formula; with an apostrophe before it, it shows the cell as text. A cell that begins with an
// apostrophe gets one too, so that the import, which takes off exactly one, gives it back whole.
bool needsApostrophe(const QString &cell)
{
    return !cell.isEmpty() && QStringView(u"=+-@\t\r'").contains(cell.front());
}

QString asText(const QString &cell)
{
    return needsApostrophe(cell) ? u'\'' + cell : cell;
}

QString fromText(const QString &cell)
{
    return cell.startsWith(u'\'') && needsApostrophe(cell.mid(1)) ? cell.mid(1) : cell;
}

} // namespace

QStringList LibraryLanguages(const TViraGlyphbook &Glyphbook)
{
    QStringList languages;
    QSet<QString> seen;
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols)
        for (const TStringPairs &name : std::as_const(symbol->Names))
            if (!seen.contains(name.Name)) {
                seen.insert(name.Name);
                languages << name.Name;
            }
    return languages;
}

QByteArray ExportNames(const TViraGlyphbook &Glyphbook)
{
    const QStringList languages = LibraryLanguages(Glyphbook);
    QStringList header{IdentifierHeader};
    for (const QString &language : languages)
        header << asText(language);
    QList<QStringList> rows{header};
    for (const TViraSymbolPtr &symbol : Glyphbook.Symbols) {
        QStringList row{asText(symbol->Identifier)};
        for (const QString &language : languages)
            row << asText(symbol->FindName(language));
        rows << row;
    }
    return WriteCsv(rows);
}

TNamesImport PlanNamesImport(const TViraGlyphbook &Glyphbook, const QByteArray &Csv,
                             const QString &SourceName)
{
    QList<QStringList> rows = ReadCsv(Csv, SourceName);
    for (QStringList &row : rows)
        for (QString &cell : row)
            cell = fromText(cell);
    const auto fail = [&](const QString &reason) {
        throw EDocumentError(
            QCoreApplication::translate("NamesTable", "The file \"%1\" is not a table of names: %2")
                .arg(SourceName, reason));
    };
    if (rows.isEmpty() || rows[0].value(0) != IdentifierHeader)
        fail(QCoreApplication::translate(
            "NamesTable", "its first row must begin with the column \"Identifier\"."));
    const QStringList languages = rows[0].mid(1);
    QSet<QString> columns;
    for (const QString &language : languages) {
        if (language.isEmpty())
            fail(QCoreApplication::translate("NamesTable",
                                             "a column of its first row has no language code."));
        if (columns.contains(language))
            fail(QCoreApplication::translate("NamesTable", "the language \"%1\" has two columns.")
                     .arg(language));
        columns.insert(language);
    }

    QHash<QString, QList<int>> symbolsById;
    for (int i = 0; i < Glyphbook.Symbols.size(); ++i)
        symbolsById[Glyphbook.Symbols[i]->Identifier].append(i);
    const QStringList known = LibraryLanguages(Glyphbook);

    TNamesImport import;
    QHash<QString, int> rowById;
    QSet<QString> added;
    for (int r = 1; r < rows.size(); ++r) {
        const QStringList &row = rows[r];
        const int number = r + 1; // the header is row 1
        if (row.size() == 1 && row[0].isEmpty())
            continue; // a blank line
        if (row.size() > languages.size() + 1)
            fail(QCoreApplication::translate(
                     "NamesTable", "row %1 has more cells than the first row has columns.")
                     .arg(number));
        const QString &identifier = row[0];
        if (const auto earlier = rowById.constFind(identifier); earlier != rowById.cend())
            fail(QCoreApplication::translate("NamesTable",
                                             "the identifier \"%1\" has two rows (%2 and %3).")
                     .arg(identifier, QString::number(*earlier), QString::number(number)));
        rowById.insert(identifier, number);
        const QList<int> matches = symbolsById.value(identifier);
        if (matches.isEmpty()) {
            import.Unknown.append({identifier, number});
            continue;
        }
        if (matches.size() > 1)
            fail(QCoreApplication::translate("NamesTable",
                                             "the identifier \"%1\" belongs to %2 symbols of the "
                                             "library, so its names cannot be told apart.")
                     .arg(identifier, QString::number(matches.size())));
        const TViraSymbol &symbol = *Glyphbook.Symbols[matches[0]];
        for (int c = 1; c < row.size(); ++c) {
            const QString &language = languages[c - 1];
            const QString before = symbol.FindName(language);
            if (row[c].isEmpty() || row[c] == before)
                continue;
            import.Changes.append({matches[0], identifier, language, before, row[c]});
            if (!known.contains(language) && !added.contains(language)) {
                added.insert(language);
                import.NewLanguages << language;
            }
        }
    }
    return import;
}

void ApplyNameChange(TViraSymbol &Symbol, const TNameChange &Change)
{
    const auto pair =
        std::find_if(Symbol.Names.begin(), Symbol.Names.end(),
                     [&](const TStringPairs &name) { return name.Name == Change.Language; });
    if (pair != Symbol.Names.end())
        pair->Value = Change.After;
    else
        Symbol.Names.append({Change.Language, Change.After});
}

void ApplyNamesImport(TViraGlyphbook &Glyphbook, const TNamesImport &Import)
{
    for (const TNameChange &change : Import.Changes)
        ApplyNameChange(*Glyphbook.Symbols[change.Symbol], change);
}
