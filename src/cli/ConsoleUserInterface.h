#pragma once
// The user-interface port of kavtool: messages go to stderr, questions are answered by the
// command's options or refused, dialogs are never shown.

#include "document/UserInterface.h"

#include <string>
#include <vector>

namespace kav {

class ConsoleUserInterface : public UserInterface {
public:
    // The answer to questions (Yes to "OK to overwrite" with --force, say); Cancel by default.
    TModalResult QuestionAnswer = TModalResult::mrCancel;
    // Errors and warnings shown, for the exit code.
    int Problems = 0;

    TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override;
    void ShowError(const std::string& Text) override;
    void SetStatusText(int Panel, const std::string& Text) override;
    std::string StatusText(int Panel) const override;
    // The console prints every entry of a list.
    size_t ListLimit() const override { return static_cast<size_t>(-1); }

private:
    std::string FStatus[3];
};

} // namespace kav
