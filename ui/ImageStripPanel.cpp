#include "ui/ImageStripPanel.h"

#include "model/ImagePath.h"
#include "ui/ErrorGuard.h"
#include "ui/FileDrop.h"
#include "ui/GlyphbookDialogs.h"
#include "ui/LayoutPlacing.h"
#include "ui/PictureFile.h"
#include "ui/SymbolImgPanels.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

TImageStripPanel::TImageStripPanel(TGlyphbookDocument &Document, const TErrorGuard &Guard,
                                   TFileDialog &PictureDialog, QWidget *Parent)
    : QScrollArea(Parent), FDocument(Document), FGuard(Guard), FPictureDialog(PictureDialog)
{
    QWidget *area = Parent;
    placeLabel("sLabel10", tr("Images"), 433, 636, area);
    bAddImage = placeButton<QPushButton>("bAddImage", tr("Add Image"), {493, 634, 97, 19}, area);
    bDeleteImage =
        placeButton<QPushButton>("bDeleteImage", tr("Delete Image"), {596, 634, 97, 19}, area);

    describe(bAddImage, tr("Add Image"), tr("Adds a state image to the selected symbol"));
    describe(bDeleteImage, tr("Delete Image"), tr("Deletes the marked state image"));
    setObjectName(QStringLiteral("sbImagesScrollBox"));
    describe(this, tr("Images"),
             tr("The selected symbol's images: a click shows one, a double click replaces it"));
    setGeometry(423, 659, 680, 119);
    // The tiles are placed by hand; the content area is as high as the strip and as wide as
    // the tiles need, so the strip scrolls sideways only.
    setWidget(new QWidget);
    setWidgetResizable(true);
    installEventFilter(this);
    viewport()->setAcceptDrops(true);
    viewport()->installEventFilter(this);

    FGuard.Connect(bAddImage, &QPushButton::clicked, this, [this] { bAddImageClick(); });
    FGuard.Connect(bDeleteImage, &QPushButton::clicked, this, [this] { bDeleteImageClick(); });
    InstallTileCallbacks();
    connect(&FDocument, &TGlyphbookDocument::selectedSymbolChanged, this,
            &TImageStripPanel::ShowSelection);
    connect(&FDocument, &TGlyphbookDocument::libraryReset, this, &TImageStripPanel::RemoveAllTiles);
}

TImageStripPanel::~TImageStripPanel()
{
    TSymbolImgPanel::ClickProc = nullptr;
    TSymbolImgPanel::UpdateProc = nullptr;
    TSymbolImgPanel::DblClickProc = nullptr;
}

void TImageStripPanel::InstallTileCallbacks()
{
    TSymbolImgPanel::ClickProc = [this](TSymbolImgPanel *Tile) {
        FGuard.Run([this, Tile] { SymbolImgPanelClick(Tile); });
    };
    TSymbolImgPanel::UpdateProc = [this](TSymbolImgPanel *Tile) {
        FGuard.Run([this, Tile] { SymbolImgPanelUpdate(Tile); });
    };
    TSymbolImgPanel::DblClickProc = [this](TSymbolImgPanel *Tile) {
        FGuard.Run([this, Tile] { SymbolImgPanelDblClick(Tile); });
    };
}

QList<TSymbolImgPanel *> TImageStripPanel::Tiles() const
{
    // In the order the tiles were built.
    return widget()->findChildren<TSymbolImgPanel *>(QString(), Qt::FindDirectChildrenOnly);
}

void TImageStripPanel::RemoveAllTiles()
{
    QWidget *strip = widget();
    const QList<QWidget *> tiles = strip->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    // Deleted at once: a tile that lingered would still be counted by the strip's layout.
    qDeleteAll(tiles);
    strip->setMinimumWidth(0);
}

TSymbolImgPanel *TImageStripPanel::BuildTiles(const TViraSymbolPtr &Symbol)
{
    RemoveAllTiles();
    QWidget *strip = widget();
    auto *last = new TSymbolImgPanel(strip, Symbol, -1, FDocument.ProjectFile());
    last->Mark->show();
    // A state tile may mark itself and show its image while it is built.
    for (int k = 0; k < Symbol->StateImages.size(); ++k)
        last = new TSymbolImgPanel(strip, Symbol, k, FDocument.ProjectFile());
    FitTilesToStrip();
    return last;
}

void TImageStripPanel::ShowSelection(const TViraSymbolPtr &Symbol)
{
    if (Symbol) {
        TSymbolImgPanel *lastTile = nullptr;
        {
            // Building the tiles writes normalised state values back: showing is no change of
            // the user's.
            const TGlyphbookDocument::TUnrecorded showing(FDocument);
            lastTile = BuildTiles(Symbol);
        }
        // The tiles have noted missing image files by now.
        FDocument.SetImageMark(Symbol, Symbol->Error);
        lastTile->SortAndSpace();
        FitStripToTiles();
        bDeleteImage->setEnabled(false);
    }
    setVisible(Symbol != nullptr);
}

void TImageStripPanel::ReloadPictures()
{
    const TViraSymbolPtr symbol = FDocument.SelectedSymbol();
    if (!symbol)
        return;
    bool missing = false;
    for (TSymbolImgPanel *tile : Tiles()) {
        const QString stored = PicturePath(*tile->Symbol, tile->ImageIndex);
        if (LoadPictureFile(tile->Image, ResolveImagePath(stored, FDocument.ProjectFile()))) {
            tile->Image->setToolTip(stored);
        } else {
            tile->Image->clear();
            missing = true;
        }
    }
    if (symbol->Error != missing)
        FDocument.SetImageMark(symbol, missing);
}

void TImageStripPanel::ClickTile(int State)
{
    for (TSymbolImgPanel *tile : Tiles())
        if (tile->ImageIndex == State)
            tile->OnSymbolClick(tile);
}

void TImageStripPanel::FitStripToTiles()
{
    // A smaller minimum width alone leaves the content as wide as before, and the strip would
    // go on scrolling over empty space; a resize makes the strip fit it to the tiles again.
    QWidget *strip = widget();
    strip->resize(strip->minimumWidth(), strip->height());
}

void TImageStripPanel::FitTilesToStrip()
{
    // The strip's client area, without its frame and without a horizontal scroll bar that
    // shows: the tiles stand wholly visible in it.
    const int height = viewport()->height() - 2;
    for (TSymbolImgPanel *tile : Tiles())
        tile->SetHeight(height);
}

bool TImageStripPanel::eventFilter(QObject *Watched, QEvent *Event)
{
    // A horizontal scroll bar that comes or goes changes the client area's height.
    if ((Watched == this || Watched == viewport()) && Event->type() == QEvent::Resize)
        FGuard.Run([this] { FitTilesToStrip(); });
    else if (Watched == viewport() &&
             HandleFileDrop(Event, this, FGuard,
                            [this](const QStringList &Pictures) { AddStateImages(Pictures); }))
        return true;
    return QScrollArea::eventFilter(Watched, Event);
}

void TImageStripPanel::SymbolImgPanelClick(TSymbolImgPanel *Tile)
{
    bDeleteImage->setEnabled(Tile->ImageIndex >= 0);
    emit pictureChosen(PicturePath(*Tile->Symbol, Tile->ImageIndex));
    for (TSymbolImgPanel *other : Tiles())
        if (other != Tile)
            other->Mark->hide();
}

void TImageStripPanel::SymbolImgPanelUpdate(TSymbolImgPanel *Tile)
{
    const int index = Tile->ImageIndex;
    if (index < 0) {
        FGuard.Dialogs().Beep();
        return;
    }
    if (FTileEdit) {
        // The tile normalised its value, which runs this again before the first write ends.
        if (index < FTileEdit->StateImages.size())
            Tile->UpdatePanel(FTileEdit->StateImages[index], FTileEdit->Image);
        return;
    }
    const TViraSymbolPtr symbol = Tile->Symbol;
    if (index >= symbol->StateImages.size())
        return;
    // Edits of one tile's value, keystroke by keystroke, are one step; choosing Default swaps
    // the images.
    const bool swap = Tile->ValueType->currentIndex() == TSymbolImgPanel::vtDefault;
    const TStep step = swap ? TStep{tr("Set Default Image")}
                            : TStep{tr("Change Image Value"), TStepId::ChangeImageValue, index};
    TViraSymbol after = *symbol;
    {
        FTileEdit = &after;
        const auto done = qScopeGuard([this] { FTileEdit = nullptr; });
        Tile->UpdatePanel(after.StateImages[index], after.Image);
    }
    FDocument.ChangeSymbol(symbol, after, step);
}

void TImageStripPanel::SymbolImgPanelDblClick(TSymbolImgPanel *Tile)
{
    const TViraSymbolPtr symbol = Tile->Symbol;
    const bool isState = Tile->ImageIndex >= 0;
    if (isState && Tile->ImageIndex >= symbol->StateImages.size())
        return;
    TViraSymbol after = *symbol;
    QString &current = isState ? after.StateImages[Tile->ImageIndex].Value : after.Image;
    FPictureDialog.FileName = current;
    if (!FGuard.Dialogs().Execute(FPictureDialog))
        return;
    const QString fileName = FPictureDialog.FileName;
    current = fileName;
    FDocument.ChangeSymbol(symbol, after, {tr("Replace Image")});
    if (LoadPictureFile(Tile->Image, fileName))
        Tile->Image->setToolTip(fileName);
    if (!Tile->Mark->isHidden())
        emit pictureChosen(fileName);
    ReportUnreadablePicture(FGuard.Dialogs(), fileName, FDocument.ProjectFile());
}

void TImageStripPanel::bAddImageClick()
{
    if (!FDocument.SelectedSymbol())
        return;
    QStringList pictures;
    if (FGuard.Dialogs().Execute(FPictureDialog))
        pictures.append(FPictureDialog.FileName);
    AddImages(pictures, tr("Add Image"));
}

void TImageStripPanel::AddStateImages(const QStringList &Pictures)
{
    if (!FDocument.SelectedSymbol())
        return;
    AddImages(Pictures, Pictures.size() == 1 ? tr("Add Image") : tr("Add Images"));
}

void TImageStripPanel::AddImages(const QStringList &Pictures, const QString &Text)
{
    const TViraSymbolPtr symbol = FDocument.SelectedSymbol();
    TViraSymbol after = *symbol;
    for (const QString &picture : Pictures)
        after.StateImages.append({QStringLiteral("1"), picture});
    // An image that gets states is a symbol, even when no file was chosen.
    after.Symbol = true;
    FDocument.ChangeSymbol(symbol, after, {Text});
    for (qsizetype k = 0; k < Pictures.size(); ++k) {
        // Building it writes "1" into its value field: the pair is written back, the strip
        // sorted, and the new tile marked and shown in the preview.
        auto *tile = new TSymbolImgPanel(widget(), symbol,
                                         int(symbol->StateImages.size() - Pictures.size() + k),
                                         FDocument.ProjectFile());
        tile->SortAndSpace();
        FitStripToTiles();
        FitTilesToStrip();
        ensureWidgetVisible(tile);
        ReportUnreadablePicture(FGuard.Dialogs(), Pictures[k], FDocument.ProjectFile());
    }
    emit imagesChanged();
}

void TImageStripPanel::bDeleteImageClick()
{
    const TViraSymbolPtr symbol = FDocument.SelectedSymbol();
    if (!symbol)
        return;
    TSymbolImgPanel *marked = nullptr;
    for (TSymbolImgPanel *tile : Tiles())
        if (!tile->Mark->isHidden())
            marked = tile;

    int deleted = -1;
    if (marked && marked->ImageIndex >= 0) {
        deleted = marked->ImageIndex;
        TViraSymbol after = *symbol;
        if (deleted < after.StateImages.size())
            after.StateImages.removeAt(deleted);
        FDocument.ChangeSymbol(symbol, after, {tr("Delete Image")});
        delete marked;
    }
    emit pictureChosen(symbol->Image);

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
    emit imagesChanged();
}
