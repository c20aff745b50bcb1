// Export Names and Import Names: the display names to and from a table for translators.
#include "ui/MainGlyphbook.h"

#include "model/FileSave.h"
#include "model/GlyphbookError.h"
#include "model/NamesTable.h"
#include "model/ProjectFiles.h"
#include "ui/FileNames.h"

#include <QDir>
#include <QFile>
#include <QMap>

void TMainForm::miExportNamesClick()
{
    if (sNamesSaveDialog.FileName.isEmpty() && !FDocument.ProjectFile().isEmpty())
        sNamesSaveDialog.FileName = ChangeFileExt(FDocument.ProjectFile(), QStringLiteral(".csv"));
    if (!FDialogs.Execute(sNamesSaveDialog))
        return;
    sNamesSaveDialog.FileName =
        WithDefaultSuffix(sNamesSaveDialog.FileName, QStringLiteral(".csv"));
    RefuseProjectFileAsOutput(FDocument.Library(), FDocument.ProjectFile(),
                              sNamesSaveDialog.FileName);
    SaveFileBytes(sNamesSaveDialog.FileName, ExportNames(FDocument.Library()));
    sNamesOpenDialog.FileName = sNamesSaveDialog.FileName;
}

void TMainForm::miImportNamesClick()
{
    if (sNamesOpenDialog.FileName.isEmpty())
        sNamesOpenDialog.FileName = sNamesSaveDialog.FileName;
    if (!FDialogs.Execute(sNamesOpenDialog))
        return;
    const QString fileName = sNamesOpenDialog.FileName;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError::CannotOpen(QDir::toNativeSeparators(fileName), file.errorString());
    // Nothing changes unless the whole table can be used.
    const TNamesImport import =
        PlanNamesImport(FDocument.Library(), file.readAll(), QDir::toNativeSeparators(fileName));

    // One undo step for the whole table, made of one edit per symbol it changes.
    QMap<int, QList<TNameChange>> bySymbol;
    for (const TNameChange &change : import.Changes)
        bySymbol[change.Symbol].append(change);
    if (!bySymbol.isEmpty()) {
        FDocument.BeginMacro(tr("Import Names"));
        for (auto symbol = bySymbol.cbegin(); symbol != bySymbol.cend(); ++symbol) {
            const TViraSymbolPtr &changed = FDocument.Symbols().at(symbol.key());
            TViraSymbol after = *changed;
            for (const TNameChange &change : *symbol)
                ApplyNameChange(after, change);
            FDocument.ChangeSymbol(changed, after, {tr("Import Names")});
        }
        FDocument.EndMacro();
    }
    for (const QString &language : import.NewLanguages)
        AddLanguage(language, true);
    RebuildLanguageColumns();

    QString report = tr("Names changed: %1.").arg(import.Changes.size());
    if (!import.NewLanguages.isEmpty())
        report += tr("\nLanguages added: %1.").arg(import.NewLanguages.join(QStringLiteral(", ")));
    if (!import.Unknown.isEmpty()) {
        QStringList skipped;
        for (const auto &[identifier, row] : import.Unknown)
            skipped << tr("\"%1\" (row %2)").arg(identifier).arg(row);
        report += tr("\nRows skipped, no symbol has their identifier: %1.")
                      .arg(skipped.join(QStringLiteral(", ")));
    }
    FDialogs.ShowInformation(report);
}
