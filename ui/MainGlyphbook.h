#pragma once

#include "model/StateFamilies.h"
#include "model/ViraSymbol.h"
#include "ui/GlyphbookDialogs.h"

#include <QEvent>
#include <QIcon>
#include <QList>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QUndoStack;
class TAnchorLayout;
class TCheckLibraryWindow;
class TLibraryCheck;
struct TCheckOptions;
class TDottedLine;
class TPreviewMagnifier;
class TSymbolImgPanel;
class TSymbolListItem;

/// The editor's one window: the symbol list with its language columns, the settings of the
/// selected symbol, the preview over the grid, the image strip and the menus of every command.
///
/// The members are spread over one .cpp file per area: creation and layout
/// (MainGlyphbook.cpp), languages (MainGlyphbookLanguages.cpp), project commands
/// (MainGlyphbookProject.cpp), the symbol list (MainGlyphbookList.cpp), the preview
/// (MainGlyphbookPreview.cpp), the image strip (MainGlyphbookStrip.cpp), files dropped on the
/// window (MainGlyphbookDrops.cpp), packing and extraction (MainGlyphbookPack.cpp).
class TMainForm : public QMainWindow
{
public:
    /// Dialogs serves every modal interaction; ProgramFolder is where "Lang.txt", "help.html"
    /// and "Examples/SmallExampleLib.js" are looked up, then SharedFolder for those missing.
    TMainForm(TGlyphbookDialogs &Dialogs, QString ProgramFolder, QString SharedFolder = {},
              QWidget *Parent = nullptr);
    ~TMainForm() override;

    // Window state.
    TViraGlyphbook Glyphbook;
    /// The symbol being edited, or none.
    const TViraSymbolPtr &SelectedSymbol() const { return FSelectedSymbol; }
    /// The project file: the open dialog's file name, against whose folder bare image file
    /// names are resolved.
    const QString &ProjectFile() const { return sOpenDialog1.FileName; }
    QList<QLineEdit *> NameEdits;
    QList<QLabel *> NameLabels;
    qint32 StartX = 0;
    qint32 StartY = 0;
    bool IsMoving = false;

    // File dialogs with their current file names.
    TFileDialog sOpenDialog1;
    TFileDialog sSaveDialog1;
    TFileDialog sOpenPictureDialog1;
    TFileDialog sSaveDialog2;
    TFileDialog sOpenDialog2;

    /// The four 16 x 16 list icons: ico_symb, ico_symbR, ico_image, ico_imageErr.
    QList<QIcon> sILIcons;

    // Controls, by the names of the layout.
    QWidget *ClientArea = nullptr;
    QTreeWidget *dLV_Symbols = nullptr;
    QGroupBox *gbSettings = nullptr;
    QLabel *sLabel1 = nullptr;
    QLineEdit *eIdentifier = nullptr;
    QLabel *sLabel2 = nullptr;
    QToolButton *sbbUp = nullptr;
    QToolButton *sbbDown = nullptr;
    QToolButton *sbbLeft = nullptr;
    QToolButton *sbbRight = nullptr;
    QRadioButton *srbAnchor = nullptr;
    QRadioButton *srbText = nullptr;
    QLabel *sLabel5 = nullptr;
    QLineEdit *eAnchorX = nullptr;
    QLabel *sLabel6 = nullptr;
    QLineEdit *eAnchorY = nullptr;
    QCheckBox *cbIsSymbol = nullptr;
    QLabel *sLabel8 = nullptr;
    QLineEdit *eTextX = nullptr;
    QLabel *sLabel9 = nullptr;
    QLineEdit *eTextY = nullptr;
    QComboBox *cbTextAlign = nullptr;
    QLineEdit *eExampleText = nullptr;
    QLabel *ImageGrid = nullptr;
    QLabel *SymbolImage = nullptr;
    QLabel *lExampleText = nullptr;
    TDottedLine *shapeX = nullptr;
    TDottedLine *shapeY = nullptr;
    TDottedLine *shapeTX = nullptr;
    TDottedLine *shapeTY = nullptr;
    QLabel *sLabel10 = nullptr;
    QPushButton *bAddImage = nullptr;
    QPushButton *bDeleteImage = nullptr;
    QCheckBox *cbCross = nullptr;
    QCheckBox *cbShowTextCross = nullptr;
    QScrollArea *sbImagesScrollBox = nullptr;

    /// Every change of the library, one step each, for Undo and Redo.
    QUndoStack *UndoStack = nullptr;

    // Menus and their items.
    QMenu *mmFileMenu = nullptr;
    QAction *miOpenProject = nullptr;
    QAction *miSaveProject = nullptr;
    QAction *miOpenLib = nullptr;
    QAction *miPackLib = nullptr;
    QAction *miNewProject = nullptr;
    QAction *E1 = nullptr;
    QMenu *mmEdit = nullptr;
    QAction *miUndo = nullptr;
    QAction *miRedo = nullptr;
    QMenu *mmSymbol = nullptr;
    QAction *miNewSymbol = nullptr;
    QAction *miDupSymb = nullptr;
    QAction *miDeleteSymbol = nullptr;
    QMenu *mmLanguages = nullptr;
    QAction *miEN = nullptr;
    QAction *miSE = nullptr;
    QMenu *mmExamples = nullptr;
    QAction *SmallExamplejs1 = nullptr;
    QAction *H1 = nullptr;

    // Start-up and the editing area.
    void FormCreate();
    void SymbolEditEnabled(bool State);

    // Languages.
    void AddLanguage(const QString &Code, bool Checked);
    void CollectLanguages();
    void RebuildLanguageColumns();
    void miENClick();

    // Project commands.
    void miNewProjectClick();
    void miOpenProjectClick();
    void miSaveProjectClick();
    void E1Click();
    void H1Click();
    void SmallExamplejs1Click();

    // The symbol list.
    void FillListItem(TSymbolListItem *Row, const TViraSymbolPtr &Symbol);
    /// Adds one filled row per symbol of the library, sorting once at the end.
    void AddRowsForLibrary();
    /// Removes every row; the editing area stays as it is.
    void RemoveAllRows();
    void dLV_SymbolsSelectItem(QTreeWidgetItem *Item, bool Selected);
    void dLV_SymbolsDblClick();
    void AnyChange();
    void EditChange();
    void miNewSymbolClick();
    void miDupSymbClick();
    void miDeleteSymbolClick();

    /// Pauses the settings fields' write-back into the selected symbol while it lives, so the
    /// window can fill the fields from a symbol without their change events storing anything.
    class TWriteBackPause
    {
    public:
        explicit TWriteBackPause(TMainForm &Window) : FWindow(Window)
        {
            ++FWindow.FWriteBackPauses;
        }
        ~TWriteBackPause() { --FWindow.FWriteBackPauses; }
        TWriteBackPause(const TWriteBackPause &) = delete;
        TWriteBackPause &operator=(const TWriteBackPause &) = delete;

    private:
        TMainForm &FWindow;
    };

    // The preview (MainGlyphbookPreview.cpp).
    void ShowSymbolImage(const TViraSymbolPtr &Symbol, int Index);
    /// Places the preview, shows the fields and refreshes the rows of Symbol.
    void UpdateSymbolView(const TViraSymbolPtr &Symbol);
    void cbCrossClick();
    void cbShowTextCrossClick();
    void eExampleTextChange();
    void sbbUpClick();
    void sbbDownClick();
    void sbbLeftClick();
    void sbbRightClick();
    // Mouse handlers get the button, the modifier keys and the position in the element's own
    // coordinates. A press on the example label is handled as one on the picture, and so is
    // the pointer leaving it.
    void SymbolImageMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void SymbolImageMouseLeave();
    void SymbolImageMouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void SymbolImageMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ImageGridMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void lExampleTextMouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void lExampleTextMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

    // The image strip and its commands (MainGlyphbookStrip.cpp).
    void RefreshListIcons();
    void sbImagesScrollBoxResize();
    void bAddImageClick();
    void bDeleteImageClick();

    // Undo and redo (MainGlyphbookUndo.cpp).
    void miUndoClick();
    void miRedoClick();

    // Packing and extraction.
    void miPackLibClick();
    void miOpenLibClick();

    // Place Point (MainGlyphbookPlacePoint.cpp): nine spots of the picture, Ctrl+1 to Ctrl+9
    // in keypad order.
    QMenu *mmPlacePoint = nullptr;
    QList<QAction *> miPlacePoints;
    /// Writes the point chosen by the radio buttons as the picture pixel at Across, Down
    /// (0 start, 1 middle, 2 end); beeps without a selected symbol or a readable picture.
    void PlacePoint(int Across, int Down);

    // Zoom (MainGlyphbookZoom.cpp): the View menu and the magnified preview.
    QMenu *mmView = nullptr;
    QAction *miZoomIn = nullptr;
    QAction *miZoomOut = nullptr;
    QAction *miActualSize = nullptr;
    TPreviewMagnifier *PreviewZoom = nullptr;
    /// The preview's magnification: 1 (100 %) to 8 (800 %).
    int Zoom() const;
    void SetZoom(int Zoom);
    void miZoomInClick();
    void miZoomOutClick();
    void miActualSizeClick();

    // Find (MainGlyphbookFind.cpp): the find bar over the bottom of the list.
    QAction *miFind = nullptr;
    QWidget *FindBar = nullptr;
    QLineEdit *eFind = nullptr;
    QCheckBox *cbFindMissingNames = nullptr;
    void miFindClick();
    /// Shows only the rows that match the find bar; the selected row stays selected while it
    /// matches.
    void ApplyFind();
    /// Clears and hides the find bar: every row shows again.
    void CloseFind();

    // Check Library (MainGlyphbookCheck.cpp).
    QAction *miCheckLibrary = nullptr;
    /// The findings window; made when first shown.
    TCheckLibraryWindow *CheckWindow = nullptr;
    /// Checks the whole library and shows the findings window.
    void miCheckLibraryClick();
    /// Selects the symbol at library index Symbol, and the tile of its state image State when
    /// that is 0 or more.
    void SelectFinding(int Symbol, int State);

    // Locate Missing Images (MainGlyphbookLocate.cpp).
    QAction *miLocateMissing = nullptr;
    /// The folder searched for missing images.
    TFileDialog sLocateFolderDialog;
    void miLocateMissingClick();

    // Names for translators (MainGlyphbookNames.cpp).
    QAction *miExportNames = nullptr;
    QAction *miImportNames = nullptr;
    /// The table of names written by Export Names and read by Import Names.
    TFileDialog sNamesSaveDialog;
    TFileDialog sNamesOpenDialog;
    void miExportNamesClick();
    void miImportNamesClick();

    /// The grid origin, relative to the grid picture's top-left corner.
    static constexpr int GridOriginX = 240;
    static constexpr int GridOriginY = 180;

    /// Runs a command or event handler; a failure that escapes it is shown in the standard
    /// error message and the program goes on.
    void Guard(const std::function<void()> &Handler);

    /// The caption without a project: "Glyphbook Creator 1.03".
    static QString BaseCaption();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void showEvent(QShowEvent *Event) override;

private:
    friend class TLibraryStep;

    /// Records the change of one symbol made while it lives as one undoable step; nested
    /// scopes join the outermost one. An empty text names the step by the points that moved.
    class TStepScope
    {
    public:
        TStepScope(TMainForm &Window, const QString &Text, const QString &MergeKey = {},
                   TViraSymbolPtr Symbol = nullptr)
            : FWindow(Window)
        {
            FWindow.BeginStep(Text, MergeKey, std::move(Symbol));
        }
        ~TStepScope() { FWindow.EndStep(); }
        TStepScope(const TStepScope &) = delete;
        TStepScope &operator=(const TStepScope &) = delete;

    private:
        TMainForm &FWindow;
    };

    /// Records no step while it lives: the window changes the library for reasons of its own
    /// (showing a symbol, a command that records itself, undo and redo).
    class TSilentSteps
    {
    public:
        explicit TSilentSteps(TMainForm &Window) : FWindow(Window) { ++FWindow.FSilentSteps; }
        ~TSilentSteps() { --FWindow.FSilentSteps; }
        TSilentSteps(const TSilentSteps &) = delete;
        TSilentSteps &operator=(const TSilentSteps &) = delete;

    private:
        TMainForm &FWindow;
    };

    /// Undo or redo at work: nothing is recorded, the next step merges with none before it,
    /// and focused fields are rewritten as well.
    class TRestoring
    {
    public:
        explicit TRestoring(TMainForm &Window) : FSilent(Window), FWindow(Window)
        {
            ++FWindow.FMergeSerial;
            ++FWindow.FRestoring;
        }
        ~TRestoring() { --FWindow.FRestoring; }
        TRestoring(const TRestoring &) = delete;
        TRestoring &operator=(const TRestoring &) = delete;

    private:
        TSilentSteps FSilent;
        TMainForm &FWindow;
    };

    TGlyphbookDialogs &FDialogs;
    QString FProgramFolder;
    QString FSharedFolder;
    TAnchorLayout *FAnchors = nullptr;
    TViraSymbolPtr FSelectedSymbol;
    /// Open TWriteBackPause guards; the fields write back only when there are none.
    int FWriteBackPauses = 0;

    /// The project file the caption names: the one opened or saved last.
    QString FCaptionFile;
    /// Messages that arose before the window was shown.
    QStringList FPendingInformation;

    // Undo and redo (MainGlyphbookUndo.cpp).
    int FStepDepth = 0;
    int FSilentSteps = 0;
    int FRestoring = 0;
    /// Steps merge only with steps of the same serial; undo, redo and a new selection raise it.
    int FMergeSerial = 0;
    QString FStepText;
    QString FStepMergeKey;
    TViraSymbolPtr FStepSymbol;
    TViraSymbol FStepBefore;
    /// The field whose change runs EditChange just now, or none.
    QObject *FChangingField = nullptr;

    void CreateEditMenu();
    /// New, Open and Extract: nothing done before can be undone.
    void StartFreshHistory();
    void BeginStep(const QString &Text, const QString &MergeKey, TViraSymbolPtr Symbol);
    void EndStep();
    /// Records symbols just added to the library as one step; undo selects the symbol at
    /// FormerSelection again.
    void PushSymbolsAdded(const QString &Text, const QList<TViraSymbolPtr> &Added,
                          int FormerSelection);
    /// Records a symbol just removed from Index of the library.
    void PushSymbolRemoved(int Index, const TViraSymbolPtr &Symbol);
    /// The row of Symbol, or none.
    TSymbolListItem *RowOf(const TViraSymbolPtr &Symbol) const;
    /// Selects Symbol's row and shows the symbol in the preview, the fields and the strip.
    void ShowSymbolOfStep(const TViraSymbolPtr &Symbol);
    void RestoreSymbol(int Index, const TViraSymbol &State);
    /// Inserts Symbols at Places (ascending) into the library, with their rows.
    void PutSymbols(const QList<int> &Places, const QList<TViraSymbolPtr> &Symbols);
    /// Removes the symbols at Places (ascending) and their rows, keeping them in Symbols;
    /// selects the symbol then at SelectAfter, or the first row.
    void TakeSymbols(const QList<int> &Places, QList<TViraSymbolPtr> &Symbols, int SelectAfter);
    /// Name of the step that a change of Field starts, and whether keystrokes merge into it.
    std::pair<QString, bool> FieldStep(const QObject *Field) const;

    /// The one way the selected symbol changes.
    void SetSelectedSymbol(const TViraSymbolPtr &Symbol);
    /// An information message over the window; one that arises before the window is shown
    /// waits until it is.
    void ShowInformationOverWindow(const QString &Text);
    /// The standard error message when FileName exists but is no picture that can be read.
    void ReportUnreadablePicture(const QString &FileName);

    QString ProgramFile(const QString &RelativePath) const;

    // Creation, one function per block of the layout.
    void CreateDialogs();
    void CreateIcons();
    void CreateSymbolList();
    void CreateSettingsGroup();
    void CreatePreview();
    void CreateImageStrip();
    void CreateMenus();
    void CreateAnchors();
    void CreatePlacePointMenu();
    void CreateViewMenu();
    void CreateFindBar();
    void CreateLocateMissingCommand();
    void CreateNamesCommands();
    void CreateCheckLibraryCommand();
    TCheckOptions CheckOptions() const;
    void CheckWholeLibrary();
    /// Brings the findings window up to date after a command or event: symbols whose checked
    /// parts changed are checked again alone, anything else the whole library.
    void FollowLibraryChanges();

    /// A symbol's parts as the findings window last saw them.
    struct TCheckedSymbol {
        explicit TCheckedSymbol(const TViraSymbolPtr &Checked);
        /// Whether the symbol's identifier, images and names are still those seen.
        bool Unchanged() const;

        TViraSymbolPtr Symbol;
        QString Identifier;
        QString Image;
        QList<TStringPairs> Names;
        QList<TStringPairs> StateImages;
    };
    std::unique_ptr<TLibraryCheck> FLibraryCheck;
    QList<TCheckedSymbol> FCheckedSymbols;
    /// Guards running; the findings follow the library once the outermost has ended.
    int FGuardDepth = 0;
    /// Whether the image file of a stored path exists, bare names found beside the project.
    bool ImageFileExists(const QString &StoredPath) const;
    /// Clears the missing mark of relinked symbols whose images are all there, refills their
    /// rows and shows the selected one again if it is among them.
    void ShowRelinkedSymbols(const QList<TViraSymbolPtr> &Symbols);
    void UpdateZoomCommands();
    /// Takes Ctrl+wheel over the preview for the zoom; true when Event was one.
    bool PreviewWheelEvent(QObject *Watched, QEvent *Event);
    /// Filters the rows again after they were refilled, while the find bar shows.
    void ReapplyFind();
    void WireEvents();
    void CreateNameFields();
    void ReadLanguageFile();
    void InstallTileCallbacks();
    /// Connects the preview's controls and watches the mouse on the picture, the example
    /// label and the grid.
    void WirePreview();
    /// Hands a mouse event of the picture, the label or the grid to its handler; true when
    /// the event was one of theirs.
    bool PreviewMouseEvent(QObject *Watched, QEvent *Event);
    /// Runs the handler of Element (the picture, the label or the grid) for a mouse event of
    /// Type at At, in the element's own pixels.
    void PreviewMouse(QWidget *Element, QEvent::Type Type, Qt::MouseButton Button,
                      Qt::KeyboardModifiers Shift, QPoint At);
    /// Moves the point chosen by the radio buttons one pixel; AnchorStep is the anchor's
    /// change, the text point changes the other way.
    void MovePointByArrow(Qt::Orientation Direction, int AnchorStep);
    /// Whether the mouse may place points: a symbol is selected and it is a symbol.
    bool CanPlacePoints() const;
    /// The size of Symbol's main picture, or an invalid size when it cannot be read.
    QSize MainPictureSize(const TViraSymbol &Symbol) const;
    // The three parts of UpdateSymbolView.
    /// Places the picture by Symbol's anchor and the example text and its lines at its text
    /// point.
    void PlacePreview(const TViraSymbol &Symbol);
    /// Writes Symbol into the settings fields; a focused point field keeps what is typed.
    void ShowSymbolFields(const TViraSymbol &Symbol);
    /// Writes the caption and the names of every row of Symbol.
    void RefreshSymbolRows(const TViraSymbolPtr &Symbol);

    /// Connects a signal to a member handler that runs inside Guard.
    template <typename Sender, typename Signal>
    void OnEvent(Sender *Source, Signal SignalPtr, void (TMainForm::*Handler)());
    /// Connects a settings field's change to AnyChange, which then knows the field.
    template <typename Sender, typename Signal> void OnFieldChange(Sender *Field, Signal SignalPtr);
    /// A drag in the preview is being recorded as one step, press to release.
    bool FDragStep = false;
    void EndDragStep();

    /// The language codes of the list's columns, in column order.
    QStringList LanguageCodes() const;
    /// Symbol's name in the language of each language column, in column order.
    QStringList NamesByColumn(const TViraSymbol &Symbol) const;
    /// Fills every row's sub-items with its symbol's names in the languages of the columns.
    void FillRowNamesByLanguage();
    /// Shows Symbol's names in the visible name fields.
    void ShowNames(const TViraSymbol &Symbol);
    /// Shares the list's client width between the language columns.
    void ShareColumnWidths();
    /// Shows the selected symbol's names in the visible name fields without writing back.
    void ShowSelectedNames();
    /// Removes every tile of the image strip.
    void RemoveAllTiles();

    // The symbol list.
    /// The selected row, or none.
    TSymbolListItem *SelectedRow() const;
    /// Makes Row the selected, focused and visible row, which runs the selection handler.
    void SelectRow(QTreeWidgetItem *Row);
    /// Add New Symbol for a chosen picture file.
    void AddNewSymbol(const QString &FileName);
    /// A new symbol for a picture file as Add New Symbol makes it, not yet in the library.
    TViraSymbolPtr NewSymbolFromPicture(const QString &FileName) const;

    // Batch import (MainGlyphbookBatchImport.cpp).
    /// Adds one picture as Add New Symbol does; several after the batch import dialog has
    /// shown the symbols they make by state family.
    void AddNewSymbols(const QStringList &Pictures);
    /// Adds a symbol per family, the last one selected.
    void AddFamilies(const QList<TStateFamily> &Families);

    // The image strip.
    /// The tiles of the strip, in the order they were built.
    QList<TSymbolImgPanel *> Tiles() const;
    /// Replaces the tiles by those of Symbol, the main image tile marked; returns the last one.
    TSymbolImgPanel *BuildTiles(const TViraSymbolPtr &Symbol);
    /// Lets the strip scroll exactly as far as its tiles reach.
    void FitStripToTiles();
    void UninstallTileCallbacks();
    // The bodies of the tiles' ClickProc, UpdateProc and DblClickProc.
    void SymbolImgPanelClick(TSymbolImgPanel *Tile);
    void SymbolImgPanelUpdate(TSymbolImgPanel *Tile);
    void SymbolImgPanelDblClick(TSymbolImgPanel *Tile);
    /// Add Image for a chosen picture file: the pair and its tile, marked.
    void AddStateImage(const QString &FileName);
    /// The end of Add Image, file or not: the symbol becomes a symbol, its row and the icons
    /// are refreshed.
    void FinishAddImage();

    // Files dropped on the window.
    /// Takes the drag and drop events of a drop target; picture files dropped go to AddFiles,
    /// other files are refused with one message. Returns true when Event was one of them.
    bool HandleFileDrop(QEvent *Event, void (TMainForm::*AddFiles)(const QStringList &));
    void AddDroppedSymbols(const QStringList &Pictures);
    void AddDroppedStateImages(const QStringList &Pictures);

    // Packing and extraction.
    /// The library index of the selected symbol, or -1.
    int SelectedSymbolIndex() const;
    /// Fills the list anew from the library and selects the symbol at SelectedIndex again, so
    /// that the rows, the strip and the fields refer to the symbols the library holds now.
    void RefillList(int SelectedIndex);
};

template <typename Sender, typename Signal>
void TMainForm::OnFieldChange(Sender *Field, Signal SignalPtr)
{
    connect(Field, SignalPtr, this, [this, Field] {
        Guard([this, Field] {
            QObject *former = std::exchange(FChangingField, Field);
            AnyChange();
            FChangingField = former;
        });
    });
}

template <typename Sender, typename Signal>
void TMainForm::OnEvent(Sender *Source, Signal SignalPtr, void (TMainForm::*Handler)())
{
    connect(Source, SignalPtr, this,
            [this, Handler] { Guard([this, Handler] { (this->*Handler)(); }); });
}
