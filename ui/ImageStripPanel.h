#pragma once

#include "document/GlyphbookDocument.h"

#include <QScrollArea>

class QPushButton;
class TErrorGuard;
struct TFileDialog;
class TSymbolImgPanel;

/// The image strip: a tile per image of the selected symbol, its main image first, with the
/// image commands Add Image and Delete Image beside it. Tiles change the symbol only through
/// the document; a tile chosen shows its picture through pictureChosen.
class TImageStripPanel : public QScrollArea
{
    Q_OBJECT

public:
    /// The strip and its buttons at their designed places in Parent. PictureDialog is the
    /// picture dialog the window's commands share.
    TImageStripPanel(TGlyphbookDocument &Document, const TErrorGuard &Guard,
                     TFileDialog &PictureDialog, QWidget *Parent);
    ~TImageStripPanel() override;

    QPushButton *bAddImage = nullptr;
    QPushButton *bDeleteImage = nullptr;

    /// The tiles of the strip, in the order they were built.
    QList<TSymbolImgPanel *> Tiles() const;
    /// Marks the tile of state image State and shows its picture, as a click on it does.
    void ClickTile(int State);

    /// Loads every tile's picture again from its file, which changed on the disk; the
    /// symbol's missing mark follows.
    void ReloadPictures();

    void bAddImageClick();
    void bDeleteImageClick();
    /// Adds Pictures as state images of the selected symbol, one step.
    void AddStateImages(const QStringList &Pictures);

signals:
    /// A tile was chosen, or the main image is to be shown again: the picture stored under Path.
    void pictureChosen(const QString &Path);
    /// Images were added or deleted: the list's icons follow the plain rule again.
    void imagesChanged();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    TGlyphbookDocument &FDocument;
    const TErrorGuard &FGuard;
    TFileDialog &FPictureDialog;
    /// The symbol a tile's change is being written into, before the document takes it.
    TViraSymbol *FTileEdit = nullptr;

    void InstallTileCallbacks();
    void ShowSelection(const TViraSymbolPtr &Symbol);
    /// Removes every tile.
    void RemoveAllTiles();
    /// Replaces the tiles by those of Symbol, the main image tile marked; returns the last one.
    TSymbolImgPanel *BuildTiles(const TViraSymbolPtr &Symbol);
    /// Lets the strip scroll exactly as far as its tiles reach.
    void FitStripToTiles();
    /// The tiles follow the strip's height.
    void FitTilesToStrip();
    /// Adds a state image's tile for Symbol's state Index, marked and scrolled into view.
    void AddStateTile(const TViraSymbolPtr &Symbol, int Index);
    /// Stores Pictures as state images of the selected symbol as the step Text, with their
    /// tiles; the symbol becomes a symbol even when there are none.
    void AddImages(const QStringList &Pictures, const QString &Text);

    // The bodies of the tiles' ClickProc, UpdateProc and DblClickProc.
    void SymbolImgPanelClick(TSymbolImgPanel *Tile);
    void SymbolImgPanelUpdate(TSymbolImgPanel *Tile);
    void SymbolImgPanelDblClick(TSymbolImgPanel *Tile);
};
