// The project commands of the File menu, Help and the example project.
#include "ui/MainGlyphbook.h"

#include "ui/FileNames.h"

#include <QFileInfo>

void TMainForm::SetCaptionFile(const QString &FileName)
{
    setWindowTitle(BaseCaption() + QStringLiteral("   ") + FileName);
    FCaptionFile = FileName;
}

void TMainForm::miNewProjectClick()
{
    FDocument.ResetLibrary({});
}

void TMainForm::miOpenProjectClick()
{
    if (FDialogs.Execute(sOpenDialog1)) {
        const QString fileName = sOpenDialog1.FileName;
        FDocument.SetProjectFile(fileName);
        miNewProjectClick();
        sSaveDialog1.FileName = fileName;
        sSaveDialog2.FileName = ChangeFileExt(fileName, QStringLiteral(".tar.gz"));
        TViraGlyphbook loaded;
        loaded.LoadFromFile(fileName);
        FDocument.ResetLibrary(std::move(loaded.Symbols));
        SetCaptionFile(fileName);
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
    FDocument.SaveToFile(fileName);
    sSaveDialog2.FileName = ChangeFileExt(fileName, QStringLiteral(".tar.gz"));
    SetCaptionFile(fileName);
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
