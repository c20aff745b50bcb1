#pragma once

#include "document/GlyphbookDocument.h"
#include "ui/CentredGroupBox.h"

#include <QList>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class TErrorGuard;

/// The settings of the selected symbol: identifier, names in the shown languages, the anchor
/// and text points with the arrow buttons that move them, the Symbol flag and the alignment.
/// Any change of a field writes every field into the symbol through the document, as one
/// step; a focused point field keeps what the user types while the symbol is shown again.
class TSymbolSettingsPanel : public TCentredGroupBox
{
    Q_OBJECT

public:
    TSymbolSettingsPanel(TGlyphbookDocument &Document, const TErrorGuard &Guard, QWidget *Parent);

    /// The point the arrows move and the mouse places.
    enum TPoint { ptAnchor, ptText };

    /// The 21 name fields and their language labels; the first ones show the shown languages.
    QList<QLineEdit *> NameEdits;
    QList<QLabel *> NameLabels;

    /// Writes X and Y into the fields of Point, as the user would type them: they are stored as
    /// one Step. Choose makes Point the chosen one.
    void WritePoint(TPoint Point, qint64 X, qint64 Y, const TStep &Step, bool Choose);
    /// Writes X and Y into the fields of the chosen point.
    void WriteChosenPoint(qint64 X, qint64 Y, const TStep &Step);
    /// Writes 0 into all four point fields, as one Step.
    void ClearPoints(const TStep &Step);

    /// Writes Symbol into the fields; a focused point field keeps what is typed, except when
    /// undo or redo brings a symbol back.
    void ShowSymbolFields(const TViraSymbol &Symbol);
    /// Switches the fields on or off.
    void SetEditing(bool State);

private:
    TGlyphbookDocument &FDocument;
    const TErrorGuard &FGuard;
    QLineEdit *FIdentifier;
    QToolButton *FUp;
    QToolButton *FDown;
    QToolButton *FLeft;
    QToolButton *FRight;
    QRadioButton *FAnchorChosen;
    QRadioButton *FTextChosen;
    QLineEdit *FAnchorX;
    QLineEdit *FAnchorY;
    QCheckBox *FIsSymbol;
    QLineEdit *FTextX;
    QLineEdit *FTextY;
    QComboBox *FTextAlign;

    /// Filling the fields from a symbol: their change events store nothing.
    int FShowing = 0;
    /// The fields' own change is being stored: the symbol shown again keeps a focused field.
    int FWriting = 0;
    /// The step of fields written from outside, instead of the field's own.
    std::optional<TStep> FStepOverride;

    void CreateControls();
    void CreateNameFields();
    void WireFields();
    /// Any field's change: every field is written into the selected symbol.
    void EditChange(const QObject *Field);
    /// The step a change of Field starts.
    TStep FieldStep(const QObject *Field) const;
    /// Moves the chosen point one pixel; AnchorStep is the anchor's change, the text point
    /// changes the other way.
    void MovePointByArrow(Qt::Orientation Direction, int AnchorStep);
    /// Runs Write with the fields' step set to Step.
    void WriteWithStep(const TStep &Step, const std::function<void()> &Write);

    // What the document says.
    void ShowSelection(const TViraSymbolPtr &Symbol);
    void ShowChange(const TViraSymbolPtr &Symbol);
    void ShowLanguages();
    /// Shows Symbol's names in the visible name fields.
    void ShowNames(const TViraSymbol &Symbol);
};
