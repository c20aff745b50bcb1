#include "tests/support/ScriptedDialogs.h"

#include <QDialog>
#include <QGuiApplication>

bool TScriptedDialogs::Execute(TFileDialog &Dialog)
{
    ShownDialogs.append({Dialog.Name, Dialog.Filter, Dialog.FileName});
    if (FileAnswers.isEmpty()) {
        ++Unanswered;
        return false;
    }
    const std::optional<QString> answer = FileAnswers.takeFirst();
    if (!answer)
        return false;
    if (!answer->isEmpty())
        Dialog.FileName = answer->section(u'\n', 0, 0);
    Dialog.FileNames =
        Dialog.Multiple && !answer->isEmpty() ? answer->split(u'\n') : QStringList{Dialog.FileName};
    return true;
}

bool TScriptedDialogs::RunDialog(QDialog &Dialog)
{
    RunDialogs.append(Dialog.objectName());
    if (DialogScripts.isEmpty()) {
        ++Unanswered;
        return false;
    }
    Dialog.show();
    const bool accepted = DialogScripts.takeFirst()(Dialog);
    Dialog.hide();
    // As when a modal dialog closes on the desktop, the window it stood over is active again.
    if (QWidget *parent = Dialog.parentWidget())
        parent->window()->activateWindow();
    return accepted;
}

bool TScriptedDialogs::ConfirmWithDetails(const QString &Text, const QString &Details)
{
    Questions.append(Text);
    QuestionDetails.append(Details);
    if (ConfirmAnswers.isEmpty()) {
        ++Unanswered;
        return false;
    }
    return ConfirmAnswers.takeFirst();
}

TGlyphbookDialogs::TRestoreAnswer TScriptedDialogs::AskRestore(const QString &Text)
{
    RestoreQuestions.append(Text);
    if (RestoreAnswers.isEmpty()) {
        ++Unanswered;
        return raLater;
    }
    return RestoreAnswers.takeFirst();
}

bool TScriptedDialogs::ChooseFolder(const QString &, QString &Folder)
{
    if (FolderAnswers.isEmpty()) {
        ++Unanswered;
        return false;
    }
    const std::optional<QString> answer = FolderAnswers.takeFirst();
    if (!answer)
        return false;
    Folder = *answer;
    return true;
}

namespace
{
/// Records into one entry of TScriptedDialogs::Progresses.
class TScriptedProgress : public TProgressFeedback
{
public:
    TScriptedProgress(QList<TScriptedDialogs::TShownProgress> &Progresses, qsizetype Index)
        : FProgresses(Progresses), FIndex(Index)
    {
    }
    ~TScriptedProgress() override { FProgresses[FIndex].Closed = true; }

    void SetProgress(qint64 Done, qint64 Total) override
    {
        TScriptedDialogs::TShownProgress &shown = FProgresses[FIndex];
        shown.Steps.append({Done, Total});
        if (!QGuiApplication::overrideCursor())
            shown.BusyCursor = false;
    }

private:
    QList<TScriptedDialogs::TShownProgress> &FProgresses;
    qsizetype FIndex;
};
} // namespace

std::unique_ptr<TProgressFeedback> TScriptedDialogs::StartProgress(const QString &Text)
{
    Progresses.append({Text, {}, true, false});
    return std::make_unique<TScriptedProgress>(Progresses, Progresses.size() - 1);
}
