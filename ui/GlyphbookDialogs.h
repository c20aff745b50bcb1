#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QDialog;

/// One of the window's file dialogs: what it shows and the file name it currently holds.
/// The file name is window state that the commands preset and read between uses.
struct TFileDialog {
    enum TKind { fdOpen, fdSave, fdOpenPicture, fdFolder };

    QString Name;
    TKind Kind = fdOpen;
    /// Description and pattern list pairs separated by "|", e.g. "Glyphbook project|*.js".
    QString Filter;
    QString FileName;
    /// Whether the dialog itself asks before an existing file is chosen for saving.
    bool OverwritePrompt = true;
    /// Whether several existing files may be chosen at once (open dialogs).
    bool Multiple = false;
    /// Every file chosen, FileName first; one file unless Multiple.
    QStringList FileNames = {};
};

/// Feedback while long work runs; it goes away when destroyed.
class TProgressFeedback
{
public:
    virtual ~TProgressFeedback() = default;
    /// How far the work is: Done out of Total units.
    virtual void SetProgress(qint64 Done, qint64 Total) = 0;
};

/// Every modal interaction and platform call of the main window. The program uses the Qt
/// implementation; tests install a scripted one.
class TGlyphbookDialogs
{
public:
    virtual ~TGlyphbookDialogs() = default;

    /// Shows the dialog preset with its FileName; on OK stores the chosen file there (and all
    /// chosen files in FileNames) and returns true, on cancel leaves it unchanged and returns
    /// false.
    virtual bool Execute(TFileDialog &Dialog) = 0;
    /// Runs one of the window's own dialogs modally; true when the user accepted it.
    virtual bool RunDialog(QDialog &Dialog) = 0;
    /// The standard error message: the text, an error icon and OK.
    virtual void ShowError(const QString &Text) = 0;
    /// An error icon with a single Cancel button.
    virtual void ShowErrorCancel(const QString &Text) = 0;
    /// A question icon with a single OK button.
    virtual void ShowQuestionOk(const QString &Text) = 0;
    /// An information icon with OK.
    virtual void ShowInformation(const QString &Text) = 0;
    /// What the user answered to the offer of kept changes.
    enum TRestoreAnswer { raRestore, raDiscard, raLater };
    /// A question with Restore (the default) and Discard; closing it answers raLater.
    virtual TRestoreAnswer AskRestore(const QString &Text) = 0;
    /// Yes/No question; true only for Yes.
    virtual bool Confirm(const QString &Text) = 0;
    /// Yes/No question with details below it (what Yes replaces); true only for Yes.
    virtual bool ConfirmWithDetails(const QString &Text, const QString &Details) = 0;
    /// A folder dialog preset with Folder; on OK stores the chosen folder there and returns true.
    virtual bool ChooseFolder(const QString &Caption, QString &Folder) = 0;
    virtual void Beep() = 0;
    /// Starts feedback for long work, described by Text; it appears only once the work has
    /// taken about a second.
    virtual std::unique_ptr<TProgressFeedback> StartProgress(const QString &Text) = 0;
    /// Opens a document with the user's default program; the result is not examined.
    virtual void OpenDocument(const QString &FileName) = 0;
};
