#include "cli/ConsoleUserInterface.h"

#include <iostream>

namespace kav {

namespace {

const char* Label(TMsgDlgType Type) {
    switch (Type) {
    case TMsgDlgType::mtWarning:
        return "warning";
    case TMsgDlgType::mtError:
        return "error";
    case TMsgDlgType::mtInformation:
        return "info";
    case TMsgDlgType::mtConfirmation:
        return "question";
    }
    return "";
}

} // namespace

TModalResult ConsoleUserInterface::MessageDlg(const std::string& Text, TMsgDlgType Type,
                                              TMsgDlgButtons Buttons) {
    std::cerr << "kavtool: " << Label(Type) << ": " << Text << "\n";
    if (Type == TMsgDlgType::mtWarning || Type == TMsgDlgType::mtError)
        ++Problems;
    if (Buttons == mbOK)
        return TModalResult::mrOK;
    std::cerr << "kavtool: answered " << (QuestionAnswer == TModalResult::mrYes ? "Yes" : "Cancel")
              << "\n";
    return QuestionAnswer;
}

void ConsoleUserInterface::ShowError(const std::string& Text) {
    std::cerr << "kavtool: error: " << Text << "\n";
    ++Problems;
}

void ConsoleUserInterface::SetStatusText(int Panel, const std::string& Text) {
    if (Panel >= 0 && Panel < 3)
        FStatus[Panel] = Text;
}

std::string ConsoleUserInterface::StatusText(int Panel) const {
    return Panel >= 0 && Panel < 3 ? FStatus[Panel] : std::string();
}

} // namespace kav
