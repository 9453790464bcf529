#pragma once
// The styled grid's in-place editor: it takes the alignment, font and colours of the cell it
// edits, remembers which cell that is and the text the cell had when the edit began, and turns
// Enter and Escape into the grid's end and cancel steps. It shows and edits the cell's bytes
// through the code page of the cell's font and refuses characters that page cannot hold.

#include "grid/CellProperties.h"
#include "gridview/GridEditor.h"

#include <string>

namespace kav {

class TStyledStringGrid;

class TNewInplaceEdit : public TInplaceEdit {
    Q_OBJECT

public:
    explicit TNewInplaceEdit(TStyledStringGrid* Grid);

    TMyAlign Alignment() const { return FAlignment; }
    // Keeps the selection and lays the editor over its cell again.
    void SetAlignment(TMyAlign Value);
    bool Multiline = false;
    // The cell being edited; -1 when none.
    int CellCol = -1;
    int CellRow = -1;
    // The begin step has run for this cell.
    bool EditStarted = false;
    // The cell's text when the edit began, shown and as stored.
    QString InitialText;
    std::string InitialBytes;

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool AcceptText(const QString& NewText) override;

private:
    bool OverLengthLimit(QChar Key) const;
    void EnterPressed(QChar& Key);
    void EscapePressed(QChar& Key);

    TStyledStringGrid* FStyledGrid;
    TMyAlign FAlignment = alLeft;
};

} // namespace kav
