// Export Names and Import Names: the display names to and from a table for translators.
#include "ui/MainGlyphbook.h"

#include "model/FileSave.h"
#include "model/GlyphbookError.h"
#include "model/NamesTable.h"
#include "ui/FileNames.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMenu>
#include <QUndoStack>

namespace
{
const QString TableFilter = QStringLiteral("Table of names (CSV)|*.csv");
} // namespace

void TMainForm::CreateNamesCommands()
{
    // Before Exit, which stays last.
    mmFileMenu->insertSeparator(E1);
    miExportNames = new QAction(QStringLiteral("Export Names..."), mmFileMenu);
    miExportNames->setObjectName(QStringLiteral("miExportNames"));
    miImportNames = new QAction(QStringLiteral("Import Names..."), mmFileMenu);
    miImportNames->setObjectName(QStringLiteral("miImportNames"));
    mmFileMenu->insertActions(E1, {miExportNames, miImportNames});
    mmFileMenu->insertSeparator(E1);
    OnEvent(miExportNames, &QAction::triggered, &TMainForm::miExportNamesClick);
    OnEvent(miImportNames, &QAction::triggered, &TMainForm::miImportNamesClick);
    sNamesSaveDialog = {QStringLiteral("sNamesSaveDialog"), TFileDialog::fdSave, TableFilter, {}};
    sNamesOpenDialog = {QStringLiteral("sNamesOpenDialog"), TFileDialog::fdOpen, TableFilter, {}};
}

void TMainForm::miExportNamesClick()
{
    if (sNamesSaveDialog.FileName.isEmpty() && !ProjectFile().isEmpty())
        sNamesSaveDialog.FileName = ChangeFileExt(ProjectFile(), QStringLiteral(".csv"));
    if (!FDialogs.Execute(sNamesSaveDialog))
        return;
    SaveFileBytes(sNamesSaveDialog.FileName, ExportNames(Glyphbook));
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
        PlanNamesImport(Glyphbook, file.readAll(), QDir::toNativeSeparators(fileName));

    // One undo step for the whole table, made of one edit per symbol it changes.
    QMap<int, TNamesImport> bySymbol;
    for (const TNameChange &change : import.Changes)
        bySymbol[change.Symbol].Changes.append(change);
    if (!bySymbol.isEmpty()) {
        UndoStack->beginMacro(QStringLiteral("Import Names"));
        for (auto symbol = bySymbol.cbegin(); symbol != bySymbol.cend(); ++symbol) {
            const TStepScope step(*this, QStringLiteral("Import Names"), QString(),
                                  Glyphbook.Symbols.at(symbol.key()));
            ApplyNamesImport(Glyphbook, *symbol);
        }
        UndoStack->endMacro();
    }
    for (const QString &language : import.NewLanguages)
        AddLanguage(language, true);
    RebuildLanguageColumns();

    QString report = QStringLiteral("Names changed: %1.").arg(import.Changes.size());
    if (!import.NewLanguages.isEmpty())
        report += QStringLiteral("\nLanguages added: %1.")
                      .arg(import.NewLanguages.join(QStringLiteral(", ")));
    if (!import.Unknown.isEmpty()) {
        QStringList skipped;
        for (const auto &[identifier, row] : import.Unknown)
            skipped << QStringLiteral("\"%1\" (row %2)").arg(identifier).arg(row);
        report += QStringLiteral("\nRows skipped, no symbol has their identifier: %1.")
                      .arg(skipped.join(QStringLiteral(", ")));
    }
    FDialogs.ShowInformation(report);
}
