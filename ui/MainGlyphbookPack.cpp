// The packing and extraction commands of the File menu.
#include "ui/MainGlyphbook.h"

#include "model/GlyphbookError.h"
#include "packing/GlyphbookExtract.h"
#include "packing/GlyphbookPack.h"
#include "packing/LibraryCopy.h"
#include "ui/BusyCursor.h"
#include "ui/FileNames.h"
#include "ui/RecentProjects.h"
#include "ui/RecoveryCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include <exception>
#include <optional>

namespace
{
/// How a command's work talks to the user: questions with the normal cursor, progress in a
/// dialog that starts with the first report, messages kept until the work is over.
class TWorkFeedback
{
public:
    TWorkFeedback(TGlyphbookDialogs &Dialogs, TBusyCursor &Busy, QString ProgressText)
        : FDialogs(Dialogs), FBusy(Busy), FProgressText(std::move(ProgressText))
    {
    }

    TPackCallbacks Callbacks()
    {
        TPackCallbacks callbacks;
        callbacks.ConfirmReplacing = [this](const QString &Question, const QStringList &Replaced) {
            QStringList paths;
            for (const QString &path : Replaced)
                paths.append(QDir::toNativeSeparators(path));
            FBusy.Restore();
            const bool yes = FDialogs.ConfirmWithDetails(
                Question,
                QCoreApplication::translate("TMainForm", "Yes replaces:\n") + paths.join(u'\n'));
            FBusy.Show();
            return yes;
        };
        callbacks.Inform = [this](const QString &Message) { Messages.append(Message); };
        callbacks.Progress = [this](qint64 Done, qint64 Total) {
            if (!FProgress)
                FProgress = FDialogs.StartProgress(FProgressText);
            FProgress->SetProgress(Done, Total);
        };
        return callbacks;
    }

    /// Closes the progress dialog and restores the normal cursor.
    void Finish()
    {
        FProgress.reset();
        FBusy.Restore();
    }

    QStringList Messages;

private:
    TGlyphbookDialogs &FDialogs;
    TBusyCursor &FBusy;
    QString FProgressText;
    std::unique_ptr<TProgressFeedback> FProgress;
};
} // namespace

void TMainForm::miPackLibClick()
{
    if (!FDialogs.Execute(sSaveDialog2))
        return;
    sSaveDialog2.FileName = WithDefaultSuffix(sSaveDialog2.FileName, QStringLiteral(".tar.gz"));
    const QString archive = sSaveDialog2.FileName;
    const int selected = FDocument.SelectedIndex();
    TBusyCursor busy;
    // Whatever packing ends with, the library is brought back to what its document keeps.
    TViraGlyphbook lent = FDocument.Library();
    const TLibraryCopy copy(lent);
    TWorkFeedback feedback(FDialogs, busy, tr("Packing the symbol library..."));

    std::optional<QString> missing;
    std::exception_ptr failure;
    try {
        PackLibrary(lent, archive, feedback.Callbacks(), FDocument.ProjectFile());
    } catch (const EFileMissing &error) {
        missing = error.message();
    } catch (...) {
        failure = std::current_exception();
    }
    copy.Restore(lent);
    FDocument.ReplaceSymbolObjects(lent.Symbols, selected);
    feedback.Finish();

    if (missing)
        FDialogs.ShowErrorCancel(tr("One image used by a dialog is missing. The symbol library "
                                    "can therfore not be created. ") +
                                 *missing);
    if (failure)
        std::rethrow_exception(failure);
}

void TMainForm::miOpenLibClick()
{
    if (!FDialogs.Execute(sOpenDialog2))
        return;
    const QString archive = sOpenDialog2.FileName;
    FRecovery->KeepAsDiscarded();
    // Until the extraction replaces the library, its changes are still the current ones.
    auto notReplaced = qScopeGuard([this] { FRecovery->KeepAsCurrent(); });
    const int selected = FDocument.SelectedIndex();
    // The extraction lends the library out and gives it back as new symbol objects, whatever
    // happens; the views must then refer to those.
    TViraGlyphbook lent = FDocument.Library();
    const auto giveBack = [&] { FDocument.ReplaceSymbolObjects(lent.Symbols, selected); };
    // Beside the archive, unless a project there would be replaced that no earlier extraction
    // made: then into a folder the user chooses.
    QString into;
    for (bool extracted = false; !extracted;) {
        TBusyCursor busy;
        TWorkFeedback feedback(FDialogs, busy, tr("Extracting the symbol library..."));
        try {
            ExtractLibrary(lent, archive, feedback.Callbacks(), into);
            extracted = true;
        } catch (const EProjectInTheWay &error) {
            giveBack();
            feedback.Finish();
            if (into.isEmpty())
                into = QFileInfo(archive).absolutePath();
            if (!FDialogs.Confirm(error.message() +
                                  tr("\n\nChoose another folder to extract into?")) ||
                !FDialogs.ChooseFolder(tr("Extract into"), into))
                return;
            continue;
        } catch (...) {
            giveBack();
            throw;
        }
        feedback.Finish();
        for (const QString &message : std::as_const(feedback.Messages))
            FDialogs.ShowQuestionOk(message);
    }

    sSaveDialog1.FileName = TExtractTarget::ForArchive(archive).BaseName + QStringLiteral(".js");
    sSaveDialog2.FileName = archive;
    notReplaced.dismiss();
    giveBack();
    FDocument.StartFreshHistory();
    SetLibraryFile(QString());
    FRecent->Add(TExtractTarget::ForArchive(archive, into).ProjectDocument);
    CollectLanguages();
    RebuildLanguageColumns();
}
