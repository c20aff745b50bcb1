// The project commands of the File menu, Help and the example project.
#include "ui/MainGlyphbook.h"

#include "ui/FileNames.h"
#include "ui/SymbolListItem.h"

#include <QFileInfo>
#include <QScrollArea>
#include <QTreeWidget>

namespace
{
QString projectCaption(const QString &FileName)
{
    return TMainForm::BaseCaption() + QStringLiteral("   ") + FileName;
}
} // namespace

void TMainForm::miNewProjectClick()
{
    SetSelectedSymbol(nullptr);
    RemoveAllRows();
    StartFreshHistory();
    Glyphbook.Symbols.clear();
    RemoveAllTiles();
}

void TMainForm::miOpenProjectClick()
{
    if (FDialogs.Execute(sOpenDialog1)) {
        const QString fileName = sOpenDialog1.FileName;
        miNewProjectClick();
        sSaveDialog1.FileName = fileName;
        sSaveDialog2.FileName = ChangeFileExt(fileName, QStringLiteral(".tar.gz"));
        Glyphbook.LoadFromFile(fileName);
        AddRowsForLibrary();
        setWindowTitle(projectCaption(fileName));
        FCaptionFile = fileName;
    }
    CollectLanguages();
    RebuildLanguageColumns();
}

void TMainForm::miSaveProjectClick()
{
    if (!FDialogs.Execute(sSaveDialog1))
        return;
    const QString fileName = sSaveDialog1.FileName;
    // Saving again to the project's own file replaces no other file: Ctrl+S, Enter saves.
    const bool ownFile = !FCaptionFile.isEmpty() && QFileInfo(fileName) == QFileInfo(FCaptionFile);
    if (!ownFile && QFileInfo::exists(fileName) &&
        !FDialogs.Confirm(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                              .arg(QFileInfo(fileName).fileName())))
        return;
    Glyphbook.SaveToFile(fileName);
    sSaveDialog2.FileName = ChangeFileExt(fileName, QStringLiteral(".tar.gz"));
    setWindowTitle(projectCaption(fileName));
    FCaptionFile = fileName;
}

void TMainForm::E1Click()
{
    close();
}

void TMainForm::H1Click()
{
    FDialogs.OpenDocument(ProgramFile(QStringLiteral("help.html")));
}

void TMainForm::SmallExamplejs1Click()
{
    sOpenDialog1.FileName = ProgramFile(QStringLiteral("Examples/SmallExampleLib.js"));
    miOpenProjectClick();
}
