#include "ui/QtGlyphbookDialogs.h"

#include "ui/RecentProjects.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace
{
/// A QProgressDialog that the work feeds directly, without an event loop of its own.
class TQtProgress : public TProgressFeedback
{
public:
    TQtProgress(const QString &Text, QWidget *Parent) : FDialog(Text, QString(), 0, Steps, Parent)
    {
        FDialog.setWindowTitle(QApplication::applicationDisplayName());
        FDialog.setCancelButton(nullptr);
        // Non-modal: a modal progress dialog would run every pending event, user input
        // included, from inside the work. Only painting is let through below.
        FDialog.setWindowModality(Qt::NonModal);
        FDialog.setMinimumDuration(1000);
        // It stays up until the work is over, even when the estimate reaches its end early.
        FDialog.setAutoClose(false);
        FDialog.setAutoReset(false);
        FDialog.setValue(0);
        FSincePaint.start();
    }

    void SetProgress(qint64 Done, qint64 Total) override
    {
        const qint64 step = Total > 0 ? std::clamp<qint64>(Done * Steps / Total, 0, Steps) : 0;
        // The dialog decides here, from the time spent, whether it shows.
        FDialog.setValue(int(step));
        if (FDialog.isVisible() && FSincePaint.elapsed() >= 50) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            FSincePaint.restart();
        }
    }

private:
    static constexpr int Steps = 1000;
    QProgressDialog FDialog;
    QElapsedTimer FSincePaint;
};
} // namespace

QStringList NameFiltersFromPairs(const QString &Filter)
{
    QStringList result;
    const QStringList parts = Filter.split(u'|');
    static const QRegularExpression patternTail(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(patternTail);
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            pattern = pattern.trimmed();
        patterns.removeAll(QString());
        result.append(description + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return result;
}

bool TQtGlyphbookDialogs::Execute(TFileDialog &Dialog)
{
    QFileDialog dialog(Parent);
    switch (Dialog.Kind) {
    case TFileDialog::fdOpen:
    case TFileDialog::fdOpenPicture:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(Dialog.Multiple ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
        break;
    case TFileDialog::fdFolder:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        break;
    case TFileDialog::fdSave:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !Dialog.OverwritePrompt);
        // A name typed without a suffix gets the first pattern's, before the dialog checks for
        // a file to replace.
        if (const QString first = Dialog.Filter.section(u'|', 1, 1).section(u';', 0, 0);
            first.startsWith(QLatin1String("*.")))
            dialog.setDefaultSuffix(first.mid(2));
        break;
    }
    if (!Dialog.Filter.isEmpty())
        dialog.setNameFilters(NameFiltersFromPairs(Dialog.Filter));
    // Without a folder of its own to start in, a dialog starts where it was last used.
    TRecentProjects remembered;
    if (QFileInfo(Dialog.FileName).isRelative())
        if (const QString last = remembered.LastFolder(Dialog.Name); QFileInfo(last).isDir())
            dialog.setDirectory(last);
    if (!Dialog.FileName.isEmpty())
        dialog.selectFile(Dialog.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    Dialog.FileNames = dialog.selectedFiles();
    Dialog.FileName = Dialog.FileNames.constFirst();
    remembered.SetLastFolder(Dialog.Name, Dialog.Kind == TFileDialog::fdFolder
                                              ? Dialog.FileName
                                              : QFileInfo(Dialog.FileName).absolutePath());
    return true;
}

bool TQtGlyphbookDialogs::RunDialog(QDialog &Dialog)
{
    return Dialog.exec() == QDialog::Accepted;
}

void TQtGlyphbookDialogs::ShowError(const QString &Text)
{
    QMessageBox::critical(Parent, QApplication::applicationDisplayName(), Text, QMessageBox::Ok);
}

void TQtGlyphbookDialogs::ShowErrorCancel(const QString &Text)
{
    QMessageBox::critical(Parent, QApplication::applicationDisplayName(), Text,
                          QMessageBox::Cancel);
}

void TQtGlyphbookDialogs::ShowQuestionOk(const QString &Text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), Text,
                    QMessageBox::Ok, Parent);
    box.exec();
}

void TQtGlyphbookDialogs::ShowInformation(const QString &Text)
{
    QMessageBox::information(Parent, QApplication::applicationDisplayName(), Text);
}

TGlyphbookDialogs::TRestoreAnswer TQtGlyphbookDialogs::AskRestore(const QString &Text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), Text,
                    QMessageBox::NoButton, Parent);
    QPushButton *restore = box.addButton(QMessageBox::tr("Restore"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QMessageBox::tr("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    // Escape leaves the kept changes for the next start rather than deleting them.
    box.exec();
    if (box.clickedButton() == restore)
        return raRestore;
    return box.clickedButton() == discard ? raDiscard : raLater;
}

bool TQtGlyphbookDialogs::Confirm(const QString &Text)
{
    return QMessageBox::question(Parent, QApplication::applicationDisplayName(), Text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool TQtGlyphbookDialogs::ConfirmWithDetails(const QString &Text, const QString &Details)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), Text,
                    QMessageBox::Yes | QMessageBox::No, Parent);
    box.setInformativeText(Details);
    return box.exec() == QMessageBox::Yes;
}

bool TQtGlyphbookDialogs::ChooseFolder(const QString &Caption, QString &Folder)
{
    const QString chosen = QFileDialog::getExistingDirectory(Parent, Caption, Folder);
    if (chosen.isEmpty())
        return false;
    Folder = chosen;
    return true;
}

void TQtGlyphbookDialogs::Beep()
{
    QApplication::beep();
}

std::unique_ptr<TProgressFeedback> TQtGlyphbookDialogs::StartProgress(const QString &Text)
{
    return std::make_unique<TQtProgress>(Text, Parent);
}

void TQtGlyphbookDialogs::OpenDocument(const QString &FileName)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(FileName));
}
