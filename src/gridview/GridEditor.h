#pragma once
// The grid's in-place editor: an edit control laid over the current cell that hands the
// navigation keys to the grid, answers Enter by selecting or unselecting its text, keeps to the
// cell's edit mask and passes every change of its text on to the grid.

#include "gridview/StringGrid.h"

#include <QPlainTextEdit>

#include <functional>

namespace kav {

// An edit mask such as "99999;0;#": the part before the first ';' gives one position per
// character ('0', '9' and '#' digits, 'L' and '?' letters, 'A' letters or digits, 'C' anything,
// other characters themselves). A text fits when each of its characters fits its position.
bool TextFitsMask(const QString& Text, const QString& Mask);

class TInplaceEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TInplaceEdit(TCustomStringGrid* Grid);

    TCustomStringGrid* Grid() const { return FGrid; }
    // The grid is going away: the editor's last events must not reach it.
    void DetachGrid() { FGrid = nullptr; }
    QString Text() const { return toPlainText(); }
    // Replaces the text without it counting as an edit.
    void LoadText(const QString& Value);
    // Called after each LoadText: what the owner lays over the text goes on again.
    std::function<void()> OnTextLoaded;
    // Replaces the text as an edit does: the grid receives it.
    void SetText(const QString& Value);
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value) { FEditMask = Value; }
    void SetTextAlignment(Qt::Alignment Value);

    int SelStart() const;
    int SelLength() const;
    // A length of -1 selects the whole text.
    void SetSelection(int Start, int Length);
    void SelectAllText() { SetSelection(0, -1); }

    // Runs a typed character through the editor's key handling, as typing it would.
    void TypeChar(QChar Key);

protected:
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    // Whether the editor may hold NewText; a refused change is undone.
    virtual bool AcceptText(const QString& NewText);

    QString TextAfterTyping(QChar Key) const;
    void InsertTyped(QChar Key);

    void keyPressEvent(QKeyEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    bool event(QEvent* Event) override;
    // Only plain text is pasted or dropped, and only when there is some: Qt 6.4 crashes on mime
    // data without formats, which an X clipboard without an owner hands out.
    bool canInsertFromMimeData(const QMimeData* Source) const override;
    void insertFromMimeData(const QMimeData* Source) override;

private:
    void ForwardToGrid(int& Key, TShiftState Shift);
    bool CaretAtStart() const;
    bool CaretAtEnd() const;
    bool AllSelected() const;
    bool IsModifyingKey(QKeyEvent* Event) const;
    void TextChangedHere();

    TCustomStringGrid* FGrid;
    QString FEditMask;
    QString FAcceptedText;
    bool FLoading = false;
};

} // namespace kav
