// The Symbol menu's commands on whole symbols: Add New (one picture, or several by state
// family after the batch import dialog), Duplicate, Delete, and Place Point.
#include "ui/MainGlyphbook.h"

#include "model/ImagePath.h"
#include "ui/BatchImportDialog.h"
#include "ui/PictureFile.h"
#include "ui/SymbolSettingsPanel.h"

#include <QAction>
#include <QImageReader>
#include <QMenu>

namespace
{
/// A spot of the picture: its caption, the digit of its shortcut, and where it lies across
/// and down (0 start, 1 middle, 2 end).
struct TPointSpot {
    const char *Caption;
    Qt::Key Digit;
    int Across;
    int Down;
};

// Keypad order: 7 8 9 on top, 1 2 3 at the bottom.
constexpr TPointSpot kSpots[] = {
    {QT_TRANSLATE_NOOP("TMainForm", "Top Left"), Qt::Key_7, 0, 0},
    {QT_TRANSLATE_NOOP("TMainForm", "Top Center"), Qt::Key_8, 1, 0},
    {QT_TRANSLATE_NOOP("TMainForm", "Top Right"), Qt::Key_9, 2, 0},
    {QT_TRANSLATE_NOOP("TMainForm", "Middle Left"), Qt::Key_4, 0, 1},
    {QT_TRANSLATE_NOOP("TMainForm", "Center"), Qt::Key_5, 1, 1},
    {QT_TRANSLATE_NOOP("TMainForm", "Middle Right"), Qt::Key_6, 2, 1},
    {QT_TRANSLATE_NOOP("TMainForm", "Bottom Left"), Qt::Key_1, 0, 2},
    {QT_TRANSLATE_NOOP("TMainForm", "Bottom Center"), Qt::Key_2, 1, 2},
    {QT_TRANSLATE_NOOP("TMainForm", "Bottom Right"), Qt::Key_3, 2, 2},
};

/// The picture pixel at Place (0, 1, 2) along a side Length pixels long; the middle of an odd
/// length rounds down.
int spotOnSide(int Place, int Length)
{
    switch (Place) {
    case 0:
        return 0;
    case 1:
        return Length / 2;
    default:
        return Length - 1;
    }
}
} // namespace

void TMainForm::miNewSymbolClick()
{
    // Several pictures may be chosen at once; they become symbols by state family.
    sOpenPictureDialog1.Multiple = true;
    const bool chosen = FDialogs.Execute(sOpenPictureDialog1);
    sOpenPictureDialog1.Multiple = false;
    if (chosen)
        AddNewSymbols(sOpenPictureDialog1.FileNames);
}

void TMainForm::AddNewSymbols(const QStringList &Pictures)
{
    if (Pictures.isEmpty())
        return;
    if (Pictures.size() == 1) {
        AddNewSymbol(Pictures.first());
        return;
    }
    TBatchImportDialog dialog(Pictures, this);
    if (FDialogs.RunDialog(dialog))
        AddFamilies(dialog.Families());
}

TViraSymbolPtr TMainForm::NewSymbolFromPicture(const QString &FileName) const
{
    auto symbol = std::make_shared<TViraSymbol>();
    symbol->Image = FileName;
    symbol->Identifier = FileNamePart(FileName);
    for (const QString &code : FDocument.Languages())
        symbol->Names.append({code, symbol->Identifier});
    symbol->Symbol = true;
    return symbol;
}

void TMainForm::AddNewSymbol(const QString &FileName)
{
    const TViraSymbolPtr symbol = NewSymbolFromPicture(FileName);
    FDocument.AddSymbols({symbol}, tr("Add Symbol"));
    FDocument.SetSelectedSymbol(symbol);
    ReportUnreadablePicture(FDialogs, FileName, FDocument.ProjectFile());
}

void TMainForm::AddFamilies(const QList<TStateFamily> &Families)
{
    if (Families.isEmpty())
        return;
    QList<TViraSymbolPtr> added;
    for (const TStateFamily &family : Families) {
        const TViraSymbolPtr symbol = NewSymbolFromPicture(family.Main);
        symbol->StateImages = family.States;
        added.append(symbol);
    }
    FDocument.AddSymbols(added, tr("Add Symbols"));
    // As when the pictures are added one by one, the last one's symbol ends up selected.
    FDocument.SetSelectedSymbol(added.constLast());
}

void TMainForm::miDupSymbClick()
{
    const TViraSymbolPtr selected = FDocument.SelectedSymbol();
    if (!selected)
        return;
    TViraGlyphbook copies;
    const TViraSymbolPtr copy = copies.AddCopy(*selected);
    copy->Identifier += QStringLiteral("_cpy");
    FDocument.AddSymbols({copy}, tr("Duplicate Symbol"));
    FDocument.SetSelectedSymbol(copy);
}

void TMainForm::miDeleteSymbolClick()
{
    const int index = FDocument.SelectedIndex();
    if (index < 0 || FDocument.Symbols().size() < 2) {
        FDialogs.Beep();
        return;
    }
    FDocument.RemoveSymbol(index);
}

void TMainForm::CreatePlacePointMenu()
{
    FSymbolMenu->addSeparator();
    QMenu *placePoint = FSymbolMenu->addMenu(tr("Place Point"));
    placePoint->setObjectName(QStringLiteral("mmPlacePoint"));
    for (const TPointSpot &spot : kSpots) {
        QAction *item = placePoint->addAction(tr(spot.Caption));
        item->setShortcut(QKeySequence(Qt::CTRL | spot.Digit));
        const int across = spot.Across;
        const int down = spot.Down;
        FGuard.Connect(item, &QAction::triggered, this,
                       [this, across, down] { PlacePoint(across, down); });
    }
}

void TMainForm::PlacePoint(int Across, int Down)
{
    const TViraSymbolPtr &selected = FDocument.SelectedSymbol();
    // All images of a symbol share its points; the main image is the one they are set on.
    const QSize size =
        selected ? QImageReader(ResolveImagePath(selected->Image, FDocument.ProjectFile())).size()
                 : QSize();
    if (size.isEmpty()) {
        FDialogs.Beep();
        return;
    }
    // Its two coordinates are one step, joined with no other placing.
    FSettings->WriteChosenPoint(spotOnSide(Across, size.width()), spotOnSide(Down, size.height()),
                                {tr("Place Point"), TStepId::PlacePoint, ++FPlacements});
}
