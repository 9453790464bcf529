#pragma once
// Everything the document, search and exchange logic says to the user or asks of the user goes
// through this port: the editor implements it with Qt, kavtool with the console and the tests
// with a scripted recorder. The document's own values (language, kind, software) are not read
// from the window: the window follows them through the document's events.

#include "grid/Colors.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kav {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// Button sets of the message boxes.
// mbLater: a Cancel that puts the question off (answered mrCancel, as closing the box is).
enum TMsgDlgBtn : unsigned {
    mbYes = 1,
    mbNo = 2,
    mbOK = 4,
    mbCancel = 8,
    mbAll = 16,
    mbLater = 32
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbOKOnly = mbOK;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;

enum class TModalResult { mrNone, mrOK, mrCancel, mrYes, mrNo, mrAll };

// Ends the whole command silently (Cancel in a question); the top level ignores it.
struct SilentAbort {};

// Status panels of the main window.
constexpr int StatusHint = 0;
constexpr int StatusLines = 1;
constexpr int StatusFile = 2;

// Texts are UTF-8. Callers decode cell bytes before they put them into a message.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Modal message box; returns the button pressed (mrCancel when the box is closed).
    virtual TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                                    TMsgDlgButtons Buttons) = 0;
    // The application's general error box, for errors that end a command.
    virtual void ShowError(const std::string& Text) = 0;

    virtual void SetStatusText(int Panel, const std::string& Text) = 0;
    virtual std::string StatusText(int Panel) const = 0;

    // What only a window shows: a front end without one (the console) has nothing to do
    // for them and keeps these defaults.
    virtual void SetCaption(const std::string& Caption) { (void)Caption; }
    // The please-wait window, painted before the blocking work starts.
    virtual void ShowPleaseWait(const std::string& Msg, bool Animate) { (void)Msg, (void)Animate; }
    virtual void HidePleaseWait() {}
    // The please-wait window's bar: Done of Total. Cancellable offers a Cancel button, for work
    // that can stop without leaving anything half done; false once the user pressed it.
    virtual bool ShowProgress(size_t Done, size_t Total, bool Cancellable) {
        (void)Done, (void)Total, (void)Cancellable;
        return true;
    }
    virtual void SetHourglass(bool On) { (void)On; }
    // The window-update lock together with the disabled grid.
    virtual void LockWindowUpdate(bool Lock) { (void)Lock; }
    // The system's exclamation beep that precedes refusals.
    virtual void Beep() {}

    // Common dialogs; no value when the user cancels or no dialog can be shown.
    virtual std::optional<std::string> OpenDialog(const std::string& InitialDir,
                                                  const std::string& Filter) {
        (void)InitialDir, (void)Filter;
        return std::nullopt;
    }
    virtual std::optional<std::string> SaveDialog(const std::string& InitialDir,
                                                  const std::string& Filter,
                                                  const std::string& FileName) {
        (void)InitialDir, (void)Filter, (void)FileName;
        return std::nullopt;
    }

    // How many entries of a list a message shows before "and N more": a message box must fit
    // on the screen, a console prints them all.
    virtual size_t ListLimit() const { return 10; }
    // Lets the user pick one of Items (a list dialog); no value when cancelled or unavailable.
    virtual std::optional<size_t> ChooseItem(const std::string& Title, const std::string& Prompt,
                                             const std::vector<std::string>& Items) {
        (void)Title, (void)Prompt, (void)Items;
        return std::nullopt;
    }
};

// Items as message lines ("\n" before each), at most UI.ListLimit() of them, then
// "\nand N more".
inline std::string ListedLines(const UserInterface& UI, const std::vector<std::string>& Items) {
    std::string Text;
    const size_t Shown = std::min(Items.size(), UI.ListLimit());
    for (size_t i = 0; i < Shown; ++i)
        Text += "\n" + Items[i];
    if (Items.size() > Shown)
        Text += "\nand " + std::to_string(Items.size() - Shown) + " more";
    return Text;
}

// Holds the window-update lock and the disabled grid for one scope: released on every path.
class TUpdateLock {
public:
    explicit TUpdateLock(UserInterface& UI) : FUI(UI) { FUI.LockWindowUpdate(true); }
    ~TUpdateLock() { FUI.LockWindowUpdate(false); }
    TUpdateLock(const TUpdateLock&) = delete;
    TUpdateLock& operator=(const TUpdateLock&) = delete;

private:
    UserInterface& FUI;
};

// Reports long work to the please-wait window, at most once a percent and every 40 ms, so that
// a loop over every item may report each one without slowing down.
class TProgress {
public:
    TProgress(UserInterface& UI, size_t Total, bool Cancellable = false)
        : FUI(UI), FTotal(Total), FCancellable(Cancellable) {}
    // False once the user pressed Cancel.
    bool Step(size_t Done) {
        if (FStopped || FTotal == 0)
            return !FStopped;
        const auto Percent = static_cast<int>(std::min(Done, FTotal) * 100 / FTotal);
        // The clock is read once a percent at most.
        if (Percent == FReached)
            return true;
        FReached = Percent;
        const auto Now = std::chrono::steady_clock::now();
        if (FShown >= 0 && Percent < 100 && Now - FLast < std::chrono::milliseconds(40))
            return true;
        FShown = Percent;
        FLast = Now;
        FStopped = !FUI.ShowProgress(Done, FTotal, FCancellable);
        return !FStopped;
    }
    bool Stopped() const { return FStopped; }

private:
    UserInterface& FUI;
    size_t FTotal;
    bool FCancellable;
    bool FStopped = false;
    int FShown = -1;
    int FReached = -1;
    std::chrono::steady_clock::time_point FLast;
};

// Shows the please-wait window for one scope.
class TPleaseWait {
public:
    TPleaseWait(UserInterface& UI, const std::string& Msg) : FUI(UI) {
        FUI.ShowPleaseWait(Msg, true);
    }
    ~TPleaseWait() { FUI.HidePleaseWait(); }
    TPleaseWait(const TPleaseWait&) = delete;
    TPleaseWait& operator=(const TPleaseWait&) = delete;

private:
    UserInterface& FUI;
};

} // namespace kav
