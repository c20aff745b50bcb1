// The project commands of the File menu, Help and the example project.
#include "ui/MainGlyphbook.h"

#include "ui/FileNames.h"
#include "ui/SymbolListItem.h"

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
    }
    CollectLanguages();
    RebuildLanguageColumns();
}

void TMainForm::miSaveProjectClick()
{
    if (!FDialogs.Execute(sSaveDialog1))
        return;
    const QString fileName = sSaveDialog1.FileName;
    Glyphbook.SaveToFile(fileName);
    sSaveDialog2.FileName = ChangeFileExt(fileName, QStringLiteral(".tar.gz"));
    setWindowTitle(projectCaption(fileName));
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
