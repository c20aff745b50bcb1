#pragma once

#include "document/GlyphbookDocument.h"

#include <QEvent>
#include <QLabel>

class QCheckBox;
class QLineEdit;
class TDottedLine;
class TErrorGuard;
class TPreviewMagnifier;

/// The preview: the grid, and over it the selected symbol's picture placed by its anchor on
/// the grid's origin, the example text at its text point, the crosses, and the magnifier of
/// the zoom. Its mouse gestures place the points; it reports them as the positions a user
/// would type, for the settings to store.
class TSymbolPreviewPanel : public QLabel
{
    Q_OBJECT

public:
    /// The grid origin, relative to the grid picture's top-left corner.
    static constexpr int GridOriginX = 240;
    static constexpr int GridOriginY = 180;

    /// The grid and its elements at their designed places in Parent.
    TSymbolPreviewPanel(TGlyphbookDocument &Document, const TErrorGuard &Guard, QWidget *Parent);

    // The preview's elements, from the bottom of the stacking order to its top.
    QLabel *SymbolImage = nullptr;
    QLabel *lExampleText = nullptr;
    TDottedLine *shapeX = nullptr;
    TDottedLine *shapeY = nullptr;
    TDottedLine *shapeTX = nullptr;
    TDottedLine *shapeTY = nullptr;
    TPreviewMagnifier *PreviewZoom = nullptr;
    QLineEdit *eExampleText = nullptr;
    QCheckBox *cbCross = nullptr;
    QCheckBox *cbShowTextCross = nullptr;

    // The drag: where the press was, in the pressed element's pixels, and whether it moves.
    qint32 StartX = 0;
    qint32 StartY = 0;
    bool IsMoving = false;

    /// Shows Symbol's main picture (Index -1) or its state picture Index, placed by Symbol's
    /// points. A file that cannot be shown shows the missing-picture mark.
    void ShowSymbolImage(const TViraSymbolPtr &Symbol, int Index);
    /// Shows the picture stored under Path, where the symbol's points place it now.
    void ShowPicture(const QString &Path);
    /// Loads the shown picture again from its file, which changed on the disk.
    void ReloadPicture();
    /// Shows or hides the picture and the example text.
    void SetEditing(bool State);

    /// The magnification: 1 (100 %) to 8 (800 %).
    int Zoom() const;
    void SetZoom(int Zoom);

signals:
    /// The mouse placed a point, at a position in the picture's pixels; the positions of one
    /// gesture share their Step.
    void anchorPlaced(qint64 X, qint64 Y, const TStep &Step);
    void textPointPlaced(qint64 X, qint64 Y, const TStep &Step);
    /// A middle click on the grid: both points go to the picture's corner.
    void pointsCleared(const TStep &Step);
    void zoomChanged(int Zoom);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void paintEvent(QPaintEvent *Event) override;

private:
    TGlyphbookDocument &FDocument;
    const TErrorGuard &FGuard;
    /// The gesture the mouse is in; its writes are one step.
    int FGesture = 0;
    /// A drag runs from the press to the release or the pointer leaving.
    bool FDragging = false;
    /// The grid picture in whole device pixels of the screen it was last drawn on.
    QPixmap FDeviceGrid;
    /// The stored path of the picture shown.
    QString FShownPath;
    /// Loads the picture stored under Path; one that cannot be shown gets the missing mark
    /// when MarkMissing, else leaves the picture shown.
    void LoadPicture(const QString &Path, bool MarkMissing);

    void CreateElements();
    void CreateOptions();
    /// Places the picture by Symbol's anchor and the example text and its lines at its text
    /// point.
    void PlacePreview(const TViraSymbol &Symbol);
    void ShowSelection(const TViraSymbolPtr &Symbol);
    void ShowChange(const TViraSymbolPtr &Symbol);
    TStep GestureStep() const;

    /// Whether the mouse may place points: a symbol is selected and it is a symbol.
    bool CanPlacePoints() const;
    /// Hands a mouse event of the picture, the label or the grid to its handler; true when
    /// the event was one of theirs.
    bool PreviewMouseEvent(QObject *Watched, QEvent *Event);
    /// Runs the handler of Element for a mouse event of Type at At, in the element's own pixels.
    void PreviewMouse(QWidget *Element, QEvent::Type Type, Qt::MouseButton Button,
                      Qt::KeyboardModifiers Shift, QPoint At);
    void SymbolImageMouseDown(int X, int Y);
    void SymbolImageMouseMove(int X, int Y);
    void SymbolImageMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ImageGridMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void lExampleTextMouseMove(int X, int Y);
    void lExampleTextMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
};
