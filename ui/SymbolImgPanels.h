#pragma once

#include "model/ViraSymbol.h"

#include <QFrame>
#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;

/// The yellow rectangle outline that marks the current tile of the image strip.
class TSymbolMark : public QWidget
{
public:
    explicit TSymbolMark(QWidget *Parent);

protected:
    void paintEvent(QPaintEvent *Event) override;
};

/// One tile of the image strip: the symbol's main image (ImageIndex -1) or one of its state
/// images, with the image's value type and state value. Tiles are children of the strip's
/// content area and reach the main window only through the three class-level callbacks.
class TSymbolImgPanel : public QFrame
{
    Q_OBJECT

public:
    using TPanelProc = std::function<void(TSymbolImgPanel *)>;

    /// Value type items, by index of ValueType.
    enum TValueType { vtDefault = 0, vtValue = 1, vtAlarm = 2, vtMO_Off = 3, vtMO = 4 };

    /// Builds the tile as a hidden child of AOwner, the strip's content area. A bare image file
    /// name is looked up in the folder of ProjectFile. A state tile whose value is not "0" runs
    /// the update and click paths while it is built.
    TSymbolImgPanel(QWidget *AOwner, TViraSymbolPtr Symbol, int Index,
                    const QString &ProjectFile = QString());

    TViraSymbolPtr Symbol;
    /// -1: the symbol's main image; n >= 0: state image n.
    qint32 ImageIndex = -1;
    QLineEdit *Value = nullptr;
    TSymbolMark *Mark = nullptr;
    QLabel *Image = nullptr;
    QComboBox *ValueType = nullptr;
    /// The image path as stored in the symbol when the tile was built.
    QString FileName;

    /// Called when a tile becomes the marked tile.
    static TPanelProc ClickProc;
    /// Called when a tile's value or value type changes; expected to pass the tile's state pair
    /// to UpdatePanel.
    static TPanelProc UpdateProc;
    /// Called on a double click on a tile or its picture.
    static TPanelProc DblClickProc;

    /// Writes the tile's value type and value into Data, the state pair at ImageIndex; the value
    /// type "Default" makes this tile's image the symbol's main image. Then sorts the strip.
    void UpdatePanel(TStringPairs &Data) { UpdatePanel(Data, Symbol->Image); }
    /// The same with the main image in MainImage: the pair and the main image of a copy of the
    /// symbol, to be stored as one change.
    void UpdatePanel(TStringPairs &Data, QString &MainImage);
    /// Sorts all tiles of this tile's strip and lays them out side by side, shown.
    void SortAndSpace();
    /// The tile follows the strip's height: the strip's resize handler re-heights each tile
    /// through this, which keeps its left, top and width.
    void SetHeight(int Height);

    void OnSymbolClick(QObject *Sender);
    void OnSymbolDblClick(QObject *Sender);
    void OnUpdate(QObject *Sender);
    void Resezise(QObject *Sender);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    /// Space marks the tile and Return replaces its image, as a click and a double click do.
    void keyPressEvent(QKeyEvent *Event) override;
    void paintEvent(QPaintEvent *Event) override;

private:
    /// Turns presses and releases on the tile or its picture into clicks and double clicks.
    /// Returns true when the event was one of them.
    bool HandleMouse(QWidget *Sender, QMouseEvent *Event);
    /// The integer in the value field; 0 when it holds none.
    qint32 ValueNumber() const;
    static int CompareTiles(const TSymbolImgPanel *A, const TSymbolImgPanel *B);

    /// A left press landed on the tile or its picture and has not been released yet.
    bool FClickPressed = false;
};
