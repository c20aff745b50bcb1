// The image strip: tiles that follow the strip's height, the bodies of the tiles' three
// callbacks, and the image commands Add Image and Delete Image.
#include "ui/MainGlyphbook.h"

#include "model/ImagePath.h"
#include "ui/PictureFile.h"
#include "ui/SymbolImgPanels.h"
#include "ui/SymbolListItem.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

namespace
{
/// The path a tile's image is stored under; empty for an index beyond the state images.
QString storedPathOf(const TSymbolImgPanel &Tile)
{
    const TViraSymbol &symbol = *Tile.Symbol;
    if (Tile.ImageIndex < 0)
        return symbol.Image;
    if (Tile.ImageIndex < symbol.StateImages.size())
        return symbol.StateImages.at(Tile.ImageIndex).Value;
    return QString();
}
} // namespace

QList<TSymbolImgPanel *> TMainForm::Tiles() const
{
    // In the order the tiles were built.
    return sbImagesScrollBox->widget()->findChildren<TSymbolImgPanel *>(QString(),
                                                                        Qt::FindDirectChildrenOnly);
}

void TMainForm::RemoveAllTiles()
{
    QWidget *strip = sbImagesScrollBox->widget();
    const QList<QWidget *> tiles = strip->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    // Deleted at once: a tile that lingered would still be counted by the strip's layout.
    qDeleteAll(tiles);
    strip->setMinimumWidth(0);
}

TSymbolImgPanel *TMainForm::BuildTiles(const TViraSymbolPtr &Symbol)
{
    RemoveAllTiles();
    QWidget *strip = sbImagesScrollBox->widget();
    auto *last = new TSymbolImgPanel(strip, Symbol, -1, ProjectFile());
    last->Mark->show();
    // A state tile may mark itself and show its image while it is built.
    for (int k = 0; k < Symbol->StateImages.size(); ++k)
        last = new TSymbolImgPanel(strip, Symbol, k, ProjectFile());
    sbImagesScrollBoxResize();
    return last;
}

void TMainForm::FitStripToTiles()
{
    // A smaller minimum width alone leaves the content as wide as before, and the strip would
    // go on scrolling over empty space; a resize makes the strip fit it to the tiles again.
    QWidget *strip = sbImagesScrollBox->widget();
    strip->resize(strip->minimumWidth(), strip->height());
}

void TMainForm::sbImagesScrollBoxResize()
{
    // The strip's client area, without its frame and without a horizontal scroll bar that
    // shows: the tiles stand wholly visible in it.
    const int height = sbImagesScrollBox->viewport()->height() - 2;
    for (TSymbolImgPanel *tile : Tiles())
        tile->SetHeight(height);
}

void TMainForm::InstallTileCallbacks()
{
    TSymbolImgPanel::ClickProc = [this](TSymbolImgPanel *Tile) {
        Guard([this, Tile] { SymbolImgPanelClick(Tile); });
    };
    TSymbolImgPanel::UpdateProc = [this](TSymbolImgPanel *Tile) {
        Guard([this, Tile] { SymbolImgPanelUpdate(Tile); });
    };
    TSymbolImgPanel::DblClickProc = [this](TSymbolImgPanel *Tile) {
        Guard([this, Tile] { SymbolImgPanelDblClick(Tile); });
    };
}

void TMainForm::UninstallTileCallbacks()
{
    TSymbolImgPanel::ClickProc = nullptr;
    TSymbolImgPanel::UpdateProc = nullptr;
    TSymbolImgPanel::DblClickProc = nullptr;
}

void TMainForm::SymbolImgPanelClick(TSymbolImgPanel *Tile)
{
    bDeleteImage->setEnabled(Tile->ImageIndex >= 0);
    // All images of a symbol share its anchor: the picture is not placed again.
    if (LoadPictureFile(SymbolImage, ResolveImagePath(storedPathOf(*Tile), ProjectFile())))
        SymbolImage->adjustSize();
    for (TSymbolImgPanel *other : Tiles())
        if (other != Tile)
            other->Mark->hide();
}

void TMainForm::SymbolImgPanelUpdate(TSymbolImgPanel *Tile)
{
    // Edits of one tile's value, keystroke by keystroke, are one step; choosing Default swaps
    // the images.
    const bool swap = Tile->ValueType->currentIndex() == TSymbolImgPanel::vtDefault;
    const TStepScope step(
        *this, swap ? QStringLiteral("Set Default Image") : QStringLiteral("Change Image Value"),
        swap ? QString() : QStringLiteral("tile %1").arg(Tile->ImageIndex), Tile->Symbol);
    if (!FSelectedSymbol)
        SetSelectedSymbol(Tile->Symbol);
    if (Tile->ImageIndex < 0) {
        FDialogs.Beep();
        return;
    }
    if (Tile->ImageIndex < Tile->Symbol->StateImages.size())
        Tile->UpdatePanel(Tile->Symbol->StateImages[Tile->ImageIndex]);
}

void TMainForm::SymbolImgPanelDblClick(TSymbolImgPanel *Tile)
{
    const TStepScope step(*this, QStringLiteral("Replace Image"), QString(), Tile->Symbol);
    TViraSymbol &symbol = *Tile->Symbol;
    const bool isState = Tile->ImageIndex >= 0;
    if (isState && Tile->ImageIndex >= symbol.StateImages.size())
        return;
    QString &current = isState ? symbol.StateImages[Tile->ImageIndex].Value : symbol.Image;
    sOpenPictureDialog1.FileName = current;
    if (!FDialogs.Execute(sOpenPictureDialog1))
        return;
    const QString fileName = sOpenPictureDialog1.FileName;
    current = fileName;
    if (LoadPictureFile(Tile->Image, fileName))
        Tile->Image->setToolTip(fileName);
    if (!Tile->Mark->isHidden() && LoadPictureFile(SymbolImage, fileName))
        SymbolImage->adjustSize();
    ReportUnreadablePicture(fileName);
}

void TMainForm::bAddImageClick()
{
    if (!FSelectedSymbol)
        return;
    const TStepScope step(*this, QStringLiteral("Add Image"));
    if (FDialogs.Execute(sOpenPictureDialog1))
        AddStateImage(sOpenPictureDialog1.FileName);
    FinishAddImage();
}

void TMainForm::AddStateImage(const QString &FileName)
{
    const TViraSymbolPtr symbol = FSelectedSymbol;
    symbol->StateImages.append({QStringLiteral("1"), FileName});
    // Building it writes "1" into its value field: the pair is written back, the strip
    // sorted, and the new tile marked and shown in the preview.
    auto *tile = new TSymbolImgPanel(sbImagesScrollBox->widget(), symbol,
                                     int(symbol->StateImages.size() - 1), ProjectFile());
    tile->SortAndSpace();
    FitStripToTiles();
    sbImagesScrollBoxResize();
    sbImagesScrollBox->ensureWidgetVisible(tile);
    ReportUnreadablePicture(FileName);
}

void TMainForm::FinishAddImage()
{
    const TViraSymbolPtr symbol = FSelectedSymbol;
    if (!symbol)
        return;
    // An image that gets states is a symbol.
    if (!symbol->Symbol) {
        symbol->Symbol = true;
        UpdateSymbolView(symbol);
    }
    if (TSymbolListItem *row = SelectedRow())
        FillListItem(row, symbol);
    RefreshListIcons();
}

void TMainForm::bDeleteImageClick()
{
    const TViraSymbolPtr symbol = FSelectedSymbol;
    if (!symbol)
        return;
    const TStepScope step(*this, QStringLiteral("Delete Image"));

    TSymbolImgPanel *marked = nullptr;
    for (TSymbolImgPanel *tile : Tiles())
        if (!tile->Mark->isHidden())
            marked = tile;

    int deleted = -1;
    if (marked && marked->ImageIndex >= 0) {
        deleted = marked->ImageIndex;
        if (deleted < symbol->StateImages.size())
            symbol->StateImages.removeAt(deleted);
        delete marked;
    }

    if (LoadPictureFile(SymbolImage, ResolveImagePath(symbol->Image, ProjectFile())))
        SymbolImage->adjustSize();

    const QList<TSymbolImgPanel *> remaining = Tiles();
    for (TSymbolImgPanel *tile : remaining) {
        if (deleted >= 0 && tile->ImageIndex > deleted)
            --tile->ImageIndex;
        if (tile->ImageIndex == -1)
            tile->Mark->show();
    }
    bDeleteImage->setEnabled(false);
    if (!remaining.isEmpty())
        remaining.first()->SortAndSpace();
    FitStripToTiles();
    RefreshListIcons();
}
