#pragma once

#include "model/ViraSymbol.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QTableView;
class TFindingsModel;
class TGlyphbookDocument;
class TLibraryCheck;

/// A window beside the editor that lists the library check's findings by symbol, in library
/// order, one finding a row. It checks the whole library when shown and then follows the
/// document: after a change only the symbols whose checked parts changed are checked again and
/// shown afresh, which a list of tens of thousands of findings takes in its stride; a change of
/// the library's order, of the shown languages or of the project file checks everything.
class TCheckLibraryWindow : public QWidget
{
public:
    TCheckLibraryWindow(const TGlyphbookDocument &Document, QWidget *Parent);
    ~TCheckLibraryWindow() override;

    /// Examines every file again, checks the whole library and shows the findings.
    void CheckAnew();

    /// Called on a double click with the symbol's index in the library and the state image's
    /// index (-1 for the symbol or its main image).
    std::function<void(int Symbol, int State)> OnActivate;

    QLabel *lSummary = nullptr;
    QTableView *tvFindings = nullptr;

private:
    /// A symbol's parts as the window last checked them.
    struct TCheckedSymbol {
        explicit TCheckedSymbol(const TViraSymbolPtr &Checked);
        /// Whether the symbol's identifier, images and names are still those checked.
        bool Unchanged() const;

        TViraSymbolPtr Symbol;
        QString Identifier;
        QString Image;
        QList<TStringPairs> Names;
        QList<TStringPairs> StateImages;
    };

    const TGlyphbookDocument &FDocument;
    std::unique_ptr<TLibraryCheck> FCheck;
    QList<TCheckedSymbol> FChecked;
    TFindingsModel *FModel = nullptr;

    void CheckWholeLibrary();
    /// Brings the findings up to date after a change of the document; hidden, it does nothing.
    void FollowLibraryChanges();
    void ShowSummary();
};
