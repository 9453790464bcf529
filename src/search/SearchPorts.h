#pragma once
// What the search commands need from the main window's grid and from the find and replace
// dialog components. The main window implements the view; the dialog components implement the
// dialog port; tests use fakes of both.

#include "search/FindOptions.h"

#include <cstdint>
#include <string>

namespace kav {

class ISearchView {
public:
    virtual ~ISearchView() = default;
    // The first scrollable row on screen. Setting it scrolls without moving the current cell
    // or the in-place editor.
    virtual int TopRow() const = 0;
    virtual void SetTopRow(int Row) = 0;
    // The row being worked on: the current cell's.
    virtual int CurrentRow() const = 0;
    // Makes the translated cell of Row the current cell, with Row at the top of the view (as
    // far as the last screenful lets it), so that what is typed next goes where the user looks.
    virtual void GoToRow(int Row) = 0;
    // Where the search windows open (screen coordinates); kept by the view.
    virtual int DialogLeft() const = 0;
    virtual int DialogTop() const = 0;
    virtual void SetDialogPlace(int Left, int Top) = 0;
    // Disabled (with the hourglass) while a search or a Replace All runs.
    virtual void SetGridEnabled(bool Enabled) = 0;
    // Paints the first occurrence of Text in the cell, white on red (ignoring letter case).
    virtual void HighlightFoundText(int Col, int Row, const std::string& Text) = 0;
    // Paints what is pending now, while the grid is still busy.
    virtual void UpdateGrid() = 0;
    virtual void RepaintGrid() = 0;
};

// A find or replace dialog component as the commands see it. Texts are bytes in the code page
// of the component's font character set.
class ISearchDialog {
public:
    virtual ~ISearchDialog() = default;
    virtual std::string FindText() const = 0;
    virtual void SetFindText(const std::string& Text) = 0;
    // "" for the find dialog.
    virtual std::string ReplaceText() const = 0;
    virtual TFindOptions Options() const = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual void SetPosition(int X, int Y) = 0;
    virtual void SetFontCharset(std::uint8_t Charset) = 0;
    // The code page the typed texts are kept in: the default character set stands for the
    // language's own page, which the set alone does not tell.
    virtual void SetTextCodePage(int CodePage) = 0;
    virtual bool IsOpen() const = 0;
    virtual bool Execute() = 0;
    virtual void FindNextClick() = 0;
};

} // namespace kav
