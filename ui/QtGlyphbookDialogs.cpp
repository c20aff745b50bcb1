#include "ui/QtGlyphbookDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

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
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case TFileDialog::fdSave:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !Dialog.OverwritePrompt);
        break;
    }
    if (!Dialog.Filter.isEmpty())
        dialog.setNameFilters(NameFiltersFromPairs(Dialog.Filter));
    if (!Dialog.FileName.isEmpty())
        dialog.selectFile(Dialog.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    Dialog.FileName = dialog.selectedFiles().constFirst();
    return true;
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

bool TQtGlyphbookDialogs::Confirm(const QString &Text)
{
    return QMessageBox::question(Parent, QApplication::applicationDisplayName(), Text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TQtGlyphbookDialogs::Beep()
{
    QApplication::beep();
}

void TQtGlyphbookDialogs::OpenDocument(const QString &FileName)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(FileName));
}
