// The project commands of the File menu, Help and the example project.
#include "ui/MainGlyphbook.h"

#include "ui/FileNames.h"
#include "ui/RecentProjects.h"
#include "ui/RecoveryCopy.h"

#include <QFileInfo>

void TMainForm::SetCaptionFile(const QString &FileName)
{
    FCaptionFile = FileName;
    ShowCaption();
}

void TMainForm::ShowCaption()
{
    const bool modified = !FDocument.IsSaved();
    QString caption = BaseCaption();
    if (!FCaptionFile.isEmpty())
        caption += QStringLiteral("   ") + FCaptionFile;
    // The mark's placeholder only while it shows: the saved caption is the plain one.
    if (modified)
        caption += QStringLiteral("[*]");
    setWindowTitle(caption);
    setWindowModified(modified);
}

void TMainForm::SetLibraryFile(const QString &FileName)
{
    FLibraryFile = FileName;
    FRecovery->SetLibraryFile(FileName);
}

void TMainForm::miNewProjectClick()
{
    FRecovery->KeepAsDiscarded();
    FDocument.ResetLibrary({});
    SetLibraryFile(QString());
}

void TMainForm::miOpenProjectClick()
{
    if (FDialogs.Execute(sOpenDialog1))
        OpenProjectFile(sOpenDialog1.FileName);
    CollectLanguages();
    RebuildLanguageColumns();
}

void TMainForm::OpenProjectFile(const QString &FileName)
{
    FDocument.SetProjectFile(FileName);
    miNewProjectClick();
    sSaveDialog1.FileName = FileName;
    sSaveDialog2.FileName = ChangeFileExt(FileName, QStringLiteral(".tar.gz"));
    TViraGlyphbook loaded;
    loaded.LoadFromFile(FileName);
    FDocument.ResetLibrary(std::move(loaded.Symbols));
    SetLibraryFile(FileName);
    SetCaptionFile(FileName);
    FRecent->Add(FileName);
}

void TMainForm::miSaveProjectClick()
{
    if (!FDialogs.Execute(sSaveDialog1))
        return;
    const QString fileName = WithDefaultSuffix(sSaveDialog1.FileName, QStringLiteral(".js"));
    sSaveDialog1.FileName = fileName;
    // Saving again to the file the library came from replaces no other file: Ctrl+S, Enter
    // saves. A library made by New Project has no such file.
    const bool ownFile = !FLibraryFile.isEmpty() && QFileInfo(fileName) == QFileInfo(FLibraryFile);
    if (!ownFile && QFileInfo::exists(fileName) &&
        !FDialogs.Confirm(tr("%1 already exists.\nDo you want to replace it?")
                              .arg(QFileInfo(fileName).fileName())))
        return;
    FDocument.SaveToFile(fileName);
    FRecovery->Saved();
    SetLibraryFile(fileName);
    FRecent->Add(fileName);
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
