#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class TViraGlyphbook;
class TViraSymbol;

/// The languages of a library's names, in the order they are first met (symbol by symbol).
QStringList LibraryLanguages(const TViraGlyphbook &Glyphbook);

/// The names of a library as a table for translators (CSV, see WriteCsv): a header row
/// "Identifier" and one column per language, then one row per symbol in library order. A cell
/// that a spreadsheet would run as a formula (it begins with =, +, -, @, a tab or a carriage
/// return), or that begins with an apostrophe, is written with an apostrophe before it.
QByteArray ExportNames(const TViraGlyphbook &Glyphbook);

/// One name that an import sets.
struct TNameChange {
    int Symbol = -1; ///< index in the library
    QString Identifier;
    QString Language;
    QString Before; ///< empty when the symbol had no name in the language
    QString After;
};

/// What importing a table of names into a library does.
struct TNamesImport {
    QList<TNameChange> Changes;
    /// Identifiers of rows that match no symbol, with the number of each row (the header is 1).
    QList<QPair<QString, int>> Unknown;
    /// Languages of the table that no symbol had a name in before.
    QStringList NewLanguages;
};

/// Reads a table of names (as ExportNames writes it) and works out what it changes in the
/// library: rows match symbols by identifier, an empty cell leaves the name as it is, a column
/// of a language the library lacks adds that language; the apostrophe ExportNames puts before a
/// cell is taken off again. Raises EDocumentError when the table is
/// no such table, or names an identifier that two symbols have or that two rows have.
TNamesImport PlanNamesImport(const TViraGlyphbook &Glyphbook, const QByteArray &Csv,
                             const QString &SourceName);

/// Gives Symbol the name of Change: its first name in the language is replaced, or a name
/// appended.
void ApplyNameChange(TViraSymbol &Symbol, const TNameChange &Change);
/// Sets the names of Import: the first name in the language is replaced, or a name appended.
void ApplyNamesImport(TViraGlyphbook &Glyphbook, const TNamesImport &Import);
