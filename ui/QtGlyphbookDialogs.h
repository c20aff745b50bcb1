#pragma once

#include "ui/GlyphbookDialogs.h"

#include <QStringList>

class QWidget;

/// The real dialogs: QFileDialog, QMessageBox, the platform beep and the desktop's default
/// program for a document.
class TQtGlyphbookDialogs : public TGlyphbookDialogs
{
public:
    /// Parent of the modal dialogs; may be set after construction, once the window exists.
    QWidget *Parent = nullptr;

    bool Execute(TFileDialog &Dialog) override;
    bool RunDialog(QDialog &Dialog) override;
    void ShowError(const QString &Text) override;
    void ShowErrorCancel(const QString &Text) override;
    void ShowQuestionOk(const QString &Text) override;
    void ShowInformation(const QString &Text) override;
    TRestoreAnswer AskRestore(const QString &Text) override;
    bool Confirm(const QString &Text) override;
    bool ConfirmWithDetails(const QString &Text, const QString &Details) override;
    bool ChooseFolder(const QString &Caption, QString &Folder) override;
    void Beep() override;
    /// A progress dialog without a cancel button, shown after a second of work.
    std::unique_ptr<TProgressFeedback> StartProgress(const QString &Text) override;
    void OpenDocument(const QString &FileName) override;
};

/// Turns "description|patterns|description|patterns" into QFileDialog name filters
/// "description (p1 p2)". A parenthesised pattern list ending a description is replaced, and
/// empty patterns (a trailing ";") are dropped.
QStringList NameFiltersFromPairs(const QString &Filter);
