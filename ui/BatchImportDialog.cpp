#include "ui/BatchImportDialog.h"

#include "model/ImagePath.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TBatchImportDialog::TBatchImportDialog(QStringList Files, QWidget *Parent)
    : QDialog(Parent), FFiles(std::move(Files))
{
    setObjectName(QStringLiteral("BatchImportDialog"));
    setWindowTitle(tr("Add New Symbols"));
    auto *layout = new QVBoxLayout(this);

    lSummary = new QLabel(this);
    layout->addWidget(lSummary);

    lvFamilies = new QTreeWidget(this);
    lvFamilies->setRootIsDecorated(false);
    lvFamilies->setUniformRowHeights(true);
    lvFamilies->setSelectionMode(QAbstractItemView::NoSelection);
    lvFamilies->setHeaderLabels({tr("Symbol"), tr("States")});
    lvFamilies->header()->setStretchLastSection(true);
    lvFamilies->setColumnWidth(0, 200);
    layout->addWidget(lvFamilies, 1);

    cbGroupFamilies = new QCheckBox(tr("Group state pictures into one symbol per family"), this);
    cbGroupFamilies->setToolTip(
        tr("NAME.png is the main picture; NAME_1.png, NAME_alarm.png, NAME_mo.png "
           "and NAME_mo_off.png are the pictures of the states 1, Alarm, MO and "
           "MO_Off"));
    cbGroupFamilies->setChecked(true);
    layout->addWidget(cbGroupFamilies);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(tr("Add Symbols"));
    layout->addWidget(Buttons);

    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cbGroupFamilies, &QCheckBox::toggled, this, [this] { ShowFamilies(); });
    ShowFamilies();
    resize(560, 380);
}

void TBatchImportDialog::ShowFamilies()
{
    FFamilies =
        cbGroupFamilies->isChecked() ? GroupStateFamilies(FFiles) : UngroupedFamilies(FFiles);
    lvFamilies->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(FFamilies.size());
    for (const TStateFamily &family : std::as_const(FFamilies)) {
        QStringList states;
        for (const TStringPairs &state : family.States)
            states.append(state.Name + QStringLiteral(": ") + FileNamePart(state.Value));
        auto *row = new QTreeWidgetItem(
            QStringList{FileNamePart(family.Main), states.join(QStringLiteral(", "))});
        row->setToolTip(0, family.Main);
        rows.append(row);
    }
    lvFamilies->addTopLevelItems(rows);
    lSummary->setText(tr("%1 pictures make %2 new %3:")
                          .arg(FFiles.size())
                          .arg(FFamilies.size())
                          .arg(FFamilies.size() == 1 ? tr("symbol") : tr("symbols")));
}
