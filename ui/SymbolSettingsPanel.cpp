#include "ui/SymbolSettingsPanel.h"

#include "model/IntegerText.h"
#include "ui/ErrorGuard.h"
#include "ui/LayoutPlacing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace
{
constexpr int kNameFieldCount = 21;
constexpr int kEditHeight = 21;

QToolButton *placeArrowButton(const char *Name, const QString &Picture, int Left, int Top,
                              QWidget *Parent)
{
    auto *button = named(new QToolButton(Parent), Name);
    button->setGeometry(Left, Top, 20, 20);
    button->setIcon(QIcon(Picture));
    button->setIconSize(QSize(20, 20));
    return button;
}

void writeNumber(QLineEdit *Field, qint64 Value)
{
    Field->setText(QString::number(Value));
}

} // namespace

TSymbolSettingsPanel::TSymbolSettingsPanel(TGlyphbookDocument &Document, const TErrorGuard &Guard,
                                           QWidget *Parent)
    : TCentredGroupBox(QStringLiteral("Symbol Settings"), Parent), FDocument(Document),
      FGuard(Guard)
{
    setObjectName(QStringLiteral("gbSettings"));
    setGeometry(423, 1, 680, 200);
    setMinimumWidth(450);
    CreateControls();
    CreateNameFields();
    WireFields();

    connect(&FDocument, &TGlyphbookDocument::selectedSymbolChanged, this,
            &TSymbolSettingsPanel::ShowSelection);
    connect(&FDocument, &TGlyphbookDocument::symbolChanged, this,
            &TSymbolSettingsPanel::ShowChange);
    connect(&FDocument, &TGlyphbookDocument::languagesChanged, this,
            &TSymbolSettingsPanel::ShowLanguages);
}

void TSymbolSettingsPanel::CreateControls()
{
    placeLabel("sLabel1", QStringLiteral("Identifier"), 25, 14, this);
    FIdentifier =
        placeEdit("eIdentifier", QStringLiteral("SymbolID"), QRect(25, 33, 121, kEditHeight), this);
    placeLabel("sLabel2", QStringLiteral("Name"), 180, 14, this);

    FUp = placeArrowButton("sbbUp", QStringLiteral(":/glyphbook/arrow_up.png"), 70, 93, this);
    FDown =
        placeArrowButton("sbbDown", QStringLiteral(":/glyphbook/arrow_down.png"), 70, 145, this);
    FLeft =
        placeArrowButton("sbbLeft", QStringLiteral(":/glyphbook/arrow_left.png"), 45, 119, this);
    FRight =
        placeArrowButton("sbbRight", QStringLiteral(":/glyphbook/arrow_right.png"), 95, 119, this);

    FAnchorChosen = placeButton<QRadioButton>("srbAnchor", QStringLiteral("Anchorpoint"),
                                              {133, 103, 86, 19}, this);
    FAnchorChosen->setChecked(true);
    FTextChosen =
        placeButton<QRadioButton>("srbText", QStringLiteral("Textpoint"), {133, 136, 74, 19}, this);

    placeLabel("sLabel5", QStringLiteral("X"), 239, 105, this);
    FAnchorX = placeEdit("eAnchorX", QStringLiteral("0"), QRect(251, 102, 109, kEditHeight), this);
    placeLabel("sLabel6", QStringLiteral("Y"), 375, 105, this);
    FAnchorY = placeEdit("eAnchorY", QStringLiteral("0"), QRect(387, 102, 109, kEditHeight), this);
    FIsSymbol =
        placeButton<QCheckBox>("cbIsSymbol", QStringLiteral("Symbol"), {523, 102, 62, 19}, this);
    FIsSymbol->setChecked(true);

    placeLabel("sLabel8", QStringLiteral("X"), 239, 140, this);
    FTextX = placeEdit("eTextX", QStringLiteral("0"), QRect(251, 135, 109, kEditHeight), this);
    placeLabel("sLabel9", QStringLiteral("Y"), 375, 140, this);
    FTextY = placeEdit("eTextY", QStringLiteral("0"), QRect(389, 135, 109, kEditHeight), this);

    FTextAlign = named(new QComboBox(this), "cbTextAlign");
    FTextAlign->setGeometry(523, 135, 145, kEditHeight);
    FTextAlign->setEditable(true);
    FTextAlign->setInsertPolicy(QComboBox::NoInsert);
    // The typed text is matched exactly: a completer would turn "L" into "Left" as it is typed
    // and "center" into "Center" when the focus leaves.
    FTextAlign->setCompleter(nullptr);
    // Item index = alignment value: Right 0, Center 1, Left 2.
    FTextAlign->addItems(
        {QStringLiteral("Right"), QStringLiteral("Center"), QStringLiteral("Left")});
    FTextAlign->setCurrentIndex(-1);
    FTextAlign->setEditText(QStringLiteral("Rigth"));
}

void TSymbolSettingsPanel::CreateNameFields()
{
    for (int k = 0; k < kNameFieldCount; ++k) {
        auto *field = placeEdit("", QString(), QRect(180 + 152 * k, 33, 120, kEditHeight), this);
        field->hide();
        NameEdits.append(field);
    }
    for (int k = 0; k < kNameFieldCount; ++k) {
        auto *label = new QLabel(QStringLiteral("LC"), this);
        label->setGeometry(153 + 152 * k, 36, 24, label->sizeHint().height());
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        label->hide();
        NameLabels.append(label);
    }
}

void TSymbolSettingsPanel::WireFields()
{
    const auto onChange = [this](auto *Field, auto Signal) {
        connect(Field, Signal, this, [this, Field] { FGuard.Run([&] { EditChange(Field); }); });
    };
    for (QLineEdit *field : {FIdentifier, FAnchorX, FAnchorY, FTextX, FTextY})
        onChange(field, &QLineEdit::textChanged);
    for (QLineEdit *field : std::as_const(NameEdits))
        onChange(field, &QLineEdit::textChanged);
    // Only the user's choices count: choosing an item from code notifies nothing.
    onChange(FTextAlign, &QComboBox::activated);
    onChange(FTextAlign->lineEdit(), &QLineEdit::textEdited);
    onChange(FIsSymbol, &QCheckBox::toggled);

    FGuard.Connect(FUp, &QToolButton::clicked, this,
                   [this] { MovePointByArrow(Qt::Vertical, +1); });
    FGuard.Connect(FDown, &QToolButton::clicked, this,
                   [this] { MovePointByArrow(Qt::Vertical, -1); });
    FGuard.Connect(FLeft, &QToolButton::clicked, this,
                   [this] { MovePointByArrow(Qt::Horizontal, +1); });
    FGuard.Connect(FRight, &QToolButton::clicked, this,
                   [this] { MovePointByArrow(Qt::Horizontal, -1); });
}

void TSymbolSettingsPanel::EditChange(const QObject *Field)
{
    // Held here: showing the change may run this handler again from inside.
    const TViraSymbolPtr symbol = FDocument.SelectedSymbol();
    if (!symbol || FShowing > 0)
        return;
    TViraSymbol after = *symbol;
    after.Identifier = FIdentifier->text();

    // The coordinates are read in order up to the first field that holds no integer, which
    // the user is probably still typing.
    const std::array<std::pair<const QLineEdit *, qint32 *>, 4> points{{
        {FAnchorX, &after.ImageX},
        {FAnchorY, &after.ImageY},
        {FTextX, &after.TextX},
        {FTextY, &after.TextY},
    }};
    for (const auto &[field, coordinate] : points) {
        const std::optional<qint32> value = TryStrToInt(field->text());
        if (!value)
            break;
        *coordinate = *value;
    }

    // A typed text that names no alignment gives index -1, stored as the byte 255.
    const int align =
        FTextAlign->findText(FTextAlign->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    after.TextAlign = static_cast<TVSTextAlign>(static_cast<std::uint8_t>(align));
    after.Symbol = FIsSymbol->isChecked();

    // The shown languages' names are replaced where they stand or appended; names in
    // languages without a column are kept, as they are the user's translations.
    for (int k = 0; k < NameEdits.size(); ++k) {
        if (NameEdits[k]->isHidden())
            continue;
        const QString code = NameLabels[k]->text();
        const auto pair = std::find_if(after.Names.begin(), after.Names.end(),
                                       [&](const TStringPairs &Name) { return Name.Name == code; });
        if (pair != after.Names.end())
            pair->Value = NameEdits[k]->text();
        else
            after.Names.append({code, NameEdits[k]->text()});
    }

    const QScopedValueRollback writing(FWriting, FWriting + 1);
    // Nothing to store (a coordinate that is no integer): the fields show the symbol again.
    if (SameContent(*symbol, after))
        ShowSymbolFields(*symbol);
    else
        FDocument.ChangeSymbol(symbol, after, FStepOverride ? *FStepOverride : FieldStep(Field));
}

TStep TSymbolSettingsPanel::FieldStep(const QObject *Field) const
{
    // Keystrokes in one field that follow one another are one step.
    if (Field == FIdentifier)
        return {QStringLiteral("Edit Identifier"), TStepId::EditIdentifier, 0};
    if (Field == FAnchorX || Field == FAnchorY)
        return {QStringLiteral("Edit Anchor"), TStepId::EditAnchor, Field == FAnchorY};
    if (Field == FTextX || Field == FTextY)
        return {QStringLiteral("Edit Text Point"), TStepId::EditTextPoint, Field == FTextY};
    if (Field == FTextAlign || Field == FTextAlign->lineEdit())
        return {QStringLiteral("Change Alignment"), TStepId::ChangeAlignment, Field == FTextAlign};
    if (Field == FIsSymbol)
        return {QStringLiteral("Change Symbol Flag")};
    for (int k = 0; k < NameEdits.size(); ++k)
        if (Field == NameEdits[k])
            return {QStringLiteral("Edit Name"), TStepId::EditName, k};
    return {QStringLiteral("Edit Symbol")};
}

void TSymbolSettingsPanel::WriteWithStep(const TStep &Step, const std::function<void()> &Write)
{
    const std::optional<TStep> former = std::exchange(FStepOverride, Step);
    Write();
    FStepOverride = former;
}

void TSymbolSettingsPanel::WritePoint(TPoint Point, qint64 X, qint64 Y, const TStep &Step,
                                      bool Choose)
{
    WriteWithStep(Step, [&] {
        writeNumber(Point == ptAnchor ? FAnchorX : FTextX, X);
        writeNumber(Point == ptAnchor ? FAnchorY : FTextY, Y);
    });
    if (Choose)
        (Point == ptAnchor ? FAnchorChosen : FTextChosen)->setChecked(true);
}

void TSymbolSettingsPanel::WriteChosenPoint(qint64 X, qint64 Y, const TStep &Step)
{
    WritePoint(FTextChosen->isChecked() ? ptText : ptAnchor, X, Y, Step, false);
}

void TSymbolSettingsPanel::ClearPoints(const TStep &Step)
{
    WriteWithStep(Step, [&] {
        for (QLineEdit *field : {FAnchorX, FAnchorY, FTextX, FTextY})
            field->setText(QStringLiteral("0"));
    });
}

void TSymbolSettingsPanel::MovePointByArrow(Qt::Orientation Direction, int AnchorStep)
{
    const TViraSymbolPtr symbol = FDocument.SelectedSymbol();
    if (!symbol)
        return;
    // Clicks on one arrow, one after the other, are one step.
    const bool anchor = FAnchorChosen->isChecked();
    const TStep step{QString(), TStepId::MoveByArrow,
                     (Direction == Qt::Vertical ? 4 : 0) + (AnchorStep > 0 ? 2 : 0) + anchor};
    // The text point counts in screen directions, the anchor against them: a larger anchor
    // moves the picture up and left.
    WriteWithStep(step, [&] {
        if (anchor) {
            if (Direction == Qt::Vertical)
                writeNumber(FAnchorY, qint64(symbol->ImageY) + AnchorStep);
            else
                writeNumber(FAnchorX, qint64(symbol->ImageX) + AnchorStep);
        } else if (FTextChosen->isChecked()) {
            if (Direction == Qt::Vertical)
                writeNumber(FTextY, qint64(symbol->TextY) - AnchorStep);
            else
                writeNumber(FTextX, qint64(symbol->TextX) - AnchorStep);
        }
    });
}

void TSymbolSettingsPanel::ShowSymbolFields(const TViraSymbol &Symbol)
{
    FIdentifier->setText(Symbol.Identifier);
    // Each write below can run the change handling, which re-reads the symbol; so every value
    // is taken from the symbol at the moment it is written.
    const std::pair<QLineEdit *, const qint32 TViraSymbol::*> points[] = {
        {FAnchorX, &TViraSymbol::ImageX},
        {FAnchorY, &TViraSymbol::ImageY},
        {FTextX, &TViraSymbol::TextX},
        {FTextY, &TViraSymbol::TextY}};
    for (const auto &[field, value] : points)
        if (!field->hasFocus() || FDocument.IsRestoring())
            writeNumber(field, Symbol.*value);

    // Only a different alignment is selected: re-selecting would wipe what the user is typing
    // into the box while it matches no item.
    const int alignIndex = Symbol.TextAlign < FTextAlign->count() ? Symbol.TextAlign : -1;
    if (FTextAlign->findText(FTextAlign->currentText(),
                             Qt::MatchExactly | Qt::MatchCaseSensitive) != alignIndex)
        FTextAlign->setCurrentIndex(alignIndex);
    FIsSymbol->setChecked(Symbol.Symbol);
    ShowNames(Symbol);

    for (QWidget *control : {static_cast<QWidget *>(FAnchorX), static_cast<QWidget *>(FAnchorY),
                             static_cast<QWidget *>(FTextX), static_cast<QWidget *>(FTextY),
                             static_cast<QWidget *>(FTextAlign)})
        control->setEnabled(Symbol.Symbol);
}

void TSymbolSettingsPanel::SetEditing(bool State)
{
    setEnabled(State);
    if (State)
        update();
}

void TSymbolSettingsPanel::ShowSelection(const TViraSymbolPtr &Symbol)
{
    if (Symbol) {
        // Filling the fields fires their change events, which must not write back.
        const QScopedValueRollback showing(FShowing, FShowing + 1);
        ShowSymbolFields(*Symbol);
    }
    SetEditing(Symbol != nullptr);
}

void TSymbolSettingsPanel::ShowChange(const TViraSymbolPtr &Symbol)
{
    if (Symbol != FDocument.SelectedSymbol())
        return;
    // While the fields' own change is stored, writing them again may store more, as the user's
    // typing does; any other change is only shown.
    const QScopedValueRollback showing(FShowing, FShowing + (FWriting == 0 ? 1 : 0));
    ShowSymbolFields(*Symbol);
}

void TSymbolSettingsPanel::ShowLanguages()
{
    const QStringList &codes = FDocument.Languages();
    const int count = int(codes.size());
    for (int k = 0; k < count; ++k) {
        NameLabels[k]->setText(codes[k]);
        NameLabels[k]->show();
        NameEdits[k]->show();
    }

    int minimumWidth = 0;
    if (count > 0) {
        const QRect last = NameEdits[count - 1]->geometry();
        minimumWidth = last.x() + last.width() + 2;
    }
    if (minimumWidth < 450)
        minimumWidth = FAnchorChosen->geometry().x() + FAnchorChosen->width() + 2;
    setMinimumWidth(minimumWidth);
    if (width() < minimumWidth)
        resize(minimumWidth, height());

    for (int k = count; k < NameEdits.size(); ++k) {
        NameLabels[k]->hide();
        NameEdits[k]->hide();
    }

    if (const TViraSymbolPtr selected = FDocument.SelectedSymbol()) {
        // The fields' change events must not write the half-updated names back.
        const QScopedValueRollback showing(FShowing, FShowing + 1);
        ShowNames(*selected);
    }
}

void TSymbolSettingsPanel::ShowNames(const TViraSymbol &Symbol)
{
    const QStringList &codes = FDocument.Languages();
    for (int k = 0; k < codes.size() && k < NameEdits.size(); ++k)
        NameEdits[k]->setText(Symbol.FindName(codes[k]));
}
