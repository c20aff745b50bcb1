// The language registry (the Languages menu) and "Lang.txt": the checked languages are the
// ones the document shows as columns and name fields.
#include "ui/MainGlyphbook.h"

#include "ui/SymbolSettingsPanel.h"
#include "ui/TextLines.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace
{
QString languageCode(const QAction *Entry)
{
    return QString(Entry->text()).remove(u'&');
}
} // namespace

void TMainForm::ReadLanguageFile()
{
    const QString fileName = ProgramFile(QStringLiteral("Lang.txt"));
    if (!QFileInfo(fileName).isFile())
        return;
    for (const QString &line : ReadTextLines(fileName)) {
        const qsizetype equals = line.indexOf(u'=');
        const QString code = equals < 0 ? QString() : line.left(equals);
        const QString flag = equals < 0 ? QString() : line.mid(equals + 1);
        AddLanguage(code, flag == u"true");
    }
}

void TMainForm::AddLanguage(const QString &Code, bool Checked)
{
    const QList<QAction *> entries = FLanguagesMenu->actions();
    for (const QAction *entry : entries)
        if (languageCode(entry) == Code)
            return;
    QAction *entry = FLanguagesMenu->addAction(Code);
    entry->setCheckable(true);
    entry->setChecked(Checked);
    FGuard.Connect(entry, &QAction::triggered, this, [this] { miENClick(); });
}

void TMainForm::CollectLanguages()
{
    for (const TViraSymbolPtr &symbol : FDocument.Symbols())
        for (const TStringPairs &name : std::as_const(symbol->Names))
            AddLanguage(name.Name, true);
}

void TMainForm::RebuildLanguageColumns()
{
    const int fields = int(FSettings->NameEdits.size());
    QStringList codes;
    QStringList left;
    for (QAction *entry : FLanguagesMenu->actions()) {
        if (!entry->isChecked())
            continue;
        if (codes.size() < fields) {
            codes.append(languageCode(entry));
        } else {
            // No name field is left for it: show it unchecked, so the menu tells the truth.
            // The symbols keep their names in it.
            entry->setChecked(false);
            left.append(languageCode(entry));
        }
    }
    FDocument.SetLanguages(codes);
    // A smaller minimum lets the client area shrink, which re-applies the group's anchors.
    FClientArea->setMinimumWidth(FSettings->x() + FSettings->minimumWidth());

    if (!left.isEmpty())
        ShowInformationOverWindow(
            QStringLiteral("At most %1 languages can be shown at once. Not shown: %2.")
                .arg(QString::number(fields), left.join(QStringLiteral(", "))));
}

void TMainForm::miENClick()
{
    RebuildLanguageColumns();
}
