#include "app/Localisation.h"

#include "app/AboutKavLang.h"
#include "app/FindingsDock.h"
#include "app/FontsDialog.h"
#include "app/FormGotoLine.h"
#include "app/MemoryPanel.h"
#include "app/ScaleForm.h"
#include "app/ShortcutsDialog.h"
#include "app/StatusPanel.h"
#include "app/WaitPlease.h"
#include "document/FileCopy.h"
#include "document/FontSubstitutes.h"
#include "document/Languages.h"
#include "document/ProductDisplay.h"
#include "document/ProgramFolder.h"
#include "document/StrFile.h"
#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "editing/FontCommands.h"
#include "editing/Navigation.h"
#include "editing/SpellingMenu.h"
#include "editing/TranslationView.h"
#include "exchange/PdfExport.h"
#include "exchange/PoExchange.h"
#include "exchange/ResourceBuild.h"
#include "exchange/RtfExport.h"
#include "exchange/RtfImport.h"
#include "exchange/TmxExport.h"
#include "exchange/XliffExchange.h"
#include "grid/GridPersistence.h"
#include "gridview/FontBuild.h"
#include "gridview/GridClipboard.h"
#include "gridview/StyledStringGrid.h"
#include "measure/DocumentFaces.h"
#include "measure/TextMeasure.h"
#include "platform/Keyboard.h"
#include "platform/Settings.h"
#include "search/SearchCommands.h"
#include "searchui/EnterKeyFilter.h"
#include "searchui/KavrinoFindDialog.h"
#include "searchui/KavrinoFindForm.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "text/CodePage.h"
#include "text/StringUtils.h"
#include "undo/DocumentHistory.h"
#include "widgets/FontCharsetCombo.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace kav {

namespace {

// Column widths at start-up, as fractions of the grid's width (0: hidden).
constexpr std::array<double, colTranslated + 1> ColumnFactors{0.08, 0.02, 0.02, 0.2, 0.3, 0.35};
constexpr const char* ProductDisplayHint =
    "Widths are the product's pixels at 96 dpi; at a larger setting the texts are measured as "
    "the product draws them there, against the widths scaled with it";
constexpr const char* HelpFileName = "KAVRINO TRANSLATION TOOL.HLP";

QString Q(const std::string& S) {
    return QString::fromStdString(S);
}

// A hint "Short|Long": the short part shows as a tool tip, the long part in the status bar.
void SetHint(QWidget* Widget, const QString& Hint) {
    const qsizetype Bar = Hint.indexOf('|');
    Widget->setToolTip(Bar < 0 ? Hint : Hint.left(Bar));
    Widget->setStatusTip(Bar < 0 ? Hint : Hint.mid(Bar + 1));
}

QToolButton* ToolButton(QWidget* Parent, const char* Name, const QString& Text,
                        const QString& Hint) {
    auto* Button = new QToolButton(Parent);
    Button->setObjectName(Name);
    Button->setText(Text);
    Button->setAutoRaise(true);
    if (!Hint.isEmpty())
        SetHint(Button, Hint);
    return Button;
}

QToolButton* ColorButton(QWidget* Parent, const char* Name, const QColor& Color,
                         const QString& Hint) {
    QToolButton* Button = ToolButton(Parent, Name, QString(), Hint);
    Button->setCheckable(true);
    QPixmap Swatch(14, 14);
    Swatch.fill(Color);
    Button->setIcon(QIcon(Swatch));
    return Button;
}

// The grid or its cell editor has the keyboard.
bool HoldsFocus(const QWidget& Grid) {
    const QWidget* Focus = QApplication::focusWidget();
    return Focus && (Focus == &Grid || Grid.isAncestorOf(Focus));
}

QLabel* Label(QWidget* Parent, const QString& Text) {
    auto* L = new QLabel(Text, Parent);
    return L;
}

} // namespace

// The grid as the search commands see it.
class TGridSearchView : public ISearchView {
public:
    TGridSearchView(TStyledStringGrid& Grid, TViewState& State,
                    std::function<TTranslationView*()> View)
        : FGrid(Grid), FState(State), FView(std::move(View)) {}
    int TopRow() const override { return FGrid.TopRow(); }
    void SetTopRow(int Row) override { FGrid.SetTopRow(Row); }
    int CurrentRow() const override { return FGrid.Row(); }
    void GoToRow(int Row) override {
        if (TTranslationView* View = FView())
            View->GoToRow(Row);
    }
    int DialogLeft() const override { return FState.FDialogLeft; }
    int DialogTop() const override { return FState.FDialogTop; }
    void SetDialogPlace(int Left, int Top) override {
        FState.FDialogLeft = Left;
        FState.FDialogTop = Top;
    }
    void SetGridEnabled(bool Enabled) override {
        if (!Enabled)
            FHadFocus = HoldsFocus(FGrid);
        FGrid.setEnabled(Enabled);
        // Disabling a widget takes the keyboard from it: it goes back once the search is done.
        if (Enabled && FHadFocus)
            FGrid.setFocus(Qt::OtherFocusReason);
        if (Enabled)
            QApplication::restoreOverrideCursor();
        else
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    void HighlightFoundText(int Col, int Row, const std::string& Text) override {
        if (TTranslationView* View = FView())
            View->HighlightFoundText(Col, Row, Text);
    }
    // The grid's own pending work (an editor it restores) comes first, so that what is
    // painted is what stays on screen while a question is open.
    void UpdateGrid() override {
        QCoreApplication::sendPostedEvents(&FGrid);
        FGrid.viewport()->repaint();
    }
    void RepaintGrid() override { FGrid.viewport()->repaint(); }

private:
    TStyledStringGrid& FGrid;
    TViewState& FState;
    bool FHadFocus = false;
    std::function<TTranslationView*()> FView;
};

TMainForm::TMainForm(const std::string& ProgramDir, IModalDialogs* Dialogs, QWidget* Parent)
    : QMainWindow(Parent) {
    setObjectName("MainForm");
    SetDialogs(Dialogs);
    QFont WindowFont("Arial");
    WindowFont.setPixelSize(11);
    WindowFont.setBold(true);
    setFont(WindowFont);
    BuildGrid();
    BuildMenus();
    BuildControlBar();
    BuildStatusBar();
    FDocument = std::make_unique<TDocument>(strGrid->Model(), *this);
    FDocument->SetFolders(ProgramDir);
    if (QAction* Dpi = findChild<QAction*>(QString("ProductDpi%1").arg(State().FProductDpi)))
        Dpi->setChecked(true);
    FDocument->WatchDiskFile(true);
    FDocument->KeepRecoveryCopies(true);
    // Unsaved work is copied aside after a minute without changes, and at once after a
    // command that changed many items.
    FRecoveryTimer = new QTimer(this);
    FRecoveryTimer->setSingleShot(true);
    FRecoveryTimer->setInterval(60000);
    connect(FRecoveryTimer, &QTimer::timeout, this, [this] { WriteRecoveryCopy(); });
    FLanguages = std::make_unique<TLanguages>(*FDocument, strGrid->Model(), *this);
    // A file's name selects only a language the language box offers.
    FDocument->SetLanguageOffer(
        [this](const std::string& Code) { return FLanguages->Offers(Code); });
    FDocument->SetObserver(this);
    InstallUndo();
    InstallSearch();
    InstallExchange();
    InstallMemory();
    resize(1024, 700);
    Guarded([this] { FormCreate(); });
    FCreated = true;
}

TMainForm::~TMainForm() {
    FDocument->SetObserver(nullptr);
    // The view and the key handler unhook themselves from the grid, so they go first.
    FNavigation.reset();
    FView.reset();
}

void TMainForm::InstallSearch() {
    TMyFont DialogFont;
    DialogFont.SetName("Arial");
    DialogFont.SetHeight(-11);
    DialogFont.SetStyle(fsBold);
    FindDialog1 = new TKavrinoFindDialog(this);
    ReplaceDialog1 = new TKavrinoReplaceDialog(this);
    FindDialog1->SetFont(DialogFont);
    ReplaceDialog1->SetFont(DialogFont);
    FSearchView =
        std::make_unique<TGridSearchView>(*strGrid, FViewState, [this] { return FView.get(); });
    FSearch = std::make_unique<TSearchCommands>(*FDocument, *this, *FSearchView, *FindDialog1,
                                                *ReplaceDialog1);
    auto Run = [this](void (TSearchCommands::*Step)()) {
        return [this, Step](QObject*) { TableCommand([this, Step] { (FSearch.get()->*Step)(); }); };
    };
    FindDialog1->OnShow = Run(&TSearchCommands::FindDialogShow);
    FindDialog1->OnFind = Run(&TSearchCommands::SearchFind);
    FindDialog1->OnClose = Run(&TSearchCommands::FindDialogClose);
    ReplaceDialog1->OnShow = Run(&TSearchCommands::ReplaceDialogShow);
    ReplaceDialog1->OnFind = Run(&TSearchCommands::SearchFind);
    ReplaceDialog1->OnReplace = Run(&TSearchCommands::SearchReplace);
    ReplaceDialog1->OnClose = Run(&TSearchCommands::ReplaceDialogClose);
    // Enter runs Find Next in an open dialog's window and in the grid; other windows keep it.
    qApp->installEventFilter(new TEnterKeyFilter(
        [this](int Code, QWidget* Target) {
            using TPlace = TSearchCommands::TKeyPlace;
            const QWidget* Window = Target->window();
            TPlace Place = TPlace::Elsewhere;
            if (Target == strGrid || strGrid->isAncestorOf(Target))
                Place = TPlace::Grid;
            else if (Window == FindDialog1->Window())
                Place = TPlace::FindWindow;
            else if (Window == ReplaceDialog1->Window())
                Place = TPlace::ReplaceWindow;
            return FSearch->ApplicationShortCut(Code, Place);
        },
        this));
    connect(SearchButton, &QToolButton::clicked, this, [this] { FindMenuClick(); });
    connect(SearchReplaceButton, &QToolButton::clicked, this, [this] { ReplaceMenuClick(); });
    connect(SearchUpButton, &QToolButton::clicked, this, [this] { SearchUp(); });
    connect(SearchDownButton, &QToolButton::clicked, this, [this] { SearchDown(); });
}

void TMainForm::InstallExchange() {
    connect(btnSaveColGrid, &QToolButton::clicked, this, [this] {
        TableCommand([this] {
            const TRtfExportControls Controls{
                SoftwareName(State().FSoftware), FLanguages->SelectedEntry(),
                std::string(Table().Cells(colTranslated, 1)), FontName->currentText().toStdString(),
                FontSize->value()};
            ExportRtfFiles(State(), FDocument->Items(), *this, Controls);
        });
    });
    connect(btnFillGridCol, &QToolButton::clicked, this, [this] {
        TableCommand([this] {
            AskAndImportRtf(*FDocument, *this,
                            {MaskEditFrom->text().toStdString(), MaskEditTo->text().toStdString()});
        });
    });
    connect(btnFillTranslatedLanguage, &QToolButton::clicked, this, [this] {
        TableCommand([this] {
            ConfirmAndFillTranslations(*FDocument, *this, edtFillChar->text().toStdString());
        });
    });
}

void TMainForm::BuildExchangeMenus(QMenu* File) {
    const auto Add = [this](QMenu* Menu, const QString& Caption, const QString& Hint,
                            const std::function<void()>& Step) {
        QAction* Action = Menu->addAction(Caption);
        Action->setStatusTip(Hint);
        connect(Action, &QAction::triggered, this, [this, Step] { TableCommand(Step); });
    };
    File->addSeparator();
    QMenu* Export = File->addMenu("&Export");
    Export->setObjectName("ExportMenu");
    Add(Export, "&XLIFF 1.2...", "Export the table as XLIFF 1.2 for CAT tools, with pixel widths",
        [this] { AskAndExportXliff(*FDocument, *this, ExportFindings()); });
    Add(Export, "&PO (gettext)...", "Export the table as a gettext PO file", [this] {
        AskAndExportPo(*FDocument, *this, {ExportFindings(), EnglishChangedIn(*FDocument)});
    });
    Add(Export, "P&DF...", "Export the table as the window draws it, for printing", [this] {
        TPdfOptions Options{LocalePageSize(), ExportFindings(), FLanguages->SelectedEntry()};
        Options.HighlightBack = FViewState.FHighlightBackColor;
        Options.HighlightText = FViewState.FHighlightFontColor;
        AskAndExportPdf(*FDocument, *this, Options);
    });
    Add(Export, "&Translation Memory (TMX)...",
        "Export the translations of every language file of the program folder as TMX",
        [this] { AskAndExportFolderTmx(*FDocument, *this); });
    QMenu* Import = File->addMenu("&Import");
    Import->setObjectName("ImportMenu");
    Add(Import, "&XLIFF 1.2...", "Take the translations of an XLIFF file, matched by name",
        [this] { AskAndImportXliff(*FDocument, *this); });
    Add(Import, "&PO (gettext)...", "Take the translations of a PO file, matched by name",
        [this] { AskAndImportPo(*FDocument, *this); });
}

// The findings the grid shows; a large table is checked first (with its Cancel, which leaves
// the notes out).
TItemFindings TMainForm::ExportFindings() {
    if (!FView || (FView->Findings().Pending() && !CheckAllFindings()))
        return {};
    return [this](TItemId Id) { return FView->Findings().Of(RowOfItem(Id)); };
}

void TMainForm::MakeResourceFileMenuClick() {
    TableCommand([this] {
        TResourceBuild Build(State(), *this);
        Build.OfferSave([this] {
            FDocument->FileSave();
            return !State().FModified;
        });
        Build.MakeResourceFileMenuClick();
    });
}

void TMainForm::FindMenuClick() {
    Guarded([this] { FSearch->FindMenuClick(); });
}

void TMainForm::ReplaceMenuClick() {
    Guarded([this] { FSearch->ReplaceMenuClick(); });
}

void TMainForm::SearchUp() {
    Guarded([this] { FSearch->SearchUpButtonClick(); });
}

void TMainForm::SearchDown() {
    Guarded([this] { FSearch->SearchDownButtonClick(); });
}

// The pop-up acts on the current row: the row right-clicked became current when it opened.
void TMainForm::UndoReplaceStringMenuClick() {
    TableCommand([this] { FDocument->UndoReplacement(ItemOfRow(strGrid->Row())); });
}

void TMainForm::ClearFlagMenuClick() {
    TableCommand([this] { FDocument->AcceptReplacement(ItemOfRow(strGrid->Row())); });
}

void TMainForm::MarkReviewedMenuClick() {
    TableCommand([this] { FView->MarkReviewed(strGrid->Row()); });
}

void TMainForm::UndoAllReplaceStringMenuClick() {
    TableCommand([this] { FDocument->UndoAllReplacements(); });
}

void TMainForm::ClearAllFlagsMenuClick() {
    TableCommand([this] { FDocument->AcceptAllReplacements(); });
}

TStyledGridModel& TMainForm::Table() {
    return strGrid->Model();
}

QWidget* TMainForm::DialogOwner() {
    for (QWidget* Window :
         {static_cast<QWidget*>(ReplaceDialog1 ? ReplaceDialog1->Window() : nullptr),
          static_cast<QWidget*>(FindDialog1 ? FindDialog1->Window() : nullptr)})
        if (Window && Window->isVisible())
            return Window;
    return this;
}

void TMainForm::SetDialogs(IModalDialogs* Dialogs) {
    FDialogs = Dialogs ? Dialogs : &FQtDialogs;
}

void TMainForm::TableCommand(const std::function<void()>& Step) {
    // A command on the table or the file sees the cell being typed in as finished: the question
    // to save knows about it, and whatever the command then writes into the table is not
    // overwritten by the end of that edit arriving later.
    strGrid->CommitEdit();
    Guarded(Step);
}

void TMainForm::Guarded(const std::function<void()>& Step) {
    // The top level of every command: a silent abort ends it quietly, any other error goes to
    // the general error box and the program goes on.
    ++FCommandDepth;
    try {
        Step();
    } catch (const SilentAbort&) {
    } catch (const std::exception& E) {
        ShowError(E.what());
    }
    --FCommandDepth;
}

void TMainForm::CheckDiskFileSoon() {
    // Looked at once the window is back and no command is under way: a question in the middle
    // of a save or a load would change what that command is doing.
    QTimer::singleShot(0, this, [this] {
        if (FCommandDepth > 0 || TableHeld() || !isActiveWindow() ||
            QApplication::activeModalWidget())
            return;
        Guarded([this] { FDocument->CheckDiskFile(false); });
    });
}

void TMainForm::FileNew() {
    TableCommand([this] { FDocument->FileNew(); });
}

void TMainForm::FileOpen() {
    TableCommand([this] { FDocument->FileOpen(); });
}

void TMainForm::FileSave() {
    TableCommand([this] { FDocument->FileSave(); });
}

void TMainForm::FileSaveAs() {
    TableCommand([this] { FDocument->FileSaveAs(); });
}

void TMainForm::FileRestoreVersion() {
    TableCommand([this] { FDocument->FileRestoreVersion(); });
}

// ---- undo ------------------------------------------------------------------------------

void TMainForm::InstallUndo() {
    FHistory = std::make_unique<TDocumentHistory>(*FDocument);
    QUndoStack& Stack = FHistory->Stack();
    connect(&Stack, &QUndoStack::cleanChanged, this, [this] { UpdateUndoActions(); });
    connect(&Stack, &QUndoStack::indexChanged, this, [this] { UpdateUndoActions(); });
    UpdateUndoActions();
}

void TMainForm::UpdateUndoActions() {
    if (!FHistory || !UndoMenu)
        return;
    const QUndoStack& Stack = FHistory->Stack();
    UndoMenu->setEnabled(Stack.canUndo());
    RedoMenu->setEnabled(Stack.canRedo());
    UndoMenu->setText(Stack.canUndo() ? "&Undo " + Stack.undoText() : QString("&Undo"));
    RedoMenu->setText(Stack.canRedo() ? "&Redo " + Stack.redoText() : QString("&Redo"));
}

void TMainForm::UndoMenuClick() {
    HistoryCommand(true);
}

void TMainForm::RedoMenuClick() {
    HistoryCommand(false);
}

void TMainForm::HistoryCommand(bool Undo) {
    TableCommand([this, Undo] {
        FApplyingHistory = true;
        struct TDone {
            bool& Flag;
            ~TDone() { Flag = false; }
        } Done{FApplyingHistory};
        if (Undo)
            FHistory->Undo();
        else
            FHistory->Redo();
    });
}

void TMainForm::CopyMenuClick() {
    strGrid->CopyToClipboard();
}

// Whole cells go in, as the grid's own paste puts them, and only into translations: the other
// columns are the product's names and default texts. The block is pasted aside first, so that
// the translations change as one command or not at all.
void TMainForm::PasteMenuClick() {
    const TGridRect Target = strGrid->Selection();
    if (Target.Left != colTranslated || Target.Right != colTranslated ||
        Target.Top < FirstItemRow) {
        QApplication::beep();
        return;
    }
    TableCommand([this, Target] {
        const QMimeData* Data = QApplication::clipboard()->mimeData();
        if (!Data)
            return;
        const TItemTable& Items = FDocument->Items();
        const int Last = std::min(Target.Bottom, FirstItemRow + Items.Count() - 1);
        TStyledGridModel Block;
        Block.SetColCount(Table().ColCount());
        Block.SetRowCount(Last + 1);
        for (int Row = Target.Top; Row <= Last; ++Row)
            Block.SetCells(colTranslated, Row, Items.Translation(ItemOfRow(Row)));
        const QString Refusal =
            MimeDataToCells(Block, *Data, '\t', Target,
                            [this](int Col, int Row) { return strGrid->CodePageOf(Col, Row); });
        if (!Refusal.isEmpty()) {
            Beep();
            MessageDlg(Refusal.toStdString(), TMsgDlgType::mtWarning, mbOK);
            return;
        }
        std::vector<std::pair<TItemId, std::string>> Texts;
        for (int Row = Target.Top; Row <= Last; ++Row)
            if (Block.Cells(colTranslated, Row) != Items.Translation(ItemOfRow(Row)))
                Texts.emplace_back(ItemOfRow(Row), std::string(Block.Cells(colTranslated, Row)));
        FDocument->PasteTranslations(Texts);
    });
}

std::string TMainForm::ItemName(int Row) const {
    return FDocument->Items().Caption(ItemOfRow(Row));
}

// ---- building the window ---------------------------------------------------------------

QAction* TMainForm::AddAction(QMenu* Menu, const QString& Caption, const QKeySequence& Shortcut,
                              const QString& Hint, void (TMainForm::*Handler)()) {
    QAction* Action = Menu->addAction(Caption);
    Action->setShortcut(Shortcut);
    Action->setStatusTip(Hint);
    connect(Action, &QAction::triggered, this, [this, Handler] { (this->*Handler)(); });
    return Action;
}

void TMainForm::AddHiddenItem(QMenu* Menu, const QString& Caption, const QKeySequence& Shortcut,
                              const QString& Hint) {
    QAction* Action = Menu->addAction(Caption);
    Action->setShortcut(Shortcut);
    Action->setStatusTip(Hint);
    Action->setVisible(false);
}

void TMainForm::BuildMenus() {
    QMenu* File = menuBar()->addMenu("&File");
    AddAction(File, "&New", QKeySequence("Ctrl+N"), "Create a new file", &TMainForm::FileNew);
    AddAction(File, "&Open...", QKeySequence("Ctrl+O"), "Open an existing file",
              &TMainForm::FileOpen);
    AddAction(File, "&Save", QKeySequence("Ctrl+S"), "Save current file", &TMainForm::FileSave);
    AddAction(File, "Save &As...", {}, "Save current file under a new name",
              &TMainForm::FileSaveAs);
    AddHiddenItem(File, "&Print", QKeySequence("Ctrl+P"), "Print current file");
    AddAction(File, "&Restore Previous Version...", {}, "Open a version kept in the backup history",
              &TMainForm::FileRestoreVersion);
    BuildExchangeMenus(File);
    File->addSeparator();
    AddAction(File, "E&xit", QKeySequence("Alt+X"), "Exit this application", &TMainForm::FileExit);

    QMenu* Edit = menuBar()->addMenu("&Edit");
    // The in-place editor keeps these keys while it has typing of its own to undo or redo.
    UndoMenu = AddAction(Edit, "&Undo", QKeySequence("Ctrl+Z"), "Undo the last action",
                         &TMainForm::UndoMenuClick);
    UndoMenu->setObjectName("UndoMenu");
    RedoMenu =
        AddAction(Edit, "&Redo", {}, "Redo the last action undone", &TMainForm::RedoMenuClick);
    RedoMenu->setObjectName("RedoMenu");
    RedoMenu->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    AddHiddenItem(Edit, "Cu&t", {}, "Delete selected item");
    // Whole cells; Ctrl+C and Ctrl+V stay with the cell editor, which copies its own text.
    AddAction(Edit, "&Copy", {}, "Copy selected item to clipboard", &TMainForm::CopyMenuClick)
        ->setObjectName("CopyMenu");
    AddAction(Edit, "&Paste", {}, "Paste contents of clipboard", &TMainForm::PasteMenuClick)
        ->setObjectName("PasteMenu");
    Edit->addSeparator();
    MemoryMenu = Edit->addMenu("Translation &Memory");
    MemoryMenu->setObjectName("MemoryMenu");

    QMenu* Search = menuBar()->addMenu("&Search");
    AddAction(Search, "&Find...", QKeySequence("Ctrl+F"), {}, &TMainForm::FindMenuClick);
    AddAction(Search, "&Replace...", QKeySequence("Ctrl+R"), {}, &TMainForm::ReplaceMenuClick);
    AddHiddenItem(Search, "&Search Again", QKeySequence("F3"), {});
    AddAction(Search, "&Go to Line Number...", QKeySequence("Ctrl+G"), {},
              &TMainForm::GotoLineMenuClick);

    QMenu* Compile = menuBar()->addMenu("Compile");
    AddAction(Compile, "Make Resource File", {}, {}, &TMainForm::MakeResourceFileMenuClick);

    QMenu* Other = menuBar()->addMenu("Other");
    AddHiddenItem(Other, "&Default Language File", {}, {});
    // Picking a language switches the desktop's keyboard layout only when the user wants it;
    // the choice is kept for the next start.
    QAction* SwitchKeyboard = Other->addAction("Switch &Keyboard with Language");
    SwitchKeyboard->setObjectName("SwitchKeyboardItem");
    SwitchKeyboard->setStatusTip(SwitchKeyboardHint);
    SwitchKeyboard->setCheckable(true);
    SwitchKeyboard->setChecked(KeyboardSwitchingEnabled());
    connect(SwitchKeyboard, &QAction::toggled, this, [this](bool On) {
        if (!SetKeyboardSwitching(On))
            MessageDlg("The keyboard option could not be saved in " +
                           LocalisationSettingsFile().toStdString() + ".",
                       TMsgDlgType::mtWarning, mbOK);
    });

    // The display setting of the product's users: the widths of the default file are its
    // pixels at 96 dpi, and at a larger setting the texts are checked as drawn there.
    QMenu* Display = Other->addMenu("Product &Display");
    Display->setObjectName("ProductDisplayMenu");
    auto* Dpis = new QActionGroup(Display);
    for (const int Dpi : ProductDpis()) {
        QAction* Item = Display->addAction(Q(ProductDpiName(Dpi)));
        Item->setObjectName(QString("ProductDpi%1").arg(Dpi));
        Item->setStatusTip(ProductDisplayHint);
        Item->setCheckable(true);
        Item->setActionGroup(Dpis);
        connect(Item, &QAction::triggered, this, [this, Dpi] { ProductDpiClick(Dpi); });
    }

    QMenu* View = menuBar()->addMenu("&View");
    NextFindingMenu = AddAction(View, "&Next Finding", QKeySequence("F4"),
                                "Go to the next row with an error or a warning",
                                &TMainForm::NextFindingMenuClick);
    NextFindingMenu->setObjectName("NextFindingMenu");
    PreviousFindingMenu = AddAction(View, "&Previous Finding", QKeySequence("Shift+F4"),
                                    "Go to the previous row with an error or a warning",
                                    &TMainForm::PreviousFindingMenuClick);
    PreviousFindingMenu->setObjectName("PreviousFindingMenu");
    AddAction(View, "Next &Changed English", QKeySequence("F12"),
              "Go to the next item whose English changed since the file was saved",
              &TMainForm::NextChangedEnglishMenuClick)
        ->setObjectName("NextChangedEnglishMenu");
    AddAction(View, "Previous Changed &English", QKeySequence("Shift+F12"),
              "Go to the previous item whose English changed since the file was saved",
              &TMainForm::PreviousChangedEnglishMenuClick)
        ->setObjectName("PreviousChangedEnglishMenu");
    FindingsPanelMenu = View;

    QMenu* Help = menuBar()->addMenu("&Help");
    AddAction(Help, "&Content", QKeySequence("F1"), "Open the user guide",
              &TMainForm::HelpContentItemClick);
    AddAction(Help, "&Keyboard Shortcuts", {}, "List the keys of the menus and the table",
              &TMainForm::HelpShortcutsItemClick);
    AddAction(Help, "&Fonts...", {}, "List the document's item fonts and what measures each",
              &TMainForm::HelpFontsItemClick);
    AddAction(Help, "&About...", {}, "Show program information", &TMainForm::HelpAboutItemClick);

    pmnuGridRowAction = new QMenu(this);
    pmnuGridRowAction->setObjectName("pmnuGridRowAction");
    UndoReplaceStringMenu =
        AddAction(pmnuGridRowAction, "Undo marked string ... replaced string with", {}, {},
                  &TMainForm::UndoReplaceStringMenuClick);
    ClearFlagMenu = AddAction(pmnuGridRowAction, "Mark as accepted replacement   ", {}, {},
                              &TMainForm::ClearFlagMenuClick);
    UndoAllReplaceStringMenu = AddAction(pmnuGridRowAction, "Undo All marked strings", {}, {},
                                         &TMainForm::UndoAllReplaceStringMenuClick);
    ClearAllFlagsMenu = AddAction(pmnuGridRowAction, "Mark All as accepted replacement   ", {}, {},
                                  &TMainForm::ClearAllFlagsMenuClick);
    UndoReplaceStringMenu->setObjectName("UndoReplaceStringMenu");
    ClearFlagMenu->setObjectName("ClearFlagMenu");
    UndoAllReplaceStringMenu->setObjectName("UndoAllReplaceStringMenu");
    ClearAllFlagsMenu->setObjectName("ClearAllFlagsMenu");
    MarkReviewedMenu =
        AddAction(pmnuGridRowAction, "Mark as reviewed", {}, {}, &TMainForm::MarkReviewedMenuClick);
    MarkReviewedMenu->setObjectName("MarkReviewedMenu");
    for (QAction* Item : pmnuGridRowAction->actions())
        Item->setVisible(false);
    // A menu closed with Escape, or a hidden editor, can leave nothing holding the keyboard:
    // the grid's keys (Ctrl+Home, Alt+F12 ...) go back to the grid at once.
    for (QAction* Entry : menuBar()->actions())
        if (QMenu* Menu = Entry->menu())
            connect(Menu, &QMenu::aboutToHide, this, [this] {
                QTimer::singleShot(0, this, [this] {
                    if (!QApplication::activePopupWidget() &&
                        QApplication::focusWidget() == menuBar())
                        strGrid->setFocus(Qt::OtherFocusReason);
                });
            });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* Now) {
        if (Now)
            return;
        QTimer::singleShot(0, this, [this] {
            if (!QApplication::focusWidget() && !QApplication::activePopupWidget() &&
                !QApplication::activeModalWidget() && isActiveWindow())
                strGrid->setFocus(Qt::OtherFocusReason);
        });
    });
}

void TMainForm::BuildControlBar() {
    StandardToolBar = new QToolBar("StandardToolBar", this);
    StandardToolBar->setObjectName("StandardToolBar");
    StandardToolBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, StandardToolBar);
    const auto& FileActions = menuBar()->actions()[0]->menu()->actions();
    for (int i : {0, 1, 2, 4})
        StandardToolBar->addAction(FileActions[i]);
    StandardToolBar->addSeparator();
    SearchButton = ToolButton(this, "SearchButton", "Find", "Search...");
    SearchReplaceButton =
        ToolButton(this, "SearchReplaceButton", "Replace", "Search and replace...");
    SearchUpButton = ToolButton(this, "SearchUpButton", QString::fromUtf8("▲"),
                                "( ALT + F11 ) Search next string that was replaced");
    SearchDownButton = ToolButton(this, "SearchDownButton", QString::fromUtf8("▼"),
                                  "( ALT + F12 ) Search next string that was replaced");
    for (QToolButton* B : {SearchButton, SearchReplaceButton, SearchUpButton, SearchDownButton})
        StandardToolBar->addWidget(B);
    FontName = new QComboBox(this);
    FontName->setObjectName("FontName");
    FontName->setMaxVisibleItems(10);
    FontName->setMinimumContentsLength(18);
    SetHint(FontName, "Font Name|Select font name");
    StandardToolBar->addWidget(FontName);
    FontSize = new QSpinBox(this);
    FontSize->setObjectName("FontSize");
    FontSize->setRange(6, 16);
    FontSize->setValue(8);
    FontSize->findChild<QLineEdit*>()->setReadOnly(true);
    SetHint(FontSize, "Font Size|Select font size");
    UpDown1 = FontSize;
    StandardToolBar->addWidget(FontSize);
    BoldButton = ToolButton(this, "BoldButton", "B", "Bold");
    BoldButton->setCheckable(true);
    StandardToolBar->addWidget(BoldButton);
    lblLanguage = Label(this, "Language");
    lblLanguage->setObjectName("lblLanguage");
    StandardToolBar->addWidget(lblLanguage);
    LanguageBox = new QComboBox(this);
    LanguageBox->setObjectName("LanguageBox");
    LanguageBox->setMinimumContentsLength(28);
    SetHint(LanguageBox, "Language Name|Select a language name");
    connect(LanguageBox, qOverload<int>(&QComboBox::activated), this,
            [this](int) { LanguageChange(); });
    StandardToolBar->addWidget(LanguageBox);

    addToolBarBreak();
    ToolBar1 = new QToolBar("ToolBar1", this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    btnBleue = ColorButton(this, "btnBleue", QColor(0, 255, 255), "F5");
    btnGreen = ColorButton(this, "btnGreen", QColor(0, 255, 0), "F6");
    btnYellow = ColorButton(this, "btnYellow", QColor(255, 255, 0), "F7");
    btnPurple = ColorButton(this, "btnPurple", QColor(255, 0, 255), "F8");
    btnWhite = ColorButton(this, "btnWhite", QColor(255, 255, 255), "F9");
    // At most one colour button is down, and the one down can be released: then a click on
    // a colour mark changes nothing.
    ColorButtons = new QButtonGroup(this);
    ColorButtons->setExclusive(false);
    for (QToolButton* B : {btnBleue, btnGreen, btnYellow, btnPurple, btnWhite}) {
        ColorButtons->addButton(B);
        ToolBar1->addWidget(B);
    }
    connect(ColorButtons, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* B, bool On) {
        if (On)
            for (QAbstractButton* Other : ColorButtons->buttons())
                if (Other != B)
                    Other->setChecked(false);
    });
    btnWhite->setChecked(true);
    FontHighlightColorButton =
        ToolButton(this, "FontHighlightColorButton", "A", "Select font color");
    BackgroudHighlightColorButton = ToolButton(this, "BackgroudHighlightColorButton",
                                               QString::fromUtf8("■"), "Select background color");
    ToolBar1->addWidget(FontHighlightColorButton);
    ToolBar1->addWidget(BackgroudHighlightColorButton);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    auto* P1 = new QHBoxLayout(Panel1);
    P1->setContentsMargins(4, 0, 4, 0);
    P1->addWidget(Label(Panel1, "Available character set for the font Arial"));
    cmbFontCharset = new TFontCharsetComboBox(Panel1);
    cmbFontCharset->setObjectName("cmbFontCharset");
    cmbFontCharset->SetAddDefaultCharset(true);
    cmbFontCharset->SetOnClick([this](QObject*) { cmbFontCharsetClick(); });
    P1->addWidget(cmbFontCharset);
    ToolBar1->addWidget(Panel1);

    // The software, RTF, range and fill controls take a row of their own: beside the colour
    // and character-set controls they would not fit a 1024-pixel window and the tool bar
    // would hide them behind its overflow button.
    addToolBarBreak();
    ToolBar2 = new QToolBar("ToolBar2", this);
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setMovable(false);
    addToolBar(Qt::TopToolBarArea, ToolBar2);
    Panel2 = new QWidget(this);
    Panel2->setObjectName("Panel2");
    auto* P2 = new QHBoxLayout(Panel2);
    P2->setContentsMargins(4, 0, 4, 0);
    P2->addWidget(Label(Panel2, "Save or Compile this file for the software: "));
    cbxSoftware = new QComboBox(Panel2);
    cbxSoftware->setObjectName("cbxSoftware");
    cbxSoftware->addItems({"Kavrino", "Pelmor"});
    cbxSoftware->setMinimumContentsLength(8);
    P2->addWidget(cbxSoftware);
    btnSaveColGrid = ToolButton(Panel2, "btnSaveColGrid", "RTF", "Save to RTF file");
    btnFillGridCol = ToolButton(Panel2, "btnFillGridCol", "Load", "Load from RTF file");
    P2->addWidget(btnSaveColGrid);
    P2->addWidget(btnFillGridCol);
    P2->addWidget(Label(Panel2, "Items: From "));
    MaskEditFrom = new QLineEdit(Panel2);
    MaskEditTo = new QLineEdit(Panel2);
    MaskEditFrom->setObjectName("MaskEditFrom");
    MaskEditTo->setObjectName("MaskEditTo");
    for (QLineEdit* Edit : {MaskEditFrom, MaskEditTo}) {
        Edit->setInputMask("00000;#");
        Edit->setText("00001");
        Edit->setFixedWidth(52);
    }
    P2->addWidget(MaskEditFrom);
    P2->addWidget(Label(Panel2, "To"));
    P2->addWidget(MaskEditTo);
    btnFillTranslatedLanguage =
        ToolButton(Panel2, "btnFillTranslatedLanguage", "Fill",
                   "Fill all fields of Translated Language with string ... ");
    P2->addWidget(btnFillTranslatedLanguage);
    edtFillChar = new QLineEdit("?", Panel2);
    edtFillChar->setObjectName("edtFillChar");
    edtFillChar->setMaxLength(1);
    edtFillChar->setFixedWidth(24);
    P2->addWidget(edtFillChar);
    P2->addStretch(1); // the row is wider than its controls: they keep together on the left
    ToolBar2->addWidget(Panel2);
}

void TMainForm::BuildStatusBar() {
    const int Widths[3] = {150, 120, 100};
    const Qt::Alignment Aligns[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new TStatusPanel(Widths[i], this);
        StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        StatusPanels[i]->setAlignment(Aligns[i] | Qt::AlignVCenter);
        statusBar()->addWidget(StatusPanels[i], i == 2 ? 1 : 0);
    }
    ModifiedPanel = new QLabel(this);
    ModifiedPanel->setObjectName("ModifiedPanel");
    statusBar()->addPermanentWidget(ModifiedPanel);
    FindingsPanel = new QLabel(this);
    FindingsPanel->setObjectName("FindingsPanel");
    statusBar()->addPermanentWidget(FindingsPanel);
    statusBar()->setSizeGripEnabled(false);
}

void TMainForm::BuildGrid() {
    strGrid = new TStyledStringGrid(this);
    strGrid->setObjectName("strGrid");
    // The translated texts are in the language's code page; the other columns in the system's.
    strGrid->CodePageOfCharset = [this](int Col, int, int Charset) {
        return Col == colTranslated ? CodePageForLanguageCharset(Charset, State().FLanguageCode)
                                    : CodePageForCharset(Charset);
    };
    setCentralWidget(strGrid);
    QFile Settings(":/data/grid/MainGrid.txt");
    std::string Text;
    if (Settings.open(QIODevice::ReadOnly))
        Text = Settings.readAll().toStdString();
    TGridLoadResult Result = LoadGridSettings(strGrid->Model(), Text);
    for (const TFormProperty& P : Result.Unhandled) {
        if (P.Name == "DefaultColWidth")
            strGrid->SetDefaultColWidth(static_cast<int>(P.Value.Integer));
        else if (P.Name == "DefaultRowHeight")
            strGrid->SetDefaultRowHeight(static_cast<int>(P.Value.Integer));
        else if (P.Name == "NextCellEdit")
            strGrid->NextCellEdit = nc_downright;
        else if (P.Name == "NextCellTab")
            strGrid->NextCellTab = nc_downright;
        else if (P.Name == "AfterLastCellEdit")
            strGrid->AfterLastCellEdit = lc_first;
    }
    strGrid->SetOptions(DefaultGridOptions | goColSizing | goEditing | goTabs | goAlwaysShowEditor |
                        goThumbTracking);
    strGrid->Loaded();
    strGrid->OnRefusedChar = [this](const QString& Char, int CodePage) {
        ReportRefusedChar(Char, CodePage);
    };
}

void TMainForm::ReportRefusedChar(const QString& Char, int CodePage) {
    // One notice per edited cell that grows with each character refused: a box per key would
    // swallow the keys typed after it, and a Ctrl+S could land on the box instead of the window.
    const QPoint Cell(strGrid->EditorCol(), strGrid->EditorRow());
    if (Cell != FRefusedCell) {
        FRefusedCell = Cell;
        FRefusedChars.clear();
        FRefusedInFile.clear();
    }
    // Page 0: the language file itself cannot hold the character, whatever the code page.
    QStringList& Refused = CodePage == 0 ? FRefusedInFile : FRefusedChars;
    const QString Shown = Char == "\n" || Char == "\r" ? QString("a line break")
                          : Char == "\x1a"             ? QString("the end-of-file character")
                          : Char == QString(QChar(0))  ? QString("a NUL character")
                                                       : "'" + Char + "'";
    if (!Refused.contains(Shown)) {
        Refused.append(Shown);
        Beep();
    }
    if (CodePage != 0)
        FRefusedPage = CodePage;
    QStringList Parts;
    if (!FRefusedChars.isEmpty())
        Parts << QString("%1 cannot be written in code page %2")
                     .arg(FRefusedChars.join(", "),
                          QString::fromLatin1(CodePageName(FRefusedPage)));
    if (!FRefusedInFile.isEmpty())
        Parts << QString("%1 cannot be written in a language file").arg(FRefusedInFile.join(", "));
    SetStatusText(StatusHint, ("Not typed: " + Parts.join("; ") + ".").toStdString());
}

// ---- creation and start-up -------------------------------------------------------------

void TMainForm::FormCreate() {
    ScaleForm(*this);
    // At least the designed width: our faces are wider than the designed ones, so the panel
    // may take more rather than cut its controls.
    Panel2->setMinimumWidth(482);
    ClearBookmarks();
    const std::string LanguageDir = State().LanguageDir();
    if (!EnsureFolder(LanguageDir))
        throw ToolError("Cannot create " + LanguageDir);
    // Saves that were cut off between writing and renaming left their temporary files here.
    RemoveStaleTempFiles(LanguageDir);
    RemoveStaleTempFiles(State().FDefaultDir);
    RemoveStaleBuildFiles(State().FProgramDir);
    SetFileName(UntitledName);
    FillFontNames();
    QFont Default = QApplication::font();
    Default.setFamily("Arial");
    QApplication::setFont(Default);
    FontName->setCurrentIndex(
        FontName->findText("Arial", Qt::MatchExactly | Qt::MatchCaseSensitive));
    FLanguages->InitCharsetBox();
    ConfigureGrid();
    InstallTranslationView();
    InstallGridCommands();
    FLanguages->InitLanguageList();
    FViewState.FHighlightBackColor = 12632256;
    FViewState.FHighlightFontColor = 8388608;
    FDocument->SetSoftware(TSoftware::Kavrino);
}

void TMainForm::ConfigureGrid() {
    TStyledGridModel& G = strGrid->Model();
    TMyFont& GridFont = G.Font();
    GridFont.SetName("Arial");
    GridFont.SetSize(MulDiv(11, 72, 96));
    G.SetColorCol(colBookmark, clActiveCaption);
    G.FontCol(colBookmark).SetColor(clCaptionText);
    // The grid fills the window's width; at creation it has not been laid out yet.
    const int Width = std::max(strGrid->viewport()->width(), width() - 2 * strGrid->frameWidth());
    for (int Col = 0; Col < 6; ++Col)
        strGrid->SetColWidths(Col, static_cast<int>(Width * ColumnFactors[Col]));
    G.SetFixedAlignRow(0, alCenter);
    G.SetFixedAlignRow(1, alCenter);
    G.SetFixedAlignCol(0, alCenter);
    G.FontFixedRow(0).SetStyle(fsBold);
    G.FontFixedCol(0).SetStyle(fsBold);
    for (int Col :
         {colMark, colWidth, colFontName, colFontStyle, colFontSize, colReplaced, colVerify})
        G.SetEditCol(Col, false);
    for (int Col = colWidth; Col <= colVerify; ++Col) {
        strGrid->SetColWidths(Col, 0);
        G.SetCells(Col, 0, {});
        G.SetCells(Col, 1, {});
    }
    PlaceDialogs();
}

void TMainForm::InstallMemory() {
    FMemoryPanel = new TMemoryPanel(
        *FDocument, *strGrid, *this, *this, *MemoryMenu,
        [this](const std::function<void()>& Step) { TableCommand(Step); },
        [this](int Row) {
            if (FView)
                FView->GoToRow(Row);
        });
    // A load or a save tells the table once it is in: the memory is built after it.
    FMemoryPanel->SetBusy([this] { return FPleaseWait != nullptr; });
}

void TMainForm::InstallTranslationView() {
    TTranslationViewHooks Hooks;
    Hooks.FindDialog = [this] {
        return TSearchDialogState{FSearch->FindDialogTag() >= 1, FSearch->FoundRowHighlightText()};
    };
    Hooks.ReplaceDialog = [this] {
        return TSearchDialogState{FSearch->ReplaceDialogTag() >= 1,
                                  FSearch->FoundRowHighlightText()};
    };
    Hooks.Found = [this] {
        const TSearchState& Search = FSearch->State();
        return TFoundHit{Search.FFoundRow, Search.FFoundCol, Search.FFoundText, Search.FFoundPos};
    };
    // The next search goes on after the cell selected; the find window starts with the text
    // of the cell last opened, which is also the found cell until the next hit.
    Hooks.CellSelected = [this](int Col, int Row) {
        FSearch->State().FSearchRow = Row;
        FSearch->State().FSearchCol = Col + 1;
        if (FMemoryPanel)
            FMemoryPanel->RowChanged(Row);
    };
    Hooks.MemoryMatch = [this](int Row) {
        return FMemoryPanel && FMemoryPanel->ExactMatchRow(Row);
    };
    Hooks.EditorOpened = [this](int Col, int Row, const std::string& Text) {
        TSearchState& Search = FSearch->State();
        Search.FSearchText = Text;
        Search.FFoundRow = Row;
        Search.FFoundCol = Col;
    };
    Hooks.ColorMarkClick = [this](int Row) { ColorMarkClick(Row); };
    Hooks.OpenRowPopup = [this](int Row, QPoint Global) {
        PrepareRowActionMenu(*pmnuGridRowAction);
        MarkReviewedMenu->setVisible(FView->EnglishChanged(Row));
        AddSpellingItems(*pmnuGridRowAction, *FView, Row);
        PopupCentred(*pmnuGridRowAction, Global);
    };
    FView = std::make_unique<TTranslationView>(*FDocument, FViewState, *strGrid, *this,
                                               std::move(Hooks));
    FView->KeepColumnsFitted(ColumnFactors);
    // A load changes thousands of cells: the counts follow once, when the change is over.
    FView->Findings().OnChanged = [this] {
        if (FCountsPending)
            return;
        FCountsPending = true;
        QTimer::singleShot(0, this, [this] { UpdateFindingCounts(); });
    };
    FView->Findings().OnNoDictionary = [this](const std::string& Code) {
        SetStatusText(StatusHint, "No spelling dictionary for " + Code + ": spelling not checked");
    };
    UpdateFindingCounts();
    BuildFindingsDock();
    connect(pmnuGridRowAction, &QMenu::aboutToShow, this,
            [this] { FView->pmnuGridRowActionPopup(); });
}

void TMainForm::ColorMarkClick(int Row) {
    const std::pair<QToolButton*, TColor> Buttons[] = {{btnWhite, clWhite},
                                                       {btnPurple, clFuchsia},
                                                       {btnBleue, clAqua},
                                                       {btnGreen, clLime},
                                                       {btnYellow, clYellow}};
    for (const auto& [Button, Color] : Buttons) {
        if (!Button->isChecked())
            continue;
        MarkColour(Row, Color);
        return;
    }
}

void TMainForm::ColorMarkKey(TColor Color) {
    MarkColour(strGrid->Row(), Color);
}

void TMainForm::MarkColour(int Row, TColor Color) {
    TableCommand([this, Row, Color] { FDocument->SetColourMark(ItemOfRow(Row), Color); });
}

void TMainForm::InstallGridCommands() {
    TNavigationHooks Hooks;
    Hooks.PreviousMarkedRow = [this] { SearchUp(); };
    Hooks.NextMarkedRow = [this] { SearchDown(); };
    Hooks.ColorMarkKey = [this](TColor Color) { ColorMarkKey(Color); };
    FNavigation = std::make_unique<TGridNavigation>(*FDocument, *strGrid, std::move(Hooks));
    FFonts = std::make_unique<TFontCommands>(FViewState, *strGrid, *this);
    // The grid's own paste and cut keys go through the document as Edit > Paste does.
    strGrid->OnPaste = [this] { PasteMenuClick(); };
    strGrid->OnCut = [this] { CopyMenuClick(); };
    // Only what the user does raises these, as when the boxes are set at start-up.
    connect(FontName, qOverload<int>(&QComboBox::activated), this, [this] { FontNameChange(); });
    connect(cbxSoftware, qOverload<int>(&QComboBox::activated), this, [this](int Index) {
        FDocument->SetSoftware(Index == 1 ? TSoftware::Pelmor : TSoftware::Kavrino);
        FontNameChange();
    });
    connect(FontSize, qOverload<int>(&QSpinBox::valueChanged), this, [this] { FontSizeChange(); });
    connect(BoldButton, &QToolButton::clicked, this, [this] { BoldButtonClick(); });
    connect(FontHighlightColorButton, &QToolButton::clicked, this,
            [this] { FontHighlightColorButtonClick(); });
    connect(BackgroudHighlightColorButton, &QToolButton::clicked, this,
            [this] { BackgroudHighlightColorButtonClick(); });
}

void TMainForm::GoToFinding(bool Forward) {
    // A large table whose check was stopped is checked when its findings are asked for.
    if (FView && FView->Findings().Pending() && !CheckAllFindings())
        return;
    GoToFoundRow([this, Forward] { return FView->Findings().NextMarked(strGrid->Row(), Forward); });
}

void TMainForm::GoToChangedEnglish(bool Forward) {
    if (!FView)
        return;
    GoToFoundRow(
        [this, Forward] { return FView->Findings().NextChangedEnglish(strGrid->Row(), Forward); });
}

void TMainForm::GoToFoundRow(const std::function<int()>& Find) {
    TableCommand([this, &Find] {
        const int Row = Find();
        if (Row < 0) {
            Beep();
            return;
        }
        FNavigation->MoveToTranslated(Row);
        QString Lines = QString::fromStdString(FindingLines(FView->Findings().Of(Row)));
        SetStatusText(StatusHint, ItemName(Row) + ": " + Lines.replace('\n', "; ").toStdString());
    });
}

namespace {
// The status panel of a large table whose check was stopped.
constexpr const char* NotCheckedText = "Findings: not checked (View > Next Finding checks them)";
} // namespace

void TMainForm::BuildFindingsDock() {
    FindingsDock = new TFindingsDock(
        this, [this] { return FView ? &FView->Findings() : nullptr; },
        [this](int Row) { return QString::fromStdString(ItemName(Row)); },
        [this](int Row) {
            // As F4 goes to a finding: the row becomes current with its translated cell.
            TableCommand([this, Row] {
                if (IsItemRow(strGrid->Model(), Row))
                    FNavigation->MoveToTranslated(Row);
            });
        });
    addDockWidget(Qt::BottomDockWidgetArea, FindingsDock);
    FindingsDock->hide();
    if (FindingsPanelMenu) {
        QAction* Toggle = FindingsDock->toggleViewAction();
        Toggle->setText("Findings &Panel");
        Toggle->setShortcut(QKeySequence("Ctrl+Shift+F4"));
        Toggle->setStatusTip("Show or hide the list of every finding of the document");
        Toggle->setObjectName("FindingsPanelMenu");
        FindingsPanelMenu->addAction(Toggle);
    }
}

void TMainForm::UpdateFindingCounts() {
    FCountsPending = false;
    if (FindingsDock)
        FindingsDock->FindingsChanged();
    if (!FView || !FindingsPanel)
        return;
    // Counted once the table is whole (timers run while a load reports its progress): the
    // end of the lock or of the please-wait window asks again.
    if (TableHeld()) {
        FCountsDeferred = true;
        return;
    }
    if (ItemCount(strGrid->Model()) == 0) {
        FindingsPanel->clear();
        return;
    }
    if (FView->Findings().Pending()) {
        // A large table is checked once the command that loaded it is over, under the
        // please-wait window; stopped there, it waits until its findings are asked for.
        if (!FCheckStopped) {
            if (FCommandDepth > 0 || QApplication::activeModalWidget()) {
                FCountsPending = true;
                QTimer::singleShot(50, this, [this] { UpdateFindingCounts(); });
                return;
            }
            if (CheckAllFindings())
                return;
        }
        FindingsPanel->setText(NotCheckedText);
        return;
    }
    const TFindingCounts Counts = FView->Findings().Counts();
    QString Text = QString("Findings: %1 errors, %2 warnings, %3 info")
                       .arg(Counts.Errors)
                       .arg(Counts.Warnings)
                       .arg(Counts.Infos);
    // The hint panel's note of a missing dictionary goes with the next cell selected; the
    // counts stay, so they say what the counts leave out.
    if (const std::string Code = FView->Findings().UncheckedSpelling(); !Code.empty())
        Text += QString(" (spelling not checked: no dictionary for %1)").arg(Q(Code));
    FindingsPanel->setText(Text);
}

void TMainForm::CountDeferredFindings() {
    if (!FCountsDeferred || FCountsPending)
        return;
    FCountsDeferred = false;
    FCountsPending = true;
    QTimer::singleShot(0, this, [this] { UpdateFindingCounts(); });
}

bool TMainForm::TableHeld() const {
    return FLockDepth > 0 || FPleaseWait || FCheckingAll;
}

bool TMainForm::Busy() const {
    return FCommandDepth > 0 || TableHeld() ||
           (FView && FView->Findings().Pending() && !FCheckStopped);
}

bool TMainForm::CheckAllFindings() {
    // Events run while the check reports its progress: a second check must not start in it.
    if (FCheckingAll)
        return false;
    const size_t Items = static_cast<size_t>(ItemCount(Table()));
    bool Done;
    {
        const QScopedValueRollback<bool> Checking(FCheckingAll, true);
        TPleaseWait Wait(*this, "Checking " + std::to_string(Items) + " items");
        TProgress Progress(*this, Items, true);
        Done = FView->Findings().CheckAll(
            [&Progress](size_t Checked, size_t) { return Progress.Step(Checked); });
    }
    FCheckStopped = !Done;
    strGrid->viewport()->update();
    if (Done)
        UpdateFindingCounts();
    else
        FindingsPanel->setText(NotCheckedText);
    return Done;
}

void TMainForm::GotoLineMenuClick() {
    Guarded([this] {
        TfrmGotoLineNumber Dialog(
            *strGrid, *this, [this](int Row) { FView->GoToRow(Row); }, this);
        Dialog.exec();
    });
}

void TMainForm::FontNameChange() {
    Guarded([this] {
        FFonts->FontNameChange(
            FontName->currentIndex() < 0 ? std::string() : FontName->currentText().toStdString());
    });
}

void TMainForm::FontSizeChange() {
    Guarded([this] { FFonts->FontSizeChange(FontSize->text().toStdString()); });
}

void TMainForm::BoldButtonClick() {
    Guarded([this] { FFonts->BoldButtonClick(BoldButton->isChecked()); });
}

void TMainForm::FontHighlightColorButtonClick() {
    ChooseHighlightColor(0x00FF00, FViewState.FHighlightFontColor);
}

void TMainForm::BackgroudHighlightColorButtonClick() {
    ChooseHighlightColor(0x808000, FViewState.FHighlightBackColor);
}

void TMainForm::ChooseHighlightColor(TColor Start, TColor& Color) {
    std::optional<TColor> Chosen;
    try {
        Chosen = FDialogs->ChooseColor(Start);
    } catch (const std::exception&) {
        FDialogs->MessageDlg("Color selection dialog failed to load", TMsgDlgType::mtError, mbOK);
        return;
    }
    if (!Chosen)
        return;
    Color = *Chosen;
    strGrid->viewport()->update();
}

void TMainForm::PlaceDialogs() {
    FViewState.FDialogLeft =
        strGrid->x() + strGrid->ColWidths(colItem) + strGrid->ColWidths(colName);
    FViewState.FDialogTop = strGrid->y() + 10 * strGrid->DefaultRowHeight();
}

void TMainForm::FillFontNames() {
    QStringList Families = QFontDatabase::families();
    // The product's Windows faces are listed under their own names where a face with the same
    // metrics stands in for them.
    const std::pair<const char*, const char*> Compatible[] = {
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"}};
    for (const auto& [Windows, Face] : Compatible)
        if (Families.contains(Face) && !Families.contains(Windows))
            Families << Windows;
    Families.sort();
    FontName->clear();
    FontName->addItems(Families);
}

void TMainForm::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    if (FShown)
        return;
    FShown = true;
    Guarded([this] { FormShow(); });
}

void TMainForm::FormShow() {
    if (!QFileInfo(Q(State().FDefaultDir)).isDir()) {
        Beep();
        MessageDlg(MissingDefaultMessage(State()), TMsgDlgType::mtWarning, mbOK);
    }
    if (!FStartFile.empty()) {
        if (QFileInfo(Q(FStartFile)).isFile()) {
            // Opened as File > Open does, so the kind and code come from its name; its
            // recovery copy is offered with the others, first.
            FDocument->KeepRecoveryCopies(false);
            FDocument->OpenPath(FStartFile);
            FDocument->KeepRecoveryCopies(true);
        } else {
            Beep();
            MessageDlg("File not found: " + FStartFile, TMsgDlgType::mtWarning, mbOK);
        }
    }
    // Work a crash or a power cut left unsaved.
    FDocument->OfferRecoveryCopies();
    // The translator starts on the first translation: a key typed at once must not overwrite
    // an item's name.
    strGrid->FocusCell(colTranslated, FirstItemRow);
    strGrid->setFocus();
}

bool TMainForm::FormCloseQuery() {
    strGrid->CommitEdit();
    try {
        return FDocument->QuerySaveChanges();
    } catch (const SilentAbort&) {
        return false;
    } catch (const std::exception& E) {
        ShowError(E.what());
        return false;
    }
}

void TMainForm::closeEvent(QCloseEvent* Event) {
    if (FormCloseQuery()) {
        // The desktop gets back the keyboard layout it had before the editor switched it.
        Keyboard().RestoreStartLayout();
        Event->accept();
    } else
        Event->ignore();
}

bool TMainForm::event(QEvent* Event) {
    // The long part of the hint of the control under the mouse goes to status panel 0; a
    // control without one empties the panel.
    if (Event->type() == QEvent::StatusTip) {
        StatusPanels[StatusHint]->SetMessage(static_cast<QStatusTipEvent*>(Event)->tip());
        return true;
    }
    // Back from a search window, a box or a menu with nothing holding the keyboard (the cell
    // editor hides while another window has it): the keys go to the grid, not nowhere.
    if (Event->type() == QEvent::WindowActivate && FDocument)
        CheckDiskFileSoon();
    if (Event->type() == QEvent::WindowActivate && strGrid)
        QTimer::singleShot(0, this, [this] {
            const QWidget* Focus = QApplication::focusWidget();
            if (isActiveWindow() && (!Focus || !Focus->isVisible()))
                strGrid->setFocus(Qt::ActiveWindowFocusReason);
        });
    return QMainWindow::event(Event);
}

void TMainForm::HelpContentItemClick() {
    // The product's own help file wins; without one the guide that ships with the program
    // opens in the desktop's browser.
    QString Path = Q(State().FProgramDir + "Help/" + HelpFileName);
    if (!QFileInfo::exists(Path))
        Path = Q(UserGuideFile());
    if (!QFileInfo::exists(Path)) {
        Beep();
        MessageDlg(UserGuideNotFoundMessage(), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(Path)))
        MessageDlg(UserGuideWithoutBrowserMessage(Path.toStdString()), TMsgDlgType::mtInformation,
                   mbOK);
}

void TMainForm::HelpShortcutsItemClick() {
    TShortcutsDialog Dialog(*menuBar(), this);
    Dialog.exec();
}

void TMainForm::HelpFontsItemClick() {
    const std::vector<TDocumentFace> Faces =
        DocumentFaces(FDocument->Items(), TTextMeasure::Shared(),
                      &ProjectSubstitutes(State().FProgramDir), State().FLanguageCode);
    TFontsDialog Dialog(Faces, State().FProductDpi, this);
    Dialog.exec();
}

void TMainForm::ProductDpiClick(int Dpi) {
    std::string Error;
    if (!FDocument->SetProductDpi(Dpi, Error)) {
        MessageDlg("The display setting could not be saved: " + Error, TMsgDlgType::mtWarning,
                   mbOK);
        if (QAction* Kept = findChild<QAction*>(QString("ProductDpi%1").arg(State().FProductDpi)))
            Kept->setChecked(true);
        return;
    }
    if (FView) {
        FView->Findings().ContextChanged();
        strGrid->viewport()->update();
    }
}

void TMainForm::HelpAboutItemClick() {
    TAboutBox Box(this);
    Box.exec();
}

void TMainForm::LanguageChange() {
    Guarded([this] {
        // The document takes the pick first: a last pick that cannot be stored is reported,
        // but the box must not show a language the document does not have.
        FDocument->SetLanguage(FLanguages->SelectedCode());
        FLanguages->LanguagePicked(QApplication::applicationFilePath().toStdString());
    });
}

void TMainForm::cmbFontCharsetClick() {
    Guarded([this] { FLanguages->CharsetClick(); });
}

// ---- UserInterface ---------------------------------------------------------------------

TModalResult TMainForm::MessageDlg(const std::string& Text, TMsgDlgType Type,
                                   TMsgDlgButtons Buttons) {
    return FDialogs->MessageDlg(Text, Type, Buttons);
}

void TMainForm::ShowError(const std::string& Text) {
    FDialogs->ShowError(Text);
}

std::optional<size_t> TMainForm::ChooseItem(const std::string& Title, const std::string& Prompt,
                                            const std::vector<std::string>& Items) {
    return FDialogs->ChooseItem(Title, Prompt, Items);
}

void TMainForm::Beep() {
    QApplication::beep();
}

void TMainForm::SetStatusText(int Panel, const std::string& Text) {
    if (Panel >= 0 && Panel < 3)
        StatusPanels[Panel]->SetMessage(Q(Text));
}

std::string TMainForm::StatusText(int Panel) const {
    return Panel >= 0 && Panel < 3 ? StatusPanels[Panel]->text().toStdString() : std::string();
}

void TMainForm::SetCaption(const std::string& Caption) {
    // "[*]" after the file's name: the desktop's mark of a document with unsaved changes.
    QString Title = Q(Caption);
    const qsizetype Dash = Title.indexOf(" - ");
    setWindowTitle(Dash < 0 ? Title + "[*]" : Title.insert(Dash, "[*]"));
}

void TMainForm::ShowPleaseWait(const std::string& Msg, bool Animate) {
    HidePleaseWait();
    FActiveBeforeWait = QApplication::activeWindow();
    // Owned as the questions are: above a stay-on-top Find or Replace window, its Cancel in sight.
    FPleaseWait = new TfrmPleaseWait(DialogOwner());
    FPleaseWait->Start(Q(Msg), Animate);
}

bool TMainForm::ShowProgress(size_t Done, size_t Total, bool Cancellable) {
    if (!FPleaseWait)
        return true;
    FPleaseWait->SetProgress(Done, Total, Cancellable);
    // Work that can stop lets the Cancel button be pressed; the please-wait window holds back
    // the input meant for every other window meanwhile.
    QApplication::processEvents(Cancellable ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
    return !FPleaseWait || !FPleaseWait->Cancelled();
}

void TMainForm::HidePleaseWait() {
    if (!FPleaseWait)
        return;
    FPleaseWait->Stop();
    FPleaseWait->close();
    FPleaseWait = nullptr;
    CountDeferredFindings();
    // The keyboard goes back to the window that had it (the main window or a search window),
    // shortcuts included, before the next command looks for it.
    QWidget* Back = FActiveBeforeWait ? FActiveBeforeWait.data() : this;
    Back->activateWindow();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TMainForm::SetHourglass(bool On) {
    if (On)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TMainForm::LockWindowUpdate(bool Lock) {
    // One lock at a time: nested requests only count.
    FLockDepth += Lock ? 1 : -1;
    const bool Locked = FLockDepth > 0;
    if (Locked == !strGrid->updatesEnabled())
        return;
    if (Locked)
        FGridHadFocus = HoldsFocus(*strGrid);
    strGrid->setUpdatesEnabled(!Locked);
    strGrid->setEnabled(!Locked);
    // Disabled, the grid lost the keyboard: it goes back once the long work is done.
    if (!Locked && FGridHadFocus)
        strGrid->setFocus(Qt::OtherFocusReason);
    if (!Locked)
        CountDeferredFindings();
    SetHourglass(Locked);
}

std::optional<std::string> TMainForm::OpenDialog(const std::string& InitialDir,
                                                 const std::string& Filter) {
    return FDialogs->OpenDialog(InitialDir, Filter);
}

std::optional<std::string> TMainForm::SaveDialog(const std::string& InitialDir,
                                                 const std::string& Filter,
                                                 const std::string& FileName) {
    return FDialogs->SaveDialog(InitialDir, Filter, FileName);
}

// ---- IDocumentObserver ----------------------------------------------------------------

void TMainForm::TableLoaded() {
    if (FMemoryPanel)
        FMemoryPanel->Rebuild(); // the table's own file may be new or just saved
    // A new table is checked anew, even when the check of the previous one was stopped.
    FCheckStopped = false;
    // A notice about the typing in the previous table says nothing about this one.
    if (!FRefusedChars.isEmpty() || !FRefusedInFile.isEmpty())
        SetStatusText(StatusHint, {});
    FRefusedCell = QPoint(-1, -1);
    FRefusedChars.clear();
    FRefusedInFile.clear();
    strGrid->setFocus();
}

void TMainForm::WriteRecoveryCopy() {
    // Not while a load or a save holds the table half done: a minute later will do.
    if (TableHeld()) {
        FRecoveryTimer->start();
        return;
    }
    if (const std::string Problem = FDocument->WriteRecoveryCopy(); !Problem.empty())
        SetStatusText(StatusHint, Problem);
}

void TMainForm::ItemsChanged(const std::vector<int>& Items) {
    if (FView)
        FView->ItemsChanged(Items);
    if (FMemoryPanel)
        FMemoryPanel->ItemsChanged(Items, FApplyingHistory);
    if (State().FModified) {
        if (Items.size() >= ManyItems)
            // Once the command is over and the table whole again.
            QTimer::singleShot(0, this, [this] { WriteRecoveryCopy(); });
        else
            FRecoveryTimer->start();
    }
    // What an undo or redo gives back is shown, and its first item is the one worked on next:
    // the same row for the undo as for the redo of a step over many items.
    if (FApplyingHistory && !Items.empty() && FView)
        FView->MakeCurrent(RowOfItem(*std::min_element(Items.begin(), Items.end())));
    strGrid->viewport()->update();
}

void TMainForm::ModifiedChanged(bool Modified) {
    setWindowModified(Modified);
    ModifiedPanel->setText(Modified ? "Modified" : QString());
}

void TMainForm::FileOpened(const std::string&, bool) {
    // As many digits as the last item needs, so that the range covers every item.
    const int Items = ItemCount(Table());
    const QString Mask = Q(ItemRangeMask(Items));
    for (QLineEdit* Edit : {MaskEditFrom, MaskEditTo}) {
        Edit->setInputMask(Mask);
        Edit->setFixedWidth(std::max(52, Edit->fontMetrics().horizontalAdvance(
                                             QString(Mask.section(';', 0, 0).size() + 1, '0'))));
    }
    MaskEditFrom->setText(Q(ItemNumberText(1, Items)));
    MaskEditTo->setText(Q(LastItemText(Table())));
}

void TMainForm::LanguageChanged(const std::string& Code) {
    if (FMemoryPanel)
        FMemoryPanel->Rebuild();
    if (!Code.empty()) {
        FLanguages->ShowLanguage(Code);
        return;
    }
    SetLanguageIndex(-1);
    // The character set belonged to the language just cleared: back to the start-up entry.
    SetCharsetIndex(std::max(0, CharsetIndexOf(DEFAULT_CHARSET)));
}

void TMainForm::SoftwareChanged(TSoftware Software) {
    QSignalBlocker Block(cbxSoftware);
    cbxSoftware->setCurrentIndex(static_cast<int>(Software));
}

void TMainForm::LanguageMissing() {
    lblLanguage->setStyleSheet("color: rgb(255, 0, 0);");
}

// ---- ILanguageView ---------------------------------------------------------------------

int TMainForm::LanguageCount() const {
    return LanguageBox->count();
}

std::string TMainForm::LanguageText(int Index) const {
    return LanguageBox->itemText(Index).toStdString();
}

int TMainForm::LanguageIndex() const {
    return LanguageBox->currentIndex();
}

void TMainForm::SetLanguageIndex(int Index) {
    QSignalBlocker Block(LanguageBox);
    LanguageBox->setCurrentIndex(Index);
}

void TMainForm::AddLanguage(const std::string& Entry) {
    // The box is sorted: entries go in at their place.
    const QString Text = Q(Entry);
    int At = 0;
    while (At < LanguageBox->count() &&
           QString::compare(LanguageBox->itemText(At), Text, Qt::CaseInsensitive) <= 0)
        ++At;
    QSignalBlocker Block(LanguageBox);
    LanguageBox->insertItem(At, Text);
}

void TMainForm::SetCharsetFontName(const std::string& Name) {
    cmbFontCharset->SetFontName(Q(Name));
}

int TMainForm::CharsetIndexOf(int Charset) const {
    return cmbFontCharset->IndexOfCharset(Charset);
}

int TMainForm::CharsetIndex() const {
    return cmbFontCharset->currentIndex();
}

void TMainForm::SetCharsetIndex(int Index) {
    QSignalBlocker Block(cmbFontCharset);
    cmbFontCharset->setCurrentIndex(Index);
}

std::string TMainForm::CharsetText() const {
    return cmbFontCharset->currentIndex() < 0 ? std::string()
                                              : cmbFontCharset->currentText().toStdString();
}

int TMainForm::SelectedCharset() const {
    return cmbFontCharset->Charsets(cmbFontCharset->currentIndex());
}

void TMainForm::ResetLanguageLabel() {
    lblLanguage->setStyleSheet(QString());
}

} // namespace kav
