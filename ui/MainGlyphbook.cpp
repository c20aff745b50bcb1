// Creation of the main window: the panels at their designed places around the document, the
// menus, the wiring between them and the start-up sequence.
#include "ui/MainGlyphbook.h"

#include "ui/AnchorLayout.h"
#include "ui/ImageStripPanel.h"
#include "ui/MenuLetters.h"
#include "ui/RecoveryCopy.h"
#include "ui/SymbolListPanel.h"
#include "ui/SymbolPreviewPanel.h"
#include "ui/SymbolSettingsPanel.h"

#include "GlyphbookVersion.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>

// The resources live in this static library; nothing else references them, so the linker
// would drop them unless they are initialised by name.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace
{
// The client area the layout was designed for; anchored controls keep their distances to its
// edges.
constexpr QSize kDesignClientSize(1111, 786);
} // namespace

TMainForm::TMainForm(TGlyphbookDialogs &Dialogs, QString ProgramFolder, QString SharedFolder,
                     QWidget *Parent)
    : QMainWindow(Parent), FDialogs(Dialogs), FGuard(Dialogs),
      FProgramFolder(std::move(ProgramFolder)), FSharedFolder(std::move(SharedFolder))
{
    initResources();
    setWindowIcon(QIcon(QStringLiteral(":/glyphbook/glyphbook.png")));
    setMinimumWidth(100);

    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    FClientArea = new QWidget;
    FClientArea->setObjectName(QStringLiteral("ClientArea"));
    FClientArea->resize(kDesignClientSize);

    CreateDialogs();
    CreatePanels();
    CreateMenus();
    CreateRecovery();
    CreatePictureWatch();
    CreateRecentMenu();
    CreateMenuKeys();
    ConnectPanels();

    scroll->setWidget(FClientArea);
    scroll->setWidgetResizable(true);
    setCentralWidget(scroll);
    resize(kDesignClientSize.width(), kDesignClientSize.height() + menuBar()->sizeHint().height());
    if (const QScreen *screen = this->screen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    Guard([this] { FormCreate(); });
    SetTabOrder();
}

TMainForm::~TMainForm()
{
    // The controls outlive the document, a member; their last signals (a focused field that
    // finishes editing as it is destroyed) must not reach it.
    delete centralWidget();
}

QString TMainForm::BaseCaption()
{
    return QStringLiteral("Glyphbook Creator " GLYPHBOOK_VERSION);
}

QString TMainForm::ProgramFile(const QString &RelativePath) const
{
    // Beside the program first, so that a build or an unpacked copy uses its own files; then
    // where an installation keeps them.
    const QString beside = QDir(FProgramFolder).filePath(RelativePath);
    if (FSharedFolder.isEmpty() || QFileInfo::exists(beside))
        return beside;
    const QString shared = QDir(FSharedFolder).filePath(RelativePath);
    return QFileInfo::exists(shared) ? shared : beside;
}

void TMainForm::CreateDialogs()
{
    const QString projectFilter = tr("Glyphbook project|*.js");
    sOpenDialog1 = {QStringLiteral("sOpenDialog1"), TFileDialog::fdOpen, projectFilter, {}};
    // The window asks before replacing a file itself: not when it is the project's own file.
    sSaveDialog1 = {QStringLiteral("sSaveDialog1"), TFileDialog::fdSave, projectFilter, {}, false};
    sOpenPictureDialog1 = {QStringLiteral("sOpenPictureDialog1"),
                           TFileDialog::fdOpenPicture,
                           tr("All (*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp)|"
                              "*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp;|"
                              "Portable network graphics (*.png)|*.png|GIF Image (*.gif)|*.gif|"
                              "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg"),
                           {}};
    // Pack asks "Overwrite existing?" itself, so its dialog does not.
    sSaveDialog2 = {QStringLiteral("sSaveDialog2"),
                    TFileDialog::fdSave,
                    tr("Symbol library|*.tar.gz"),
                    {},
                    false};
    sOpenDialog2 = {QStringLiteral("sOpenDialog2"), TFileDialog::fdOpen, {}, {}};
    sLocateFolderDialog = {QStringLiteral("sLocateFolderDialog"), TFileDialog::fdFolder, {}, {}};
    const QString tableFilter = tr("Table of names (CSV)|*.csv");
    sNamesSaveDialog = {QStringLiteral("sNamesSaveDialog"), TFileDialog::fdSave, tableFilter, {}};
    sNamesOpenDialog = {QStringLiteral("sNamesOpenDialog"), TFileDialog::fdOpen, tableFilter, {}};
}

void TMainForm::CreatePanels()
{
    FAnchors = new TAnchorLayout(FClientArea, kDesignClientSize);
    FList = new TSymbolListPanel(FDocument, FGuard, *FAnchors, FClientArea);
    FSettings = new TSymbolSettingsPanel(FDocument, FGuard, FClientArea);
    // The strip before the preview: the picture a selection shows is the main image, whatever
    // tile building the strip marked.
    FStrip = new TImageStripPanel(FDocument, FGuard, sOpenPictureDialog1, FClientArea);
    FPreview = new TSymbolPreviewPanel(FDocument, FGuard, FClientArea);

    FAnchors->Anchor(FList, Qt::LeftEdge | Qt::TopEdge | Qt::BottomEdge);
    FAnchors->Anchor(FSettings, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    FAnchors->Anchor(FStrip, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    // Vertically the window scrolls once the controls that do not stretch stop fitting.
    FClientArea->setMinimumHeight(FStrip->bAddImage->geometry().bottom() + 1);
}

void TMainForm::ConnectPanels()
{
    // The open dialog's file is the project file: bare image names are found beside it.
    connect(&FDocument, &TGlyphbookDocument::projectFileChanged, this,
            [this](const QString &FileName) { sOpenDialog1.FileName = FileName; });

    FGuard.Connect(FList, &TSymbolListPanel::addSymbolRequested, this,
                   [this] { miNewSymbolClick(); });
    FGuard.Connect(FList, &TSymbolListPanel::deleteSymbolRequested, this,
                   [this] { miDeleteSymbolClick(); });
    connect(FList, &TSymbolListPanel::picturesDropped, this,
            [this](const QStringList &Pictures) { AddNewSymbols(Pictures); });

    // The preview places points as a user types them into the settings.
    connect(FPreview, &TSymbolPreviewPanel::anchorPlaced, FSettings,
            [this](qint64 X, qint64 Y, const TStep &Step) {
                FSettings->WritePoint(TSymbolSettingsPanel::ptAnchor, X, Y, Step, true);
            });
    connect(FPreview, &TSymbolPreviewPanel::textPointPlaced, FSettings,
            [this](qint64 X, qint64 Y, const TStep &Step) {
                FSettings->WritePoint(TSymbolSettingsPanel::ptText, X, Y, Step, true);
            });
    connect(FPreview, &TSymbolPreviewPanel::pointsCleared, FSettings,
            &TSymbolSettingsPanel::ClearPoints);
    connect(FPreview, &TSymbolPreviewPanel::zoomChanged, this, [this] { UpdateZoomCommands(); });

    connect(FStrip, &TImageStripPanel::pictureChosen, FPreview, &TSymbolPreviewPanel::ShowPicture);
    connect(FStrip, &TImageStripPanel::imagesChanged, FList, &TSymbolListPanel::RefreshListIcons);
}

QAction *TMainForm::AddCommand(QMenu *Menu, const QString &Text, const char *Name,
                               void (TMainForm::*Command)(), const QKeySequence &Keys)
{
    QAction *action = Menu->addAction(Text);
    action->setObjectName(QLatin1String(Name));
    action->setShortcut(Keys);
    FGuard.Connect(action, &QAction::triggered, this, [this, Command] { (this->*Command)(); });
    return action;
}

void TMainForm::CreateMenus()
{
    QMenuBar *bar = menuBar();
    FFileMenu = bar->addMenu(tr("File"));
    FFileMenu->setObjectName(QStringLiteral("mmFileMenu"));
    AddCommand(FFileMenu, tr("Open Project"), "miOpenProject", &TMainForm::miOpenProjectClick,
               QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(FFileMenu, tr("Save Project"), "miSaveProject", &TMainForm::miSaveProjectClick,
               QKeySequence(Qt::CTRL | Qt::Key_S));
    AddCommand(FFileMenu, tr("Extract Glyphbook"), "miOpenLib", &TMainForm::miOpenLibClick);
    AddCommand(FFileMenu, tr("Pack Glyphbook"), "miPackLib", &TMainForm::miPackLibClick,
               QKeySequence(Qt::CTRL | Qt::Key_P));
    AddCommand(FFileMenu, tr("New Project"), "miNewProject", &TMainForm::miNewProjectClick);
    FFileMenu->addSeparator();
    AddCommand(FFileMenu, tr("Export Names..."), "miExportNames", &TMainForm::miExportNamesClick);
    AddCommand(FFileMenu, tr("Import Names..."), "miImportNames", &TMainForm::miImportNamesClick);
    FFileMenu->addSeparator();
    FExit = AddCommand(FFileMenu, tr("Exit"), "E1", &TMainForm::E1Click);

    CreateEditMenu();

    FSymbolMenu = bar->addMenu(tr("Symbol"));
    FSymbolMenu->setObjectName(QStringLiteral("mmSymbol"));
    AddCommand(FSymbolMenu, tr("Add New Symbol"), "miNewSymbol", &TMainForm::miNewSymbolClick,
               QKeySequence(Qt::CTRL | Qt::Key_A));
    AddCommand(FSymbolMenu, tr("Duplicate Symbol"), "miDupSymb", &TMainForm::miDupSymbClick,
               QKeySequence(Qt::CTRL | Qt::Key_D));
    AddCommand(FSymbolMenu, tr("Delete Symbol"), "miDeleteSymbol", &TMainForm::miDeleteSymbolClick);
    AddCommand(FSymbolMenu, tr("Check Library"), "miCheckLibrary", &TMainForm::miCheckLibraryClick,
               QKeySequence(Qt::CTRL | Qt::Key_L));
    AddCommand(FSymbolMenu, tr("Locate Missing Images..."), "miLocateMissing",
               &TMainForm::miLocateMissingClick);
    CreatePlacePointMenu();

    CreateViewMenu();

    FLanguagesMenu = bar->addMenu(tr("Languages"));
    FLanguagesMenu->setObjectName(QStringLiteral("mmLanguages"));
    for (const char *code : {"en", "sv"}) {
        QAction *language = AddCommand(FLanguagesMenu, QLatin1String(code),
                                       code[0] == 'e' ? "miEN" : "miSE", &TMainForm::miENClick);
        language->setCheckable(true);
        language->setChecked(true);
    }

    FExamplesMenu = bar->addMenu(tr("Examples"));
    FExamplesMenu->setObjectName(QStringLiteral("mmExamples"));
    AddCommand(FExamplesMenu, QStringLiteral("SmallExampleLib.js"), "SmallExamplejs1",
               &TMainForm::SmallExamplejs1Click);
    FExamplesMenu->menuAction()->setVisible(false);

    FHelp = bar->addAction(tr("Help"));
    FHelp->setObjectName(QStringLiteral("H1"));
    FGuard.Connect(FHelp, &QAction::triggered, this, [this] { H1Click(); });
}

void TMainForm::CreateMenuKeys()
{
    const std::pair<QAction *, Qt::Key> titles[] = {{FFileMenu->menuAction(), Qt::Key_F},
                                                    {FEditMenu->menuAction(), Qt::Key_E},
                                                    {FSymbolMenu->menuAction(), Qt::Key_S},
                                                    {FViewMenu->menuAction(), Qt::Key_V},
                                                    {FLanguagesMenu->menuAction(), Qt::Key_L},
                                                    {FExamplesMenu->menuAction(), Qt::Key_X},
                                                    {FHelp, Qt::Key_H}};
    for (const auto &[title, key] : titles) {
        if (title->menu())
            TMenuLetters::Install(title->menu());
        auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
        connect(shortcut, &QShortcut::activated, this, [this, title = title] {
            if (!title->isVisible())
                return;
            if (title->menu())
                menuBar()->setActiveAction(title);
            else
                title->trigger();
        });
    }
}

void TMainForm::SetTabOrder()
{
    QList<QWidget *> chain;
    const auto add = [&](const char *Name) {
        if (auto *control = FClientArea->findChild<QWidget *>(QLatin1String(Name)))
            chain.append(control);
    };
    for (const char *name : {"dLV_Symbols", "eFind", "cbFindMissingNames", "eIdentifier"})
        add(name);
    for (QLineEdit *name : std::as_const(FSettings->NameEdits))
        chain.append(name);
    for (const char *name :
         {"sbbUp", "sbbLeft", "sbbRight", "sbbDown", "srbAnchor", "eAnchorX", "eAnchorY", "srbText",
          "eTextX", "eTextY", "cbIsSymbol", "cbTextAlign", "eExampleText", "bAddImage",
          "bDeleteImage", "cbCross", "cbShowTextCross", "sbImagesScrollBox"})
        add(name);
    for (qsizetype k = 1; k < chain.size(); ++k)
        setTabOrder(chain[k - 1], chain[k]);
}

void TMainForm::FormCreate()
{
    setWindowTitle(BaseCaption());
    FDocument.ResetLibrary({});
    SymbolEditEnabled(false);
    ReadLanguageFile();
    if (!QFileInfo(ProgramFile(QStringLiteral("help.html"))).isFile())
        FHelp->setVisible(false);
    if (QFileInfo(ProgramFile(QStringLiteral("Examples/SmallExampleLib.js"))).isFile())
        FExamplesMenu->menuAction()->setVisible(true);
    RebuildLanguageColumns();
}

void TMainForm::SymbolEditEnabled(bool State)
{
    FPreview->SetEditing(State);
    FStrip->setVisible(State);
    FSettings->SetEditing(State);
}

void TMainForm::ShowInformationOverWindow(const QString &Text)
{
    if (isVisible())
        FDialogs.ShowInformation(Text);
    else
        FPendingInformation.append(Text);
}

void TMainForm::showEvent(QShowEvent *Event)
{
    QMainWindow::showEvent(Event);
    if (!std::exchange(FOfferedKeptChanges, true))
        // The window first shows as it always does; the question stands over it.
        QMetaObject::invokeMethod(
            this, [this] { Guard([this] { OfferKeptChanges(); }); }, Qt::QueuedConnection);
    if (FPendingInformation.isEmpty())
        return;
    // Once the window is on the screen, so the message stands over it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (const QString &text : std::exchange(FPendingInformation, {}))
                FDialogs.ShowInformation(text);
        },
        Qt::QueuedConnection);
}
