#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

/// How packing and extraction talk to the user. An unset member gives the quiet answer: no
/// overwriting, no message, no progress.
struct TPackCallbacks {
    /// Asks a Yes/No question ("Overwrite existing?"); true for Yes.
    std::function<bool(const QString &Question)> Confirm;
    /// Asks the question naming the files and folders that Yes replaces; when unset, Confirm
    /// is asked instead.
    std::function<bool(const QString &Question, const QStringList &Replaced)> ConfirmReplacing;
    /// Shows a message that is no failure.
    std::function<void(const QString &Message)> Inform;
    /// Now and then while the work runs: bytes done out of bytes in all.
    std::function<void(qint64 Done, qint64 Total)> Progress;
    /// Before each rename that puts an extraction's results in place or back, with its source
    /// and target. The window and the command line leave it unset; tests stop a run here or
    /// make the rename fail.
    std::function<void(const QString &From, const QString &To)> BeforeRename;
};

/// The question asked before files of an earlier run are replaced.
inline const char OverwriteQuestion[] = QT_TRANSLATE_NOOP("PackCallbacks", "Overwrite existing?");

/// Asks "Overwrite existing?" about Replaced through the callbacks; no when nobody is there to
/// answer.
inline bool AskOverwrite(const TPackCallbacks &Callbacks, const QStringList &Replaced)
{
    const QString question = QCoreApplication::translate("PackCallbacks", OverwriteQuestion);
    if (Callbacks.ConfirmReplacing)
        return Callbacks.ConfirmReplacing(question, Replaced);
    return Callbacks.Confirm && Callbacks.Confirm(question);
}
