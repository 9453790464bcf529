#pragma once
// The modal boxes and file dialogs of the main window, replaceable so that tests can answer
// them the way the user would.

#include "document/UserInterface.h"
#include "grid/Colors.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace kav {

// Names the program for the desktop. Without a display name: Qt would append it to the title of
// every dialog and box ("Confirm \u2014 Kavrino Translation Tool"), which the title bar of a
// small box then cuts; the main window's caption carries the tool's name itself.
void NameApplication();

class IModalDialogs {
public:
    virtual ~IModalDialogs() = default;
    virtual TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                                    TMsgDlgButtons Buttons) = 0;
    virtual void ShowError(const std::string& Text) = 0;
    virtual std::optional<std::string> OpenDialog(const std::string& InitialDir,
                                                  const std::string& Filter) = 0;
    virtual std::optional<std::string> SaveDialog(const std::string& InitialDir,
                                                  const std::string& Filter,
                                                  const std::string& FileName) = 0;
    // The colour dialog opened on Start, solid colours only: the colour the user confirmed,
    // nullopt when cancelled. Throws when the dialog cannot be shown.
    virtual std::optional<TColor> ChooseColor(TColor Start) = 0;
    // A list to pick one entry from; the index picked, nullopt when cancelled.
    virtual std::optional<size_t> ChooseItem(const std::string& Title, const std::string& Prompt,
                                             const std::vector<std::string>& Items) {
        (void)Title, (void)Prompt, (void)Items;
        return std::nullopt;
    }
};

// The real ones: message boxes with the system's captions, Qt's file dialogs.
class QtModalDialogs : public IModalDialogs {
public:
    explicit QtModalDialogs(QWidget* Owner) : FOwner([Owner] { return Owner; }) {}
    // Owner: the window each box opens over, asked when it opens (a stay-on-top search window
    // that is shown, say, so that the box is never hidden under it).
    explicit QtModalDialogs(std::function<QWidget*()> Owner) : FOwner(std::move(Owner)) {}
    TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override;
    void ShowError(const std::string& Text) override;
    std::optional<std::string> OpenDialog(const std::string& InitialDir,
                                          const std::string& Filter) override;
    std::optional<std::string> SaveDialog(const std::string& InitialDir, const std::string& Filter,
                                          const std::string& FileName) override;
    std::optional<TColor> ChooseColor(TColor Start) override;
    std::optional<size_t> ChooseItem(const std::string& Title, const std::string& Prompt,
                                     const std::vector<std::string>& Items) override;

private:
    std::function<QWidget*()> FOwner;
};

// For an unattended run (--screenshot): every box goes to stderr and is answered at once
// (OK, or Cancel for a question); no dialog is shown.
class StderrModalDialogs : public IModalDialogs {
public:
    TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override;
    void ShowError(const std::string& Text) override;
    std::optional<std::string> OpenDialog(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveDialog(const std::string&, const std::string&,
                                          const std::string&) override {
        return std::nullopt;
    }
    std::optional<TColor> ChooseColor(TColor) override { return std::nullopt; }
};

// "Language Resource Files (*.STR)|*.STR|All Files(*.*)|*.*" as a Qt filter; patterns match
// either letter case, as on the system the filters were written for.
QString QtFilter(const std::string& Filter);

} // namespace kav
