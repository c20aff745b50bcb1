#pragma once

#include "model/StateFamilies.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QTreeWidget;

/// Shows the symbols that several picture files will make before any is added: each symbol's
/// main picture and states, grouped into state families by name or, with grouping off, one
/// symbol per picture.
class TBatchImportDialog : public QDialog
{
    Q_OBJECT

public:
    TBatchImportDialog(QStringList Files, QWidget *Parent);

    /// The symbols to make, as the dialog shows them now.
    const QList<TStateFamily> &Families() const { return FFamilies; }

    QCheckBox *cbGroupFamilies = nullptr;
    QTreeWidget *lvFamilies = nullptr;
    QLabel *lSummary = nullptr;
    QDialogButtonBox *Buttons = nullptr;

private:
    QStringList FFiles;
    QList<TStateFamily> FFamilies;

    void ShowFamilies();
};
