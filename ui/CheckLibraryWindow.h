#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTableView;
class TFindingsModel;
class TLibraryCheck;

/// A window beside the editor that lists the library check's findings by symbol, in library
/// order, one finding a row. It shows the whole library once and then only the symbols whose
/// findings changed, which a list of tens of thousands of findings takes in its stride.
class TCheckLibraryWindow : public QWidget
{
public:
    explicit TCheckLibraryWindow(QWidget *Parent);

    /// Shows the findings of every symbol.
    void ShowAll(const TLibraryCheck &Check);
    /// Shows the findings of the symbols at Indices afresh; the others stay as they are.
    void ShowSymbols(const TLibraryCheck &Check, const QList<int> &Indices);

    /// Called on a double click with the symbol's index in the library and the state image's
    /// index (-1 for the symbol or its main image).
    std::function<void(int Symbol, int State)> OnActivate;

    QLabel *lSummary = nullptr;
    QTableView *tvFindings = nullptr;

private:
    TFindingsModel *FModel = nullptr;

    void ShowSummary();
};
