#pragma once
// The main window: it owns the translation table (strGrid), the menus, tool bars and status
// bar, the document with its history and the view's state, and wires every command to the
// logic modules. It is the editor's user-interface port, the view of the language boxes and the
// observer that keeps its controls in step with the document.

#include "app/ModalDialogs.h"
#include "document/Document.h"
#include "document/DocumentEvents.h"
#include "document/Languages.h"
#include "document/UserInterface.h"
#include "editing/ViewState.h"
#include "exchange/NamedTranslations.h"

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace kav {

class TStyledStringGrid;
class TFontCharsetComboBox;
class TStatusPanel;
class TfrmPleaseWait;
class TFindingsDock;
class TTranslationView;
class TKavrinoFindDialog;
class TKavrinoReplaceDialog;
class TSearchCommands;
class TGridSearchView;
class TGridNavigation;
class TFontCommands;
class TDocumentHistory;
class TMemoryPanel;

class TMainForm : public QMainWindow,
                  public UserInterface,
                  public ILanguageView,
                  public IDocumentObserver {
    Q_OBJECT

public:
    // ProgramDir: the program folder with its trailing "/". Dialogs answers the modal boxes
    // and file dialogs (tests); null means the real ones.
    explicit TMainForm(const std::string& ProgramDir, IModalDialogs* Dialogs = nullptr,
                       QWidget* Parent = nullptr);
    ~TMainForm() override;

    // Tests answer the modal boxes and dialogs; null restores the real ones.
    void SetDialogs(IModalDialogs* Dialogs);
    // The file named on the command line, opened once the window is shown.
    void SetStartFile(const std::string& Path) { FStartFile = Path; }

    const TDocumentState& State() const { return FDocument->State(); }
    TViewState& ViewState() { return FViewState; }
    TDocument& Document() { return *FDocument; }
    TLanguages& Languages() { return *FLanguages; }
    TStyledGridModel& Table();
    TTranslationView* View() { return FView.get(); }
    TSearchCommands& Search() { return *FSearch; }
    TGridNavigation& Navigation() { return *FNavigation; }
    TDocumentHistory& History() { return *FHistory; }
    TMemoryPanel& MemoryPanel() { return *FMemoryPanel; }

    // ---- handlers -------------------------------------------------------------------------
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FileNew();
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    void FileRestoreVersion();
    void FileExit() { close(); }
    void HelpContentItemClick();
    void HelpShortcutsItemClick();
    void HelpAboutItemClick();
    void HelpFontsItemClick();
    void ProductDpiClick(int Dpi);
    void LanguageChange();
    void cmbFontCharsetClick();
    void ClearBookmarks() { FDocument->ClearBookmarks(); }
    void FillFontNames();
    void GotoLineMenuClick();
    void FindMenuClick();
    // Edit > Undo and Edit > Redo: the document's last step, or the last one undone.
    void UndoMenuClick();
    void RedoMenuClick();
    void CopyMenuClick();
    void PasteMenuClick();
    // View > Next Finding and Previous Finding: the next marked row below or above the current
    // one, its findings in the status bar; a beep when there is none.
    void NextFindingMenuClick() { GoToFinding(true); }
    void PreviousFindingMenuClick() { GoToFinding(false); }
    void NextChangedEnglishMenuClick() { GoToChangedEnglish(true); }
    void PreviousChangedEnglishMenuClick() { GoToChangedEnglish(false); }
    void FontNameChange();
    void FontSizeChange();
    void BoldButtonClick();
    void FontHighlightColorButtonClick();
    void BackgroudHighlightColorButtonClick();
    void SetModified(bool Value) { FDocument->SetModified(Value); }
    void SetFileName(const std::string& FileName) { FDocument->SetFileName(FileName); }
    // ---- UserInterface --------------------------------------------------------------------
    TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override;
    void ShowError(const std::string& Text) override;
    void Beep() override;
    void SetStatusText(int Panel, const std::string& Text) override;
    std::string StatusText(int Panel) const override;
    void SetCaption(const std::string& Caption) override;
    void ShowPleaseWait(const std::string& Msg, bool Animate) override;
    void HidePleaseWait() override;
    bool ShowProgress(size_t Done, size_t Total, bool Cancellable) override;
    void SetHourglass(bool On) override;
    void LockWindowUpdate(bool Lock) override;
    std::optional<std::string> OpenDialog(const std::string& InitialDir,
                                          const std::string& Filter) override;
    std::optional<std::string> SaveDialog(const std::string& InitialDir, const std::string& Filter,
                                          const std::string& FileName) override;
    std::optional<size_t> ChooseItem(const std::string& Title, const std::string& Prompt,
                                     const std::vector<std::string>& Items) override;

    // ---- IDocumentObserver ----------------------------------------------------------------
    void TableLoaded() override;
    void FileOpened(const std::string& Path, bool Bound) override;
    void ItemsChanged(const std::vector<int>& Items) override;
    void ModifiedChanged(bool Modified) override;
    void LanguageChanged(const std::string& Code) override;
    void SoftwareChanged(TSoftware Software) override;
    void LanguageMissing() override;

    // ---- ILanguageView --------------------------------------------------------------------
    int LanguageCount() const override;
    std::string LanguageText(int Index) const override;
    int LanguageIndex() const override;
    void SetLanguageIndex(int Index) override;
    void AddLanguage(const std::string& Entry) override;
    void SetCharsetFontName(const std::string& Name) override;
    int CharsetIndexOf(int Charset) const override;
    int CharsetIndex() const override;
    void SetCharsetIndex(int Index) override;
    std::string CharsetText() const override;
    int SelectedCharset() const override;
    void ResetLanguageLabel() override;

    // ---- components -----------------------------------------------------------------------
    TStyledStringGrid* strGrid = nullptr;
    QToolBar* StandardToolBar = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QToolButton* SearchButton = nullptr;
    QToolButton* SearchReplaceButton = nullptr;
    QToolButton* SearchUpButton = nullptr;
    QToolButton* SearchDownButton = nullptr;
    QComboBox* FontName = nullptr;
    QSpinBox* FontSize = nullptr; // with its up-down buttons (UpDown1)
    QSpinBox* UpDown1 = nullptr;
    QToolButton* BoldButton = nullptr;
    QLabel* lblLanguage = nullptr;
    QComboBox* LanguageBox = nullptr;
    QToolButton* btnBleue = nullptr;
    QToolButton* btnGreen = nullptr;
    QToolButton* btnYellow = nullptr;
    QToolButton* btnPurple = nullptr;
    QToolButton* btnWhite = nullptr;
    QButtonGroup* ColorButtons = nullptr;
    QToolButton* FontHighlightColorButton = nullptr;
    QToolButton* BackgroudHighlightColorButton = nullptr;
    TFontCharsetComboBox* cmbFontCharset = nullptr;
    QComboBox* cbxSoftware = nullptr;
    QToolButton* btnSaveColGrid = nullptr;
    QToolButton* btnFillGridCol = nullptr;
    QLineEdit* MaskEditFrom = nullptr;
    QLineEdit* MaskEditTo = nullptr;
    QToolButton* btnFillTranslatedLanguage = nullptr;
    QLineEdit* edtFillChar = nullptr;
    TStatusPanel* StatusPanels[3] = {nullptr, nullptr, nullptr};
    QMenu* pmnuGridRowAction = nullptr;
    QAction* UndoReplaceStringMenu = nullptr;
    QAction* MarkReviewedMenu = nullptr;
    QAction* ClearFlagMenu = nullptr;
    QAction* UndoAllReplaceStringMenu = nullptr;
    QAction* ClearAllFlagsMenu = nullptr;
    QAction* UndoMenu = nullptr;
    QAction* RedoMenu = nullptr;
    QAction* NextFindingMenu = nullptr;
    QAction* PreviousFindingMenu = nullptr;
    // Edit > Translation Memory: the suggestions and the fill from exact matches.
    QMenu* MemoryMenu = nullptr;
    // The document's finding counts, right in the status bar.
    QLabel* FindingsPanel = nullptr;
    // Every finding of the document, to pick an item from (View > Findings Panel).
    TFindingsDock* FindingsDock = nullptr;
    QMenu* FindingsPanelMenu = nullptr; // the View menu, which gets the panel's toggle
    // "Modified" while the document has unsaved changes.
    QLabel* ModifiedPanel = nullptr;
    TKavrinoFindDialog* FindDialog1 = nullptr;
    TKavrinoReplaceDialog* ReplaceDialog1 = nullptr;

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    bool event(QEvent* Event) override;

private:
    // Runs one command at the top level (see the definition).
    void Guarded(const std::function<void()>& Step);
    // Whether another program changed the document's file, asked once the window is idle.
    void CheckDiskFileSoon();

public:
    // A command, a load or the check after it is under way, or about to start.
    bool Busy() const;

private:
    // The check of every item of a large table, with its progress and Cancel; false when
    // stopped.
    bool CheckAllFindings();
    // A load or a save holds the table half done, or the whole-table check runs.
    bool TableHeld() const;
    // The counts put off while the table was locked or the please-wait window up.
    void CountDeferredFindings();
    // The recovery copy of unsaved work; a problem goes to the status bar.
    void WriteRecoveryCopy();
    // A command that changes this many items has its work copied aside at once.
    static constexpr size_t ManyItems = 100;
    // The same for a command that reads or writes the document: the edit in progress ends
    // first, so that the command (an undo, a save, a question to save) sees it as a step.
    void TableCommand(const std::function<void()>& Step);
    // Undo or redo of the document's history; the item it changes becomes the current row.
    void HistoryCommand(bool Undo);
    void MarkColour(int Row, TColor Color);
    void InstallUndo();
    void UpdateUndoActions();
    std::string ItemName(int Row) const;
    QAction* AddAction(QMenu* Menu, const QString& Caption, const QKeySequence& Shortcut,
                       const QString& Hint, void (TMainForm::*Handler)());
    // An entry the menus hold in its place but keep hidden, so it is never chosen: no handler.
    void AddHiddenItem(QMenu* Menu, const QString& Caption, const QKeySequence& Shortcut,
                       const QString& Hint);
    void BuildMenus();
    void BuildFindingsDock();
    void BuildControlBar();
    void BuildStatusBar();
    void BuildGrid();
    void ConfigureGrid();
    void PlaceDialogs();
    void InstallTranslationView();
    void InstallSearch();
    void InstallExchange();
    void InstallMemory();
    // File > Export and File > Import: the CAT-tool formats beside the RTF buttons.
    void BuildExchangeMenus(QMenu* File);
    TItemFindings ExportFindings();
    void MakeResourceFileMenuClick();
    void ReplaceMenuClick();
    void SearchUp();
    void SearchDown();
    void UndoReplaceStringMenuClick();
    void MarkReviewedMenuClick();
    void ClearFlagMenuClick();
    void UndoAllReplaceStringMenuClick();
    void ClearAllFlagsMenuClick();
    void ColorMarkClick(int Row);
    void ColorMarkKey(TColor Color);
    void InstallGridCommands();
    void ChooseHighlightColor(TColor Start, TColor& Color);
    void ReportRefusedChar(const QString& Char, int CodePage);
    void GoToFinding(bool Forward);
    void GoToChangedEnglish(bool Forward);
    // Makes Row (from Find, -1 for none) the current row, its findings in the status bar.
    void GoToFoundRow(const std::function<int()>& Find);
    void UpdateFindingCounts();

    TViewState FViewState;
    std::unique_ptr<TDocument> FDocument;
    std::unique_ptr<TLanguages> FLanguages;
    std::unique_ptr<TTranslationView> FView;
    std::unique_ptr<TGridSearchView> FSearchView;
    std::unique_ptr<TSearchCommands> FSearch;
    std::unique_ptr<TGridNavigation> FNavigation;
    std::unique_ptr<TFontCommands> FFonts;
    std::unique_ptr<TDocumentHistory> FHistory;
    TMemoryPanel* FMemoryPanel = nullptr; // a child of the window
    // An undo or redo is giving items their states back.
    bool FApplyingHistory = false;
    // The window a box opens over: a search window while one is shown (it stays on top).
    QWidget* DialogOwner();
    QtModalDialogs FQtDialogs{[this] { return DialogOwner(); }};
    IModalDialogs* FDialogs = &FQtDialogs;
    QPointer<TfrmPleaseWait> FPleaseWait;
    int FCommandDepth = 0;
    bool FCheckStopped = false;
    bool FCountsDeferred = false;
    bool FCheckingAll = false;
    QTimer* FRecoveryTimer = nullptr;
    QPointer<QWidget> FActiveBeforeWait;
    int FLockDepth = 0;
    bool FGridHadFocus = false;
    bool FShown = false;
    bool FCreated = false;
    bool FCountsPending = false;
    std::string FStartFile;
    // The cell whose edit had characters refused, and those characters.
    QPoint FRefusedCell{-1, -1};
    QStringList FRefusedChars;  // by the code page FRefusedPage
    QStringList FRefusedInFile; // by the file format
    int FRefusedPage = 0;
};

} // namespace kav
