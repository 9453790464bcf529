#pragma once
// Stand-ins for the main window's grid view and the two dialog components, recording what the
// search commands do to them.

#include "search/SearchPorts.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kav {

class TFakeSearchView : public ISearchView {
public:
    int Top = 2;
    int Current = 2;
    int Left = 0;
    int TopEdge = 0;
    bool Enabled = true;
    int Disables = 0;
    int Updates = 0;
    int Repaints = 0;
    std::vector<std::pair<int, std::string>> Highlights; // row, text

    int TopRow() const override { return Top; }
    void SetTopRow(int Row) override { Top = Row; }
    int CurrentRow() const override { return Current; }
    void GoToRow(int Row) override {
        Current = Row;
        Top = Row;
    }
    int DialogLeft() const override { return Left; }
    int DialogTop() const override { return TopEdge; }
    void SetDialogPlace(int NewLeft, int NewTop) override {
        Left = NewLeft;
        TopEdge = NewTop;
    }
    void SetGridEnabled(bool Value) override {
        Enabled = Value;
        Disables += Value ? 0 : 1;
    }
    void HighlightFoundText(int, int Row, const std::string& Text) override {
        Highlights.emplace_back(Row, Text);
    }
    void UpdateGrid() override { ++Updates; }
    void RepaintGrid() override { ++Repaints; }
};

class TFakeSearchDialog : public ISearchDialog {
public:
    std::string Find;
    std::string Replace;
    TFindOptions Opts = frDown;
    int X = -1, Y = -1;
    int Charset = -1;
    bool Open = false;
    int Executes = 0;
    std::function<void()> OnFind;

    std::string FindText() const override { return Find; }
    void SetFindText(const std::string& Text) override { Find = Text; }
    std::string ReplaceText() const override { return Replace; }
    TFindOptions Options() const override { return Opts; }
    int Left() const override { return X; }
    int Top() const override { return Y; }
    void SetPosition(int NewX, int NewY) override {
        X = NewX;
        Y = NewY;
    }
    void SetFontCharset(std::uint8_t Value) override { Charset = Value; }
    void SetTextCodePage(int) override {}
    bool IsOpen() const override { return Open; }
    bool Execute() override {
        ++Executes;
        Open = true;
        return true;
    }
    void FindNextClick() override {
        if (OnFind)
            OnFind();
    }
};

} // namespace kav
