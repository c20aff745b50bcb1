#pragma once

#include "document/GlyphbookDocument.h"
#include "model/StateFamilies.h"
#include "ui/ErrorGuard.h"
#include "ui/GlyphbookDialogs.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class TAnchorLayout;
class TCheckLibraryWindow;
class TPictureWatch;
class TRecentProjects;
class TRecoveryCopy;
struct TKeptCopy;
class TImageStripPanel;
class TSymbolListPanel;
class TSymbolPreviewPanel;
class TSymbolSettingsPanel;

/// The editor's one window: it composes the symbol list, the settings, the preview and the
/// image strip around one document, and holds the menus with the commands that work on files
/// and on the library as a whole. The members are spread over one .cpp file per menu area.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    /// Dialogs serves every modal interaction; ProgramFolder is where "Lang.txt", "help.html"
    /// and "Examples/SmallExampleLib.js" are looked up, then SharedFolder for those missing.
    TMainForm(TGlyphbookDialogs &Dialogs, QString ProgramFolder, QString SharedFolder = {},
              QWidget *Parent = nullptr);
    ~TMainForm() override;

    /// The library being edited, its project file, selection and history.
    TGlyphbookDocument &Document() { return FDocument; }
    const TGlyphbookDocument &Document() const { return FDocument; }
    /// The copy that keeps the library's unsaved changes.
    TRecoveryCopy &Recovery() { return *FRecovery; }
    const TPictureWatch &PictureWatch() const { return *FPictureWatch; }
    /// The symbol being edited, or none.
    const TViraSymbolPtr &SelectedSymbol() const { return FDocument.SelectedSymbol(); }

    // File dialogs with their current file names, state the commands share: sOpenDialog1 holds
    // the project file, sSaveDialog1 the proposed project file, sSaveDialog2 the proposed
    // packed library.
    TFileDialog sOpenDialog1;
    TFileDialog sSaveDialog1;
    TFileDialog sOpenPictureDialog1;
    TFileDialog sSaveDialog2;
    TFileDialog sOpenDialog2;
    TFileDialog sLocateFolderDialog;
    TFileDialog sNamesSaveDialog;
    TFileDialog sNamesOpenDialog;

    /// Switches the editing area (settings, picture, strip) on or off.
    void SymbolEditEnabled(bool State);

    // The language registry: the Languages menu, whose checked entries are the columns.
    void AddLanguage(const QString &Code, bool Checked);
    /// Adds every language the library has names in.
    void CollectLanguages();
    /// Shows the checked languages (at most 21) as columns and name fields.
    void RebuildLanguageColumns();

    /// The preview's magnification: 1 (100 %) to 8 (800 %).
    int Zoom() const;
    void SetZoom(int Zoom);

    /// Runs a command or event handler; a failure that escapes it is shown in the standard
    /// error message and the program goes on.
    void Guard(const std::function<void()> &Handler) { FGuard.Run(Handler); }

    /// The caption without a project: "Glyphbook Creator 1.03".
    static QString BaseCaption();

protected:
    void showEvent(QShowEvent *Event) override;

private:
    TGlyphbookDialogs &FDialogs;
    TErrorGuard FGuard;
    TGlyphbookDocument FDocument;
    QString FProgramFolder;
    QString FSharedFolder;
    QWidget *FClientArea = nullptr;
    TAnchorLayout *FAnchors = nullptr;
    TSymbolListPanel *FList = nullptr;
    TSymbolSettingsPanel *FSettings = nullptr;
    TImageStripPanel *FStrip = nullptr;
    TSymbolPreviewPanel *FPreview = nullptr;
    TCheckLibraryWindow *FCheckWindow = nullptr;

    // Menus whose items change at run time.
    QMenu *FFileMenu = nullptr;
    QMenu *FEditMenu = nullptr;
    QMenu *FSymbolMenu = nullptr;
    QMenu *FLanguagesMenu = nullptr;
    QMenu *FViewMenu = nullptr;
    QMenu *FExamplesMenu = nullptr;
    QAction *FExit = nullptr;
    QAction *FRestoreDiscarded = nullptr;
    QAction *FHelp = nullptr;
    QAction *FZoomIn = nullptr;
    QAction *FZoomOut = nullptr;
    QAction *FActualSize = nullptr;

    /// Place Point commands given: each is a step of its own.
    int FPlacements = 0;
    /// The project file the caption names: the one opened or saved last.
    QString FCaptionFile;
    /// The project file the library was loaded from or last saved to; none after New Project.
    QString FLibraryFile;
    std::unique_ptr<TRecoveryCopy> FRecovery;
    TPictureWatch *FPictureWatch = nullptr;
    TRecentProjects *FRecent = nullptr;
    QMenu *FRecentMenu = nullptr;
    /// Whether kept changes of earlier windows were offered.
    bool FOfferedKeptChanges = false;
    /// Messages that arose before the window was shown.
    QStringList FPendingInformation;

    // Creation (MainGlyphbook.cpp).
    void CreateDialogs();
    void CreatePanels();
    void ConnectPanels();
    void CreateMenus();
    /// Alt and a menu title's first letter opens that menu; the titles keep their texts.
    void CreateMenuKeys();
    /// Tab goes through the controls as the layout reads: list, settings, example text, strip.
    void SetTabOrder();
    void FormCreate();
    QString ProgramFile(const QString &RelativePath) const;
    /// An information message over the window; one that arises before the window is shown
    /// waits until it is.
    void ShowInformationOverWindow(const QString &Text);
    /// Adds a menu item named Name that runs Command inside the guard.
    QAction *AddCommand(QMenu *Menu, const QString &Text, const char *Name,
                        void (TMainForm::*Command)(), const QKeySequence &Keys = {});

    // Project commands (MainGlyphbookProject.cpp).
    void miNewProjectClick();
    void miOpenProjectClick();
    /// Opens FileName as Open Project does once its dialog is answered.
    void OpenProjectFile(const QString &FileName);
    void miSaveProjectClick();
    void E1Click();
    void H1Click();
    void SmallExamplejs1Click();
    void SetCaptionFile(const QString &FileName);
    /// The caption, with the modified mark while changes are unsaved.
    void ShowCaption();
    void SetLibraryFile(const QString &FileName);

    // Recovery of unsaved changes (MainGlyphbookRecovery.cpp).
    void CreateRecovery();
    /// The shown pictures and the missing marks follow the files on the disk.
    void CreatePictureWatch();
    /// Offers back the changes that windows gone before kept, newest first.
    void OfferKeptChanges();
    void miRestoreDiscardedClick();

    // Open Recent (MainGlyphbookRecent.cpp).
    void CreateRecentMenu();
    void FillRecentMenu();
    void OpenRecent(const QString &FileName);
    /// Makes a library kept in Copy the one being edited, its changes unsaved.
    void RestoreKeptLibrary(TViraGlyphbook Library, const TKeptCopy &Copy);

    // Undo and redo (MainGlyphbookEdit.cpp).
    void CreateEditMenu();

    // The View menu: zoom and find (MainGlyphbookView.cpp).
    void CreateViewMenu();
    void UpdateZoomCommands();

    // Symbol commands (MainGlyphbookSymbols.cpp).
    void miNewSymbolClick();
    void miDupSymbClick();
    void miDeleteSymbolClick();
    /// Adds one picture as Add New Symbol does; several after the batch import dialog has
    /// shown the symbols they make by state family.
    void AddNewSymbols(const QStringList &Pictures);
    void AddNewSymbol(const QString &FileName);
    /// Adds a symbol per family, the last one selected.
    void AddFamilies(const QList<TStateFamily> &Families);
    /// A new symbol for a picture file as Add New Symbol makes it, not yet in the library.
    TViraSymbolPtr NewSymbolFromPicture(const QString &FileName) const;
    void CreatePlacePointMenu();
    /// Writes the chosen point as the picture pixel at Across, Down (0 start, 1 middle, 2 end);
    /// beeps without a selected symbol or a readable picture.
    void PlacePoint(int Across, int Down);

    // Packing and extraction (MainGlyphbookPack.cpp).
    void miPackLibClick();
    void miOpenLibClick();

    // Names for translators (MainGlyphbookNames.cpp).
    void miExportNamesClick();
    void miImportNamesClick();

    // Locate Missing Images (MainGlyphbookLocate.cpp).
    void miLocateMissingClick();
    /// Whether the image file of a stored path exists, bare names found beside the project.
    bool ImageFileExists(const QString &StoredPath) const;

    // Check Library (MainGlyphbookCheck.cpp).
    void miCheckLibraryClick();
    /// Selects the symbol at library index Symbol, and the tile of its state image State when
    /// that is 0 or more.
    void SelectFinding(int Symbol, int State);

    // Languages (MainGlyphbookLanguages.cpp).
    void ReadLanguageFile();
    void miENClick();
};
