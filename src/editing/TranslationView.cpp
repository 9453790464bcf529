#include "editing/TranslationView.h"

#include "document/DocumentEdit.h"
#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "measure/TextMeasure.h"
#include "text/CodePage.h"

#include <QAction>
#include <QMenu>
#include <QTextCursor>

namespace kav {

namespace {

const char* const RowActionItems[] = {"UndoReplaceStringMenu", "ClearFlagMenu",
                                      "UndoAllReplaceStringMenu", "ClearAllFlagsMenu"};

bool IsRowActionItem(const QString& Name) {
    for (const char* Item : RowActionItems) {
        if (Name == QLatin1String(Item)) {
            return true;
        }
    }
    return false;
}

// A hint is kept in the bytes of its cell's code page; what the page cannot hold shows as "?".
std::string HintBytes(const std::string& Utf8, int CodePage) {
    const QString Text = QString::fromStdString(Utf8);
    if (const EncodeResult Encoded = EncodeText(Text, CodePage); Encoded.Ok()) {
        return *Encoded.Bytes;
    }
    std::string Ascii;
    for (const QChar C : Text) {
        Ascii += C.unicode() < 128 ? static_cast<char>(C.unicode()) : '?';
    }
    return Ascii;
}

} // namespace

std::string FindingLines(const std::vector<TFinding>& Findings) {
    std::string Lines;
    for (const TFinding& F : Findings) {
        Lines += (Lines.empty() ? "" : "\n") + std::string(SeverityName(F.Severity)) + " " +
                 KindName(F.Kind) + ": " + F.Message;
    }
    return Lines;
}

bool IsHiddenColumn(int Col) {
    return Col >= colWidth && Col <= colVerify;
}

void PrepareRowActionMenu(QMenu& Menu) {
    for (QAction* Item : Menu.actions()) {
        Item->setVisible(IsRowActionItem(Item->objectName()));
        if (Item->objectName() == QLatin1String("UndoReplaceStringMenu")) {
            Item->setText(QString::fromLatin1(UndoReplaceCaption));
        }
    }
}

void PopupCentred(QMenu& Menu, QPoint Global) {
    Menu.popup(QPoint(Global.x() - Menu.sizeHint().width() / 2, Global.y()));
}

TTranslationView::TTranslationView(TDocument& Doc, TViewState& State, TStyledStringGrid& Grid,
                                   UserInterface& UI, TTranslationViewHooks Hooks)
    : Doc(Doc), V(State), strGrid(Grid), UI(UI), FHooks(std::move(Hooks)),
      FFindings(
          Doc.Items(), Grid.Model(),
          [this] {
              return TFindingContext{TranslatedCodePage(this->Doc.State()),
                                     this->Doc.State().FLanguageCode, this->Doc.State().FProgramDir,
                                     this->Doc.State().FProductDpi};
          },
          TTextMeasure::Shared()),
      FDrawing(Doc, V, Grid, UI,
               TCellDrawingHooks{FHooks.FindDialog, FHooks.ReplaceDialog, FHooks.Found, &FFindings,
                                 FHooks.MemoryMatch}) {
    FFindings.SetBaseline(&Doc.Baseline());
    Install();
}

TTranslationView::~TTranslationView() {
    strGrid.OnDrawCell = nullptr;
    strGrid.OwnerDrawsText = nullptr;
    strGrid.OnMouseMove = nullptr;
    strGrid.OnSelectCell = nullptr;
    strGrid.OnGetEditText = nullptr;
    strGrid.OnGetEditMask = nullptr;
    strGrid.OnMouseDown = nullptr;
    strGrid.OnFixedColClick = nullptr;
    strGrid.OnColWidthsChanged = nullptr;
    strGrid.OnResize = nullptr;
    strGrid.OnStoreEdit = nullptr;
    strGrid.ForbiddenChar = nullptr;
    strGrid.OnCanEditCell = nullptr;
    strGrid.OnCellStyle = nullptr;
    strGrid.OnEditorStyled = nullptr;
}

void TTranslationView::Install() {
    strGrid.OnDrawCell = [this](int C, int R, const QRect& Rect, TGridDrawState St) {
        strGridDrawCell(C, R, Rect, St);
    };
    strGrid.OwnerDrawsText = [this](int C, int R) { return FDrawing.DrawsText(C, R); };
    strGrid.OnMouseMove = [this](TShiftState Sh, int X, int Y) { strGridMouseMove(Sh, X, Y); };
    strGrid.OnSelectCell = [this](int C, int R, bool& Can) { strGridSelectCell(C, R, Can); };
    strGrid.OnGetEditText = [this](int C, int R, QString& V) { strGridGetEditText(C, R, V); };
    strGrid.OnGetEditMask = [this](int C, int R, QString& V) { strGridGetEditMask(C, R, V); };
    strGrid.OnMouseDown = [this](Qt::MouseButton B, TShiftState Sh, int X, int Y) {
        strGridMouseDown(B, Sh, X, Y);
    };
    strGrid.OnFixedColClick = [this](TStyledStringGrid*, int C) { strGridFixedColClick(C); };
    strGrid.OnColWidthsChanged = [this](TStyledStringGrid*) { strGridColWidthsChanged(); };
    // The row pop-up opens only through the right press, never by the grid's own context menu.
    strGrid.setContextMenuPolicy(Qt::PreventContextMenu);
    InstallEditing();
}

// The editor edits one item: its typing stays in the editor until the edit ends and then
// becomes the document's command, so the item's text lives in one place and every change is
// an undo step. What the file cannot hold is refused as it is typed or pasted.
void TTranslationView::InstallEditing() {
    strGrid.EditWritesCell = false;
    strGrid.OnStoreEdit = [this](int Col, int Row, const std::string& Bytes) {
        const TItemId Id = ItemOfRow(Row);
        if (Doc.Items().Contains(Id) && Col >= colName && Col <= colTranslated)
            Doc.EditItem(Id, FieldOfColumn(Col), Bytes);
    };
    strGrid.ForbiddenChar = [](int Col, int, const QString& Text) {
        return Col >= colName && Col <= colTranslated ? RefusedInItemText(Text, FieldOfColumn(Col))
                                                      : QChar();
    };
    // The trailing row holds no item: what is typed there would be kept nowhere.
    strGrid.OnCanEditCell = [this](int, int Row) { return Doc.Items().Contains(ItemOfRow(Row)); };
    strGrid.OnCellStyle = [this](int Col, int Row, TMyFont& Font, TMyBrush& Brush) {
        if (Col == colTranslated)
            FDrawing.StyleTranslatedCell(Row, Font, Brush);
    };
    strGrid.OnEditorStyled = [this](int Col, int Row, TNewInplaceEdit& Editor, bool Opened) {
        StyleEditor(Col, Row, Editor, Opened);
    };
}

void TTranslationView::StyleEditor(int Col, int Row, TNewInplaceEdit& Editor, bool Opened) {
    // The editor covers its cell: the replaced text and the search hit show in it instead,
    // white on red. Opened on them, it selects the first, so that typing replaces it.
    const std::vector<TCellDrawing::TSpan> Spans = FDrawing.EditorHighlights(Col, Row);
    QPalette Palette = Editor.palette();
    Palette.setColor(QPalette::Highlight, Spans.empty()
                                              ? strGrid.palette().color(QPalette::Highlight)
                                              : QColor(Qt::red));
    Palette.setColor(QPalette::HighlightedText,
                     Spans.empty() ? strGrid.palette().color(QPalette::HighlightedText)
                                   : QColor(Qt::white));
    Editor.setPalette(Palette);
    if (Opened && !Spans.empty())
        Editor.SetSelection(static_cast<int>(Spans.front().Start),
                            static_cast<int>(Spans.front().Length));
    QList<QTextEdit::ExtraSelection> Highlights;
    for (const TCellDrawing::TSpan& Span : Spans) {
        QTextEdit::ExtraSelection Highlight;
        Highlight.cursor = QTextCursor(Editor.document());
        Highlight.cursor.setPosition(static_cast<int>(Span.Start));
        Highlight.cursor.setPosition(static_cast<int>(Span.Start + Span.Length),
                                     QTextCursor::KeepAnchor);
        Highlight.format.setBackground(QColor(Qt::red));
        Highlight.format.setForeground(QColor(Qt::white));
        Highlights << Highlight;
    }
    Editor.setExtraSelections(Highlights);
    // Its own context menu would open over the row pop-up of the translated cell.
    if (Editor.contextMenuPolicy() != Qt::CustomContextMenu) {
        Editor.setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(&Editor, &QWidget::customContextMenuRequested, &Editor,
                         [this, &Editor](const QPoint&) {
                             if (Editor.CellCol == colTranslated &&
                                 Doc.Items().Contains(ItemOfRow(Editor.CellRow)))
                                 OpenRowPopup(Editor.CellRow);
                         });
    }
}

void TTranslationView::strGridDrawCell(int ACol, int ARow, const QRect& Rect,
                                       TGridDrawState State) {
    Q_UNUSED(Rect);
    Q_UNUSED(State);
    FDrawing.DrawCell(ACol, ARow);
}

void TTranslationView::HighlightFoundText(int ACol, int ARow, const std::string& Text) {
    FDrawing.HighlightFoundText(ACol, ARow, Text);
    HighlightsChanged();
}

void TTranslationView::HighlightsChanged() {
    strGrid.RestyleEditor(true);
}

void TTranslationView::ItemsChanged(const std::vector<TItemId>& Items) {
    for (const TItemId Id : Items)
        strGrid.InvalidateCell(colTranslated, RowOfItem(Id));
    // The editor's text was reloaded with its cell; its colours and highlights follow.
    strGrid.RestyleEditor();
}

void TTranslationView::MakeCurrent(int Row) {
    // Column first, then row: each step is an ordinary selection the view hears about.
    strGrid.SetCol(colTranslated);
    strGrid.SetRow(Row);
    strGrid.viewport()->update();
}

void TTranslationView::GoToRow(int Row) {
    MakeCurrent(Row);
    strGrid.SetTopRow(Row);
}

void TTranslationView::UpdateHint(int Col, int Row) {
    const QRect Cell = strGrid.CellRect(Col, Row);
    const int Width =
        TTextMeasure::Shared().Width(strGrid.CellText(Col, Row), strGrid.StyledFont(Col, Row));
    std::string Hint = Width > Cell.width() ? std::string(strGrid.Cells(Col, Row)) : std::string();
    if (Col == colTranslated && Row >= FirstItemRow) {
        const std::string Note = FDrawing.ApproximateNote(Row);
        if (!Note.empty()) {
            Hint = Hint.empty() ? Note : Note + "\n" + Hint;
        }
        const std::string Widths = FDrawing.WidthNote(Row);
        if (!Widths.empty()) {
            Hint = Hint.empty() ? Widths : Widths + "\n" + Hint;
        }
        const std::string Listed =
            HintBytes(FindingLines(FFindings.Of(Row)), strGrid.CodePageOf(Col, Row));
        if (!Listed.empty()) {
            Hint = Hint.empty() ? Listed : Listed + "\n" + Hint;
        }
    }
    const std::string* Current = strGrid.Model().FindHintCell(Col, Row);
    if (!Current || *Current != Hint) {
        strGrid.Model().SetHintCell(Col, Row, Hint);
    }
}

void TTranslationView::strGridMouseMove(TShiftState Shift, int X, int Y) {
    Q_UNUSED(Shift);
    int Col = -1;
    int Row = -1;
    strGrid.MouseToCell(X, Y, Col, Row);
    if (Col < 0 || Row < 0) {
        return;
    }
    if (Col == colName || Col == colDefault || Col == colTranslated) {
        UpdateHint(Col, Row);
    } else if (IsHiddenColumn(Col)) {
        HideColumn(Col);
    }
}

void TTranslationView::strGridSelectCell(int ACol, int ARow, bool& CanSelect) {
    if (FHooks.CellSelected)
        FHooks.CellSelected(ACol, ARow);
    if (!strGrid.Model().EditCol(ACol)) {
        CanSelect = false;
    }
    UI.SetStatusText(0, "Column: " + std::to_string(ACol) + ",  Row: " + std::to_string(ARow));
}

void TTranslationView::strGridGetEditText(int ACol, int ARow, QString& Value) {
    Q_UNUSED(Value);
    if (FHooks.EditorOpened)
        FHooks.EditorOpened(ACol, ARow, std::string(strGrid.Cells(ACol, ARow)));
    V.FClickedRow = ARow;
    V.FClickedCol = ACol;
}

void TTranslationView::strGridGetEditMask(int ACol, int ARow, QString& Value) {
    if (ARow <= 1) {
        return;
    }
    if (ACol == colWidth) {
        Value = "99999;0;#";
    } else if (ACol == colFontSize) {
        Value = "99;0;#";
    }
}

std::vector<TTranslationView::TMisspelt> TTranslationView::MisspeltWords(int Row) {
    return FFindings.MisspeltWords(Row);
}

bool TTranslationView::ReplaceWord(int Row, const TMisspelt& Word, const QString& With) {
    const TItemId Id = ItemOfRow(Row);
    if (!Doc.Items().Contains(Id))
        return false;
    const int CodePage = TranslatedCodePage(Doc.State());
    QString Text = DecodeBytes(Doc.Items().Translation(Id), CodePage);
    // The word as it stands, its accelerator mark aside: the text may have changed since.
    if (Text.mid(Word.Span.Start, Word.Span.Length).remove(u'&') != Word.Word)
        return false;
    Text.replace(Word.Span.Start, Word.Span.Length, With);
    const EncodeResult Bytes = EncodeText(Text, CodePage);
    if (!Bytes.Ok()) {
        UI.ShowError(UnrepresentableMessage(Bytes, CodePage).toStdString());
        return false;
    }
    TDocumentEdit Edit(Doc, "Spelling of " + Doc.Items().Caption(Id));
    Edit.SetTranslation(Id, *Bytes.Bytes);
    return true;
}

bool TTranslationView::AddToDictionary(const QString& Word) {
    TSpeller* Speller = FFindings.Speller();
    if (!Speller)
        return false;
    std::string Error;
    if (!Speller->AddToProject(Word, Error)) {
        UI.ShowError(Error);
        return false;
    }
    FFindings.DictionaryChanged();
    strGrid.viewport()->update();
    return true;
}

bool TTranslationView::EnglishChanged(int Row) const {
    return IsItemRow(strGrid.Model(), Row) &&
           Doc.Baseline().ChangeOf(Doc.Items(), ItemOfRow(Row)) != TSourceChange::None;
}

void TTranslationView::MarkReviewed(int Row) {
    if (!EnglishChanged(Row))
        return;
    Doc.MarkReviewed(ItemOfRow(Row));
    FFindings.ReviewsChanged();
    strGrid.viewport()->update();
}

QPoint TTranslationView::RowPopupPoint(int Row) const {
    const QRect Names = strGrid.CellRect(colDefault, Row);
    const QRect Translated = strGrid.CellRect(colTranslated, Row);
    const int X = Names.left() + Names.width() + strGrid.ColWidths(colTranslated) / 2;
    return QPoint(X, Translated.top() + Translated.height());
}

void TTranslationView::strGridMouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y) {
    Q_UNUSED(Shift);
    int Col = -1;
    int Row = -1;
    strGrid.MouseToCell(X, Y, Col, Row);
    V.FClickedRow = Row;
    V.FClickedCol = Col;
    const bool Item = Doc.Items().Contains(ItemOfRow(Row));
    if (Button == Qt::LeftButton) {
        if (Col == colMark && Item) {
            // The row marked is the row worked on: the colour keys and the pop-up act on it.
            MakeCurrent(Row);
            if (FHooks.ColorMarkClick) {
                FHooks.ColorMarkClick(Row);
            }
        } else if (IsHiddenColumn(Col)) {
            HideColumn(Col);
        }
    } else if (Button == Qt::RightButton) {
        if ((Col == colTranslated || Col == colMark) && Item) {
            OpenRowPopup(Row);
        }
    }
}

void TTranslationView::OpenRowPopup(int Row) {
    // What the pop-up acts on is the row pressed, which becomes the current row.
    MakeCurrent(Row);
    FRowPopupAttached = true;
    if (FHooks.OpenRowPopup) {
        FHooks.OpenRowPopup(Row, strGrid.viewport()->mapToGlobal(RowPopupPoint(Row)));
    }
}

void TTranslationView::FitColumns(const std::array<double, colTranslated + 1>& Fractions) {
    const int Width = strGrid.viewport()->width();
    if (Width <= 0) {
        return;
    }
    for (int Col = 0; Col <= colTranslated; ++Col) {
        // A width other than the last fitted one was set by the translator: it stays.
        if (FFitted[Col] >= 0 && strGrid.ColWidths(Col) != FFitted[Col]) {
            continue;
        }
        int Fitted = static_cast<int>(Width * Fractions[Col]);
        if (Col == colTranslated) {
            const QRect Header = strGrid.CellRect(colTranslated, 0);
            if (!Header.isEmpty()) {
                // Every column after it has its grid line too, hidden ones included.
                const int Lines = (strGrid.ColCount() - colTranslated) * strGrid.GridLineWidth();
                Fitted = std::max(Fitted, Width - Header.left() - Lines);
            }
        }
        if (strGrid.ColWidths(Col) != Fitted) {
            strGrid.SetColWidths(Col, Fitted);
        }
        FFitted[Col] = Fitted;
    }
}

void TTranslationView::KeepColumnsFitted(const std::array<double, colTranslated + 1>& Fractions) {
    strGrid.OnResize = [this, Fractions](TStyledStringGrid*) { FitColumns(Fractions); };
    FitColumns(Fractions);
}

void TTranslationView::HideColumn(int Col) {
    if (strGrid.ColWidths(Col) != 0) {
        strGrid.SetColWidths(Col, 0);
        strGrid.InvalidateGrid();
    }
}

void TTranslationView::strGridFixedColClick(int ACol) {
    V.FClickedFixedCol = ACol;
    if (IsHiddenColumn(ACol)) {
        HideColumn(ACol);
    }
}

void TTranslationView::strGridColWidthsChanged() {
    if (IsHiddenColumn(V.FClickedFixedCol)) {
        HideColumn(V.FClickedFixedCol);
    }
}

} // namespace kav
