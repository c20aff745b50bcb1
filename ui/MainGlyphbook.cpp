// Creation of the main window: its controls at their designed places, the menus, the event
// wiring, the start-up sequence and the editing area's on/off switch.
#include "ui/MainGlyphbook.h"

#include "check/LibraryCheck.h"
#include "model/GlyphbookError.h"
#include "render/ExampleTextFont.h"
#include "ui/AnchorLayout.h"
#include "ui/CentredGroupBox.h"
#include "ui/DottedLine.h"
#include "ui/SymbolListItem.h"

#include "GlyphbookVersion.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QTreeWidget>

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
constexpr int kNameFieldCount = 21;
constexpr int kEditHeight = 21;

/// Object, given Name: the controls carry the names of the layout, so they can be found by name.
template <typename T> T *named(T *Object, const char *Name)
{
    Object->setObjectName(QLatin1String(Name));
    return Object;
}

QLabel *placeLabel(const char *Name, const QString &Text, int Left, int Top, QWidget *Parent)
{
    auto *label = named(new QLabel(Text, Parent), Name);
    label->move(Left, Top);
    label->adjustSize();
    return label;
}

QLineEdit *placeEdit(const char *Name, const QString &Text, const QRect &Geometry, QWidget *Parent)
{
    auto *edit = named(new QLineEdit(Text, Parent), Name);
    edit->setGeometry(Geometry);
    return edit;
}

QToolButton *placeArrowButton(const char *Name, const QString &Picture, int Left, int Top,
                              QWidget *Parent)
{
    auto *button = named(new QToolButton(Parent), Name);
    button->setGeometry(Left, Top, 20, 20);
    button->setIcon(QIcon(Picture));
    button->setIconSize(QSize(20, 20));
    return button;
}

template <typename Button>
Button *placeButton(const char *Name, const QString &Text, const QRect &Geometry, QWidget *Parent)
{
    auto *button = named(new Button(Text, Parent), Name);
    button->setGeometry(Geometry);
    return button;
}
} // namespace

TMainForm::TMainForm(TGlyphbookDialogs &Dialogs, QString ProgramFolder, QString SharedFolder,
                     QWidget *Parent)
    : QMainWindow(Parent), FDialogs(Dialogs), FProgramFolder(std::move(ProgramFolder)),
      FSharedFolder(std::move(SharedFolder))
{
    initResources();
    setWindowIcon(QIcon(QStringLiteral(":/glyphbook/glyphbook.png")));
    setMinimumWidth(100);

    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    ClientArea = new QWidget;
    ClientArea->resize(kDesignClientSize);

    CreateDialogs();
    CreateIcons();
    CreateSymbolList();
    CreateSettingsGroup();
    CreatePreview();
    CreateImageStrip();
    CreateMenus();
    CreateEditMenu();
    CreateCheckLibraryCommand();
    CreateLocateMissingCommand();
    CreateNamesCommands();
    CreatePlacePointMenu();
    CreateViewMenu();
    CreateAnchors();
    CreateFindBar();
    WireEvents();

    scroll->setWidget(ClientArea);
    scroll->setWidgetResizable(true);
    setCentralWidget(scroll);
    resize(kDesignClientSize.width(), kDesignClientSize.height() + menuBar()->sizeHint().height());
    if (const QScreen *screen = this->screen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    Guard([this] { FormCreate(); });
}

TMainForm::~TMainForm()
{
    UninstallTileCallbacks();
    // The controls outlive this class's members; their last signals (a focused field that
    // finishes editing as it is destroyed) must not reach handlers that use those members.
    const QList<QObject *> children = findChildren<QObject *>();
    for (QObject *child : children)
        child->disconnect(this);
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
    const QString projectFilter = QStringLiteral("Glyphbook project|*.js");
    sOpenDialog1 = {QStringLiteral("sOpenDialog1"), TFileDialog::fdOpen, projectFilter, {}};
    // The window asks before replacing a file itself: not when it is the project's own file.
    sSaveDialog1 = {QStringLiteral("sSaveDialog1"), TFileDialog::fdSave, projectFilter, {}, false};
    sOpenPictureDialog1 = {
        QStringLiteral("sOpenPictureDialog1"),
        TFileDialog::fdOpenPicture,
        QStringLiteral("All (*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp)|"
                       "*.png;*.gif;*.jpg;*.jpeg;*.png;*.bmp;|"
                       "Portable network graphics (*.png)|*.png|GIF Image (*.gif)|*.gif|"
                       "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg"),
        {}};
    // Pack asks "Overwrite existing?" itself, so its dialog does not.
    sSaveDialog2 = {QStringLiteral("sSaveDialog2"),
                    TFileDialog::fdSave,
                    QStringLiteral("Symbol library|*.tar.gz"),
                    {},
                    false};
    sOpenDialog2 = {QStringLiteral("sOpenDialog2"), TFileDialog::fdOpen, {}, {}};
}

void TMainForm::CreateIcons()
{
    for (const char *name : {"ico_symb", "ico_symbR", "ico_image", "ico_imageErr"})
        sILIcons.append(QIcon(QStringLiteral(":/glyphbook/%1.png").arg(QLatin1String(name))));
}

void TMainForm::CreateSymbolList()
{
    dLV_Symbols = named(new QTreeWidget(ClientArea), "dLV_Symbols");
    dLV_Symbols->setGeometry(8, 8, 409, 770);
    dLV_Symbols->setToolTip(QStringLiteral("Double click to add new symbol"));
    dLV_Symbols->setRootIsDecorated(false);
    dLV_Symbols->setUniformRowHeights(true);
    dLV_Symbols->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dLV_Symbols->setSelectionMode(QAbstractItemView::SingleSelection);
    dLV_Symbols->setSelectionBehavior(QAbstractItemView::SelectRows);
    dLV_Symbols->setIconSize(QSize(16, 16));
    dLV_Symbols->setHeaderLabels({QStringLiteral("Identifier")});
    dLV_Symbols->header()->setStretchLastSection(false);
    dLV_Symbols->header()->setSectionsMovable(false);
    TListSortSuspension::SortByCaption(dLV_Symbols);
    // Picture files dropped on the list become new symbols.
    dLV_Symbols->setAcceptDrops(true);
    dLV_Symbols->viewport()->setAcceptDrops(true);
    dLV_Symbols->viewport()->installEventFilter(this);
    dLV_Symbols->installEventFilter(this);
}

void TMainForm::CreateSettingsGroup()
{
    gbSettings =
        named(new TCentredGroupBox(QStringLiteral("Symbol Settings"), ClientArea), "gbSettings");
    gbSettings->setGeometry(423, 1, 680, 200);
    gbSettings->setMinimumWidth(450);
    QWidget *g = gbSettings;

    sLabel1 = placeLabel("sLabel1", QStringLiteral("Identifier"), 25, 14, g);
    eIdentifier =
        placeEdit("eIdentifier", QStringLiteral("SymbolID"), QRect(25, 33, 121, kEditHeight), g);
    sLabel2 = placeLabel("sLabel2", QStringLiteral("Name"), 180, 14, g);

    sbbUp = placeArrowButton("sbbUp", QStringLiteral(":/glyphbook/arrow_up.png"), 70, 93, g);
    sbbDown = placeArrowButton("sbbDown", QStringLiteral(":/glyphbook/arrow_down.png"), 70, 145, g);
    sbbLeft = placeArrowButton("sbbLeft", QStringLiteral(":/glyphbook/arrow_left.png"), 45, 119, g);
    sbbRight =
        placeArrowButton("sbbRight", QStringLiteral(":/glyphbook/arrow_right.png"), 95, 119, g);

    srbAnchor = placeButton<QRadioButton>("srbAnchor", QStringLiteral("Anchorpoint"),
                                          {133, 103, 86, 19}, g);
    srbAnchor->setChecked(true);
    srbText =
        placeButton<QRadioButton>("srbText", QStringLiteral("Textpoint"), {133, 136, 74, 19}, g);

    sLabel5 = placeLabel("sLabel5", QStringLiteral("X"), 239, 105, g);
    eAnchorX = placeEdit("eAnchorX", QStringLiteral("0"), QRect(251, 102, 109, kEditHeight), g);
    sLabel6 = placeLabel("sLabel6", QStringLiteral("Y"), 375, 105, g);
    eAnchorY = placeEdit("eAnchorY", QStringLiteral("0"), QRect(387, 102, 109, kEditHeight), g);
    cbIsSymbol =
        placeButton<QCheckBox>("cbIsSymbol", QStringLiteral("Symbol"), {523, 102, 62, 19}, g);
    cbIsSymbol->setChecked(true);

    sLabel8 = placeLabel("sLabel8", QStringLiteral("X"), 239, 140, g);
    eTextX = placeEdit("eTextX", QStringLiteral("0"), QRect(251, 135, 109, kEditHeight), g);
    sLabel9 = placeLabel("sLabel9", QStringLiteral("Y"), 375, 140, g);
    eTextY = placeEdit("eTextY", QStringLiteral("0"), QRect(389, 135, 109, kEditHeight), g);

    cbTextAlign = named(new QComboBox(g), "cbTextAlign");
    cbTextAlign->setGeometry(523, 135, 145, kEditHeight);
    cbTextAlign->setEditable(true);
    cbTextAlign->setInsertPolicy(QComboBox::NoInsert);
    // The typed text is matched exactly: a completer would turn "L" into "Left" as it is typed
    // and "center" into "Center" when the focus leaves.
    cbTextAlign->setCompleter(nullptr);
    // Item index = alignment value: Right 0, Center 1, Left 2.
    cbTextAlign->addItems(
        {QStringLiteral("Right"), QStringLiteral("Center"), QStringLiteral("Left")});
    cbTextAlign->setCurrentIndex(-1);
    cbTextAlign->setEditText(QStringLiteral("Rigth"));

    // A child of the window, not of the group: it stays usable while the group is disabled.
    eExampleText = placeEdit("eExampleText", QStringLiteral("Example Text"),
                             QRect(946, 170, 145, kEditHeight), ClientArea);
    eExampleText->setToolTip(QStringLiteral("Example Text"));
    eExampleText->raise();
}

void TMainForm::CreatePreview()
{
    // Created from the bottom of the stacking order to its top.
    ImageGrid = named(new QLabel(ClientArea), "ImageGrid");
    ImageGrid->setGeometry(448, 207, 641, 421);
    ImageGrid->setPixmap(QPixmap(QStringLiteral(":/glyphbook/grid.bmp")));

    SymbolImage = named(new QLabel(ClientArea), "SymbolImage");
    SymbolImage->setGeometry(637, 336, 105, 105);
    // No background of its own: transparent pixels of a picture show the grid.
    SymbolImage->setAutoFillBackground(false);

    lExampleText = named(new QLabel(QStringLiteral("Example Text"), ClientArea), "lExampleText");
    lExampleText->setAlignment(Qt::AlignCenter);
    lExampleText->setFont(ExampleTextFont());
    QPalette examplePalette = lExampleText->palette();
    examplePalette.setColor(QPalette::WindowText, Qt::black);
    lExampleText->setPalette(examplePalette);
    lExampleText->move(660, 322);
    lExampleText->adjustSize();

    shapeY = named(new TDottedLine(Qt::blue, ClientArea), "shapeY");
    shapeY->setGeometry(689, 266, 1, 240);
    shapeX = named(new TDottedLine(Qt::blue, ClientArea), "shapeX");
    shapeX->setGeometry(530, 388, 320, 1);
    shapeTX = named(new TDottedLine(Qt::magenta, ClientArea), "shapeTX");
    shapeTX->setGeometry(660, 336, 40, 1);
    shapeTY = named(new TDottedLine(Qt::magenta, ClientArea), "shapeTY");
    shapeTY->setGeometry(660, 336, 1, 16);
    for (QWidget *line : {shapeX, shapeY, shapeTX, shapeTY})
        line->hide();
}

void TMainForm::CreateImageStrip()
{
    sLabel10 = placeLabel("sLabel10", QStringLiteral("Images"), 433, 636, ClientArea);
    bAddImage = placeButton<QPushButton>("bAddImage", QStringLiteral("Add Image"),
                                         {493, 634, 97, 19}, ClientArea);
    bDeleteImage = placeButton<QPushButton>("bDeleteImage", QStringLiteral("Delete Image"),
                                            {596, 634, 97, 19}, ClientArea);
    cbCross = placeButton<QCheckBox>("cbCross", QStringLiteral("Show Cross"), {890, 634, 84, 19},
                                     ClientArea);
    cbShowTextCross = placeButton<QCheckBox>("cbShowTextCross", QStringLiteral("Show Text Cross"),
                                             {980, 634, 109, 19}, ClientArea);

    sbImagesScrollBox = named(new QScrollArea(ClientArea), "sbImagesScrollBox");
    sbImagesScrollBox->setGeometry(423, 659, 680, 119);
    // The tiles are placed by hand; the content area is as high as the strip and as wide as
    // the tiles need, so the strip scrolls sideways only.
    sbImagesScrollBox->setWidget(new QWidget);
    sbImagesScrollBox->setWidgetResizable(true);
    sbImagesScrollBox->installEventFilter(this);
    sbImagesScrollBox->viewport()->setAcceptDrops(true);
    sbImagesScrollBox->viewport()->installEventFilter(this);
}

void TMainForm::CreateMenus()
{
    QMenuBar *bar = menuBar();
    mmFileMenu = named(bar->addMenu(QStringLiteral("File")), "mmFileMenu");
    miOpenProject = named(mmFileMenu->addAction(QStringLiteral("Open Project")), "miOpenProject");
    miOpenProject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    miSaveProject = named(mmFileMenu->addAction(QStringLiteral("Save Project")), "miSaveProject");
    miSaveProject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    miOpenLib = named(mmFileMenu->addAction(QStringLiteral("Extract Glyphbook")), "miOpenLib");
    miPackLib = named(mmFileMenu->addAction(QStringLiteral("Pack Glyphbook")), "miPackLib");
    miPackLib->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    miNewProject = named(mmFileMenu->addAction(QStringLiteral("New Project")), "miNewProject");
    E1 = named(mmFileMenu->addAction(QStringLiteral("Exit")), "E1");

    mmSymbol = named(bar->addMenu(QStringLiteral("Symbol")), "mmSymbol");
    miNewSymbol = named(mmSymbol->addAction(QStringLiteral("Add New Symbol")), "miNewSymbol");
    miNewSymbol->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    miDupSymb = named(mmSymbol->addAction(QStringLiteral("Duplicate Symbol")), "miDupSymb");
    miDupSymb->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    miDeleteSymbol = named(mmSymbol->addAction(QStringLiteral("Delete Symbol")), "miDeleteSymbol");

    mmLanguages = named(bar->addMenu(QStringLiteral("Languages")), "mmLanguages");
    miEN = named(mmLanguages->addAction(QStringLiteral("en")), "miEN");
    miSE = named(mmLanguages->addAction(QStringLiteral("sv")), "miSE");
    for (QAction *language : {miEN, miSE}) {
        language->setCheckable(true);
        language->setChecked(true);
    }

    mmExamples = named(bar->addMenu(QStringLiteral("Examples")), "mmExamples");
    SmallExamplejs1 =
        named(mmExamples->addAction(QStringLiteral("SmallExampleLib.js")), "SmallExamplejs1");
    mmExamples->menuAction()->setVisible(false);

    H1 = named(bar->addAction(QStringLiteral("Help")), "H1");
}

void TMainForm::CreateAnchors()
{
    FAnchors = new TAnchorLayout(ClientArea, kDesignClientSize);
    FAnchors->Anchor(dLV_Symbols, Qt::LeftEdge | Qt::TopEdge | Qt::BottomEdge);
    FAnchors->Anchor(gbSettings, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    FAnchors->Anchor(sbImagesScrollBox,
                     Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    // Vertically the window scrolls once the controls that do not stretch stop fitting.
    ClientArea->setMinimumHeight(bAddImage->geometry().bottom() + 1);
}

void TMainForm::WireEvents()
{
    OnEvent(miOpenProject, &QAction::triggered, &TMainForm::miOpenProjectClick);
    OnEvent(miSaveProject, &QAction::triggered, &TMainForm::miSaveProjectClick);
    OnEvent(miOpenLib, &QAction::triggered, &TMainForm::miOpenLibClick);
    OnEvent(miPackLib, &QAction::triggered, &TMainForm::miPackLibClick);
    OnEvent(miNewProject, &QAction::triggered, &TMainForm::miNewProjectClick);
    OnEvent(E1, &QAction::triggered, &TMainForm::E1Click);
    OnEvent(miNewSymbol, &QAction::triggered, &TMainForm::miNewSymbolClick);
    OnEvent(miDupSymb, &QAction::triggered, &TMainForm::miDupSymbClick);
    OnEvent(miDeleteSymbol, &QAction::triggered, &TMainForm::miDeleteSymbolClick);
    OnEvent(miEN, &QAction::triggered, &TMainForm::miENClick);
    OnEvent(miSE, &QAction::triggered, &TMainForm::miENClick);
    OnEvent(SmallExamplejs1, &QAction::triggered, &TMainForm::SmallExamplejs1Click);
    OnEvent(H1, &QAction::triggered, &TMainForm::H1Click);

    // The list reports a moved selection as a loss for the old row, then a gain for the new.
    connect(dLV_Symbols->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &Selected, const QItemSelection &Deselected) {
                Guard([&] {
                    for (const QModelIndex &index : Deselected.indexes())
                        if (index.column() == 0)
                            dLV_SymbolsSelectItem(dLV_Symbols->itemFromIndex(index), false);
                    for (const QModelIndex &index : Selected.indexes())
                        if (index.column() == 0)
                            dLV_SymbolsSelectItem(dLV_Symbols->itemFromIndex(index), true);
                });
            });

    for (QLineEdit *field : {eIdentifier, eAnchorX, eAnchorY, eTextX, eTextY})
        OnFieldChange(field, &QLineEdit::textChanged);
    // Only the user's choices count: choosing an item from code notifies nothing.
    OnFieldChange(cbTextAlign, &QComboBox::activated);
    OnFieldChange(cbTextAlign->lineEdit(), &QLineEdit::textEdited);
    OnFieldChange(cbIsSymbol, &QCheckBox::toggled);

    OnEvent(bAddImage, &QPushButton::clicked, &TMainForm::bAddImageClick);
    OnEvent(bDeleteImage, &QPushButton::clicked, &TMainForm::bDeleteImageClick);
    WirePreview();
}

void TMainForm::CreateNameFields()
{
    for (int k = 0; k < kNameFieldCount; ++k) {
        auto *field =
            placeEdit("", QString(), QRect(180 + 152 * k, 33, 120, kEditHeight), gbSettings);
        field->hide();
        OnFieldChange(field, &QLineEdit::textChanged);
        NameEdits.append(field);
    }
    for (int k = 0; k < kNameFieldCount; ++k) {
        auto *label = new QLabel(QStringLiteral("LC"), gbSettings);
        label->setGeometry(153 + 152 * k, 36, 24, label->sizeHint().height());
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        label->hide();
        NameLabels.append(label);
    }
}

void TMainForm::FormCreate()
{
    setWindowTitle(BaseCaption());
    Glyphbook.Symbols.clear();
    SetSelectedSymbol(nullptr);
    SymbolEditEnabled(false);
    CreateNameFields();
    InstallTileCallbacks();
    ReadLanguageFile();
    if (!QFileInfo(ProgramFile(QStringLiteral("help.html"))).isFile())
        H1->setVisible(false);
    if (QFileInfo(ProgramFile(QStringLiteral("Examples/SmallExampleLib.js"))).isFile())
        mmExamples->menuAction()->setVisible(true);
    RebuildLanguageColumns();
}

void TMainForm::SymbolEditEnabled(bool State)
{
    SymbolImage->setVisible(State);
    // A selected plain image has no example text; switching the area on must not show it.
    lExampleText->setVisible(State && !(FSelectedSymbol && !FSelectedSymbol->Symbol));
    sbImagesScrollBox->setVisible(State);
    gbSettings->setEnabled(State);
    if (State)
        gbSettings->update();
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

void TMainForm::Guard(const std::function<void()> &Handler)
{
    ++FGuardDepth;
    const auto leave = qScopeGuard([this] { --FGuardDepth; });
    try {
        Handler();
        // Every change to the library is made by some handler: once the outermost is done,
        // the findings window catches up with it.
        if (FGuardDepth == 1)
            FollowLibraryChanges();
    } catch (const EGlyphbookError &error) {
        FDialogs.ShowError(error.message());
    } catch (const std::exception &error) {
        FDialogs.ShowError(QString::fromLocal8Bit(error.what()));
    }
}

bool TMainForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (PreviewWheelEvent(Watched, Event) || PreviewMouseEvent(Watched, Event))
        return true;
    if (Watched == dLV_Symbols->viewport()) {
        if (Event->type() == QEvent::Resize)
            ShareColumnWidths();
        else if (Event->type() == QEvent::MouseButtonDblClick) {
            Guard([this] { dLV_SymbolsDblClick(); });
            // The list would take the double click for a press on the row under it and select
            // that row again.
            return true;
        } else if (HandleFileDrop(Event, &TMainForm::AddDroppedSymbols))
            return true;
    } else if (Watched == dLV_Symbols) {
        if (Event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent *>(Event)->key() == Qt::Key_Delete)
            Guard([this] { miDeleteSymbolClick(); });
    } else if (!sbImagesScrollBox) {
        // The list's events arrive while the window is still being built.
    } else if (Watched == sbImagesScrollBox) {
        if (Event->type() == QEvent::Resize)
            Guard([this] { sbImagesScrollBoxResize(); });
    } else if (Watched == sbImagesScrollBox->viewport()) {
        // A horizontal scroll bar that comes or goes changes the client area's height.
        if (Event->type() == QEvent::Resize)
            Guard([this] { sbImagesScrollBoxResize(); });
        else if (HandleFileDrop(Event, &TMainForm::AddDroppedStateImages))
            return true;
    }
    return QMainWindow::eventFilter(Watched, Event);
}
