#pragma once
// The main window: it owns the translation table (strGrid), the menus, tool bars and status
// bar, holds the document and view state, and wires every command to the logic modules. It is
// the editor's user-interface port, the view of the language boxes and the observer that keeps
// its controls in step with the document.

#include "app/ModalDialogs.h"
#include "document/Document.h"
#include "document/DocumentEvents.h"
#include "document/Languages.h"
#include "document/MainState.h"
#include "document/UserInterface.h"

#include <QMainWindow>
#include <QPoint>
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
class TTranslationView;
class TKavrinoFindDialog;
class TKavrinoReplaceDialog;
class TSearchCommands;
class TGridSearchView;
class TGridNavigation;
class TFontCommands;
class TTableUndo;
struct TCellChange;

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

    TMainState& State() { return S; }
    TDocument& Document() { return *FDocument; }
    TLanguages& Languages() { return *FLanguages; }
    TStyledGridModel& Table();
    TTranslationView* View() { return FView.get(); }
    TSearchCommands& Search() { return *FSearch; }
    TGridNavigation& Navigation() { return *FNavigation; }
    TTableUndo& Undo() { return *FUndo; }

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
    void LanguageChange();
    void cmbFontCharsetClick();
    void ClearBookmarks() { S.Bookmarks.fill(-1); }
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
    QAction* ClearFlagMenu = nullptr;
    QAction* UndoAllReplaceStringMenu = nullptr;
    QAction* ClearAllFlagsMenu = nullptr;
    QAction* UndoMenu = nullptr;
    QAction* RedoMenu = nullptr;
    QAction* NextFindingMenu = nullptr;
    QAction* PreviousFindingMenu = nullptr;
    // The document's finding counts, right in the status bar.
    QLabel* FindingsPanel = nullptr;
    TKavrinoFindDialog* FindDialog1 = nullptr;
    TKavrinoReplaceDialog* ReplaceDialog1 = nullptr;

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    bool event(QEvent* Event) override;

private:
    // Runs one command at the top level (see the definition).
    void Guarded(const std::function<void()>& Step);
    // The same for a command that reads or writes the table: the edit in progress ends first.
    void TableCommand(const std::function<void()>& Step);
    // A table command whose changes to rows FirstRow to LastRow become one undo step, named
    // from its changes; an unnamed step ("") is not kept.
    using TStepName = std::function<std::string(const std::vector<TCellChange>&)>;
    void RecordedCommand(const TStepName& Name, int FirstRow, int LastRow,
                         const std::function<void()>& Step);
    void RecordedCommand(const TStepName& Name, const std::function<void()>& Step);
    // A file command that may rebuild the table (New, Open, a version restored): the undo
    // history belongs to the table it was made on.
    void LoadingCommand(const std::function<void()>& Step);
    // A command that may save: the history stays when the table read back is the one written.
    void SavingCommand(const std::function<void()>& Step);
    // Runs a save (the edit in progress already ended) and keeps the history in step with it.
    void SavedStep(const std::function<void()>& Step);
    void MarkColour(int Row, TColor Color);
    void InstallUndo();
    void UpdateUndoActions();
    void StepApplied(const std::vector<TCellChange>& Changes);
    std::string ItemName(int Row) const;
    std::string DialogText(const std::string& Bytes) const;
    QAction* AddAction(QMenu* Menu, const QString& Caption, const QKeySequence& Shortcut,
                       const QString& Hint, void (TMainForm::*Handler)());
    // An entry the menus hold in its place but keep hidden, so it is never chosen: no handler.
    void AddHiddenItem(QMenu* Menu, const QString& Caption, const QKeySequence& Shortcut,
                       const QString& Hint);
    void BuildMenus();
    void BuildControlBar();
    void BuildStatusBar();
    void BuildGrid();
    void ConfigureGrid();
    void PlaceDialogs();
    void InstallTranslationView();
    void InstallSearch();
    void InstallExchange();
    void MakeResourceFileMenuClick();
    void ReplaceMenuClick();
    void SearchUp();
    void SearchDown();
    void UndoReplaceStringMenuClick();
    void ClearFlagMenuClick();
    void UndoAllReplaceStringMenuClick();
    void ClearAllFlagsMenuClick();
    void ColorMarkClick(int Row);
    void ColorMarkKey(TColor Color);
    void InstallGridCommands();
    void ChooseHighlightColor(TColor Start, TColor& Color);
    void ReportRefusedChar(const QString& Char, int CodePage);
    void GoToFinding(bool Forward);
    void UpdateFindingCounts();

    TMainState S;
    std::unique_ptr<TDocument> FDocument;
    std::unique_ptr<TLanguages> FLanguages;
    std::unique_ptr<TTranslationView> FView;
    std::unique_ptr<TGridSearchView> FSearchView;
    std::unique_ptr<TSearchCommands> FSearch;
    std::unique_ptr<TGridNavigation> FNavigation;
    std::unique_ptr<TFontCommands> FFonts;
    std::unique_ptr<TTableUndo> FUndo;
    QtModalDialogs FQtDialogs{this};
    IModalDialogs* FDialogs = &FQtDialogs;
    TfrmPleaseWait* FPleaseWait = nullptr;
    int FLockDepth = 0;
    bool FShown = false;
    bool FCreated = false;
    bool FCountsPending = false;
    std::string FStartFile;
    // The cell whose edit had characters refused, and those characters.
    QPoint FRefusedCell{-1, -1};
    QStringList FRefusedChars;
};

} // namespace kav
