#pragma once

#include "ui/GlyphbookDialogs.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

/// Dialogs for tests and benchmarks: file dialogs and questions are answered from queues, and
/// every dialog, message, beep and opened document is recorded.
class TScriptedDialogs : public TGlyphbookDialogs
{
public:
    /// What a file dialog looked like when it was shown.
    struct TShownDialog {
        QString Name;
        QString Filter;
        QString PresetFileName;
    };

    /// A progress feedback as it was fed.
    struct TShownProgress {
        QString Text;
        /// (Done, Total) of every step, in order.
        QList<std::pair<qint64, qint64>> Steps;
        /// Whether the busy cursor showed at every step.
        bool BusyCursor = true;
        bool Closed = false;
    };

    /// Answers for the next file dialogs, in order: a file name chooses it, an empty text
    /// accepts the preset file name, std::nullopt cancels. A dialog that takes several files
    /// takes them as one answer, the names separated by line breaks.
    QList<std::optional<QString>> FileAnswers;
    /// Scripts for the window's next own dialogs, in order: each gets the dialog, shown, works
    /// it as a user would and returns whether it was accepted.
    QList<std::function<bool(QDialog &)>> DialogScripts;
    /// The object names of the window's own dialogs, as they were run.
    QStringList RunDialogs;
    /// Answers for the next Yes/No questions, in order.
    QList<bool> ConfirmAnswers;
    /// Answers for the next Restore/Discard questions, in order; none left answers raLater.
    QList<TRestoreAnswer> RestoreAnswers;
    /// The Restore/Discard questions, as they were asked.
    QStringList RestoreQuestions;
    /// Answers for the next folder dialogs, in order: a folder chooses it, std::nullopt cancels.
    QList<std::optional<QString>> FolderAnswers;

    QList<TShownDialog> ShownDialogs;
    QStringList Errors;
    QStringList ErrorCancels;
    QStringList QuestionOks;
    QStringList Informations;
    QStringList Questions;
    /// The details shown with each question ("" for a question without).
    QStringList QuestionDetails;
    QStringList OpenedDocuments;
    QList<TShownProgress> Progresses;
    int Beeps = 0;
    /// Dialogs or questions shown with no answer left in the queue; they were cancelled.
    int Unanswered = 0;

    bool Execute(TFileDialog &Dialog) override;
    bool RunDialog(QDialog &Dialog) override;
    void ShowError(const QString &Text) override { Errors.append(Text); }
    void ShowErrorCancel(const QString &Text) override { ErrorCancels.append(Text); }
    void ShowQuestionOk(const QString &Text) override { QuestionOks.append(Text); }
    void ShowInformation(const QString &Text) override { Informations.append(Text); }
    TRestoreAnswer AskRestore(const QString &Text) override;
    bool Confirm(const QString &Text) override { return ConfirmWithDetails(Text, QString()); }
    bool ConfirmWithDetails(const QString &Text, const QString &Details) override;
    bool ChooseFolder(const QString &Caption, QString &Folder) override;
    void Beep() override { ++Beeps; }
    void OpenDocument(const QString &FileName) override { OpenedDocuments.append(FileName); }
    std::unique_ptr<TProgressFeedback> StartProgress(const QString &Text) override;
};
