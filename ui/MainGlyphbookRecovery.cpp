// What the window keeps in step with the disk: the recovery copy of unsaved changes, the offer
// of kept changes at start-up, Restore Discarded Changes, and the pictures as files change.
#include "ui/MainGlyphbook.h"

#include "model/GlyphbookError.h"
#include "ui/FileNames.h"
#include "ui/ImageStripPanel.h"
#include "ui/PictureWatch.h"
#include "ui/RecoveryCopy.h"
#include "ui/SymbolPreviewPanel.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QMenu>

namespace
{
QString trRecovery(const char *Text)
{
    return QCoreApplication::translate("TMainForm", Text);
}

QString restoreQuestion(const TKeptCopy &Copy)
{
    const QString time = QLocale().toString(Copy.Time.toLocalTime(), QLocale::ShortFormat);
    if (Copy.ProjectFile.isEmpty())
        return trRecovery("Changes to a new library were kept at %1 but never saved.\n\n"
                          "Restore them?")
            .arg(time);
    return trRecovery("Changes to \"%1\" were kept at %2 but never saved.\n\nRestore them?")
        .arg(QDir::toNativeSeparators(Copy.ProjectFile), time);
}
} // namespace

void TMainForm::CreateRecovery()
{
    FRecovery = std::make_unique<TRecoveryCopy>(FDocument);
    connect(&FDocument, &TGlyphbookDocument::savedChanged, this, [this] { ShowCaption(); });

    // After New Project, which is where the discarded work comes from.
    QAction *newProject = findChild<QAction *>(QStringLiteral("miNewProject"));
    const int after = int(FFileMenu->actions().indexOf(newProject)) + 1;
    FRestoreDiscarded = new QAction(trRecovery("Restore Discarded Changes"), FFileMenu);
    FRestoreDiscarded->setObjectName(QStringLiteral("miRestoreDiscarded"));
    FRestoreDiscarded->setEnabled(false);
    FFileMenu->insertAction(FFileMenu->actions().value(after), FRestoreDiscarded);
    FGuard.Connect(FRestoreDiscarded, &QAction::triggered, this,
                   [this] { miRestoreDiscardedClick(); });
    connect(FRecovery.get(), &TRecoveryCopy::discardedChanged, FRestoreDiscarded,
            &QAction::setEnabled);
}

void TMainForm::CreatePictureWatch()
{
    FPictureWatch = new TPictureWatch(FDocument, this);
    FGuard.Connect(FPictureWatch, &TPictureWatch::shownPicturesChanged, this, [this] {
        FStrip->ReloadPictures();
        FPreview->ReloadPicture();
    });
}

void TMainForm::OfferKeptChanges()
{
    bool restored = false;
    for (const TKeptCopy &copy : FRecovery->TakeOrphans()) {
        // One library at a time: the others wait for the next start.
        if (restored) {
            FRecovery->Release(copy);
            continue;
        }
        TViraGlyphbook library;
        try {
            library = TRecoveryCopy::Load(copy);
        } catch (const EGlyphbookError &error) {
            FDialogs.ShowError(
                trRecovery("Changes kept in \"%1\" cannot be restored: %2\n\n"
                           "The file stays where it is.")
                    .arg(QDir::toNativeSeparators(copy.DocumentPath), error.message()));
            FRecovery->Release(copy);
            continue;
        }
        switch (FDialogs.AskRestore(restoreQuestion(copy))) {
        case TGlyphbookDialogs::raRestore:
            RestoreKeptLibrary(std::move(library), copy);
            // The restored changes are this window's copy before the former one goes.
            FRecovery->Flush();
            FRecovery->Delete(copy);
            restored = true;
            break;
        case TGlyphbookDialogs::raDiscard:
            FRecovery->Delete(copy);
            break;
        case TGlyphbookDialogs::raLater:
            FRecovery->Release(copy);
            break;
        }
    }
}

void TMainForm::miRestoreDiscardedClick()
{
    if (!FRecovery->HasDiscarded())
        return;
    const TKeptCopy copy = FRecovery->DiscardedCopy();
    RestoreKeptLibrary(TRecoveryCopy::Load(copy), copy);
}

void TMainForm::RestoreKeptLibrary(TViraGlyphbook Library, const TKeptCopy &Copy)
{
    FRecovery->KeepAsDiscarded();
    FDocument.SetProjectFile(Copy.ImagesBeside.isEmpty() ? Copy.ProjectFile : Copy.ImagesBeside);
    FDocument.ResetLibrary(std::move(Library.Symbols));
    FDocument.MarkUnsaved();
    SetLibraryFile(Copy.ProjectFile);
    if (!Copy.ProjectFile.isEmpty()) {
        sSaveDialog1.FileName = Copy.ProjectFile;
        sSaveDialog2.FileName = ChangeFileExt(Copy.ProjectFile, QStringLiteral(".tar.gz"));
        SetCaptionFile(Copy.ProjectFile);
    }
    CollectLanguages();
    RebuildLanguageColumns();
}
