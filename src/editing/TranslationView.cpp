#include "editing/TranslationView.h"

#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "measure/TextMeasure.h"
#include "text/CodePage.h"

#include <QAction>
#include <QMenu>

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

TTranslationView::TTranslationView(TMainState& State, TStyledStringGrid& Grid, UserInterface& UI,
                                   TTranslationViewHooks Hooks)
    : S(State), strGrid(Grid), UI(UI), FHooks(std::move(Hooks)),
      FFindings(
          Grid.Model(),
          [this] {
              return TFindingContext{TranslatedCodePage(S), S.FLanguageCode};
          },
          TTextMeasure::Shared()),
      FDrawing(State, Grid, UI,
               TCellDrawingHooks{FHooks.FindDialog, FHooks.ReplaceDialog, &FFindings}) {
    Install();
}

TTranslationView::~TTranslationView() {
    strGrid.OnDrawCell = nullptr;
    strGrid.OnAfterEdit = nullptr;
    strGrid.OnMouseMove = nullptr;
    strGrid.OnSelectCell = nullptr;
    strGrid.OnGetEditText = nullptr;
    strGrid.OnGetEditMask = nullptr;
    strGrid.OnMouseDown = nullptr;
    strGrid.OnFixedColClick = nullptr;
    strGrid.OnColWidthsChanged = nullptr;
    strGrid.OnEditDiscarded = nullptr;
    strGrid.OnResize = nullptr;
}

void TTranslationView::Install() {
    strGrid.OnDrawCell = [this](int C, int R, const QRect& Rect, TGridDrawState St) {
        strGridDrawCell(C, R, Rect, St);
    };
    strGrid.OnAfterEdit = [this](TStyledStringGrid*, int C, int R) { strGridAfterEdit(C, R); };
    strGrid.OnMouseMove = [this](TShiftState Sh, int X, int Y) { strGridMouseMove(Sh, X, Y); };
    strGrid.OnSelectCell = [this](int C, int R, bool& Can) { strGridSelectCell(C, R, Can); };
    strGrid.OnGetEditText = [this](int C, int R, QString& V) { strGridGetEditText(C, R, V); };
    strGrid.OnGetEditMask = [this](int C, int R, QString& V) { strGridGetEditMask(C, R, V); };
    strGrid.OnMouseDown = [this](Qt::MouseButton B, TShiftState Sh, int X, int Y) {
        strGridMouseDown(B, Sh, X, Y);
    };
    strGrid.OnFixedColClick = [this](TStyledStringGrid*, int C) { strGridFixedColClick(C); };
    strGrid.OnColWidthsChanged = [this](TStyledStringGrid*) { strGridColWidthsChanged(); };
    // Bytes recorded before the table changed say nothing about the edits of the new content.
    strGrid.OnEditDiscarded = [this](TStyledStringGrid*) { FOpenEdits.clear(); };
    // The row pop-up opens only through the right press, never by the grid's own context menu.
    strGrid.setContextMenuPolicy(Qt::PreventContextMenu);
}

void TTranslationView::strGridDrawCell(int ACol, int ARow, const QRect& Rect,
                                       TGridDrawState State) {
    Q_UNUSED(Rect);
    Q_UNUSED(State);
    FDrawing.DrawCell(ACol, ARow);
}

void TTranslationView::HighlightFoundText(int ACol, int ARow, const std::string& Text) {
    FDrawing.HighlightFoundText(ACol, ARow, Text);
}

void TTranslationView::strGridAfterEdit(int ACol, int ARow) {
    // The grid ends an edit whenever the always-shown editor leaves a cell; only a changed cell
    // changes the document, so moving around does not ask to save on closing.
    auto Opened = FOpenEdits.find({ACol, ARow});
    const bool Changed = Opened != FOpenEdits.end() && strGrid.Cells(ACol, ARow) != Opened->second;
    std::vector<TCellChange> Changes;
    if (Changed)
        Changes.push_back({ACol, ARow, Opened->second, std::string(strGrid.Cells(ACol, ARow))});
    if (Opened != FOpenEdits.end())
        FOpenEdits.erase(Opened);
    TStyledGridModel& Grid = strGrid.Model();
    if (ACol == colTranslated && ARow >= FirstItemRow) {
        const std::string_view Verify = Grid.Cells(colVerify, ARow);
        if (!Verify.empty() && Verify != Grid.Cells(colTranslated, ARow)) {
            if (Changed)
                for (int Col : {colReplaced, colVerify})
                    Changes.push_back({Col, ARow, std::string(Grid.Cells(Col, ARow)), {}});
            Grid.SetCells(colReplaced, ARow, {});
            Grid.SetCells(colVerify, ARow, {});
        }
    }
    if (Changed) {
        if (FHooks.CellEdited)
            FHooks.CellEdited(std::move(Changes));
        else if (FHooks.SetModified)
            FHooks.SetModified(true);
    }
    RowAttributesChanged(ACol, ARow);
}

void TTranslationView::RowAttributesChanged(int ACol, int ARow) {
    TStyledGridModel& Grid = strGrid.Model();
    const bool Attribute =
        ACol == colName || ACol == colDefault || (ACol >= colWidth && ACol <= colFontSize);
    if (Attribute && ARow >= FirstItemRow && Grid.EditCol(ACol)) {
        // The band itself is painted by the repaint that follows.
        const TMyFont RowFont = FDrawing.ApplyRowFont(ARow);
        strGrid.InvalidateCell(colTranslated, ARow);
        FDrawing.AdjustRowHeight(ARow, RowFont);
    }
}

void TTranslationView::UpdateHint(int Col, int Row) {
    const QRect Cell = strGrid.CellRect(Col, Row);
    const int Width = TTextMeasure::Shared().Width(strGrid.CellText(Col, Row),
                                                   strGrid.Model().CellFont(Col, Row));
    std::string Hint = Width > Cell.width() ? std::string(strGrid.Cells(Col, Row)) : std::string();
    if (Col == colTranslated && Row >= FirstItemRow) {
        const std::string Note = FDrawing.ApproximateNote(Row);
        if (!Note.empty()) {
            Hint = Hint.empty() ? Note : Note + "\n" + Hint;
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
    S.FSearchRow = ARow;
    S.FSearchCol = ACol + 1;
    if (!strGrid.Model().EditCol(ACol)) {
        CanSelect = false;
    }
    UI.SetStatusText(0, "Column: " + std::to_string(ACol) + ",  Row: " + std::to_string(ARow));
}

void TTranslationView::strGridGetEditText(int ACol, int ARow, QString& Value) {
    Q_UNUSED(Value);
    if (FOpenEdits.size() > 1000) // edits that never ended
        FOpenEdits.clear();
    FOpenEdits.try_emplace({ACol, ARow}, strGrid.Cells(ACol, ARow));
    S.FSearchText = strGrid.Cells(ACol, ARow);
    S.FFoundRow = ARow;
    S.FFoundCol = ACol;
    S.FClickedRow = ARow;
    S.FClickedCol = ACol;
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
    S.FClickedRow = Row;
    S.FClickedCol = Col;
    if (Button == Qt::LeftButton) {
        if (Col == colMark && Row >= FirstItemRow) {
            if (FHooks.ColorMarkClick) {
                FHooks.ColorMarkClick(Row);
            }
        } else if (IsHiddenColumn(Col)) {
            HideColumn(Col);
        }
    } else if (Button == Qt::RightButton) {
        if ((Col == colTranslated || Col == colMark) && Row >= FirstItemRow) {
            FRowPopupAttached = true;
            if (FHooks.OpenRowPopup) {
                FHooks.OpenRowPopup(Row, strGrid.viewport()->mapToGlobal(RowPopupPoint(Row)));
            }
        }
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
    S.FClickedFixedCol = ACol;
    if (IsHiddenColumn(ACol)) {
        HideColumn(ACol);
    }
}

void TTranslationView::strGridColWidthsChanged() {
    if (IsHiddenColumn(S.FClickedFixedCol)) {
        HideColumn(S.FClickedFixedCol);
    }
}

} // namespace kav
