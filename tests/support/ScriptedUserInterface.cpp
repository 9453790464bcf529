#include "ScriptedUserInterface.h"

namespace kav {

TModalResult ScriptedUserInterface::MessageDlg(const std::string& Text, TMsgDlgType Type,
                                               TMsgDlgButtons Buttons) {
    Messages.push_back({Text, Type, Buttons});
    if (Buttons == mbOK)
        return TModalResult::mrOK;
    if (Answers.empty())
        return TModalResult::mrCancel;
    TModalResult Answer = Answers.front();
    Answers.pop_front();
    return Answer;
}

std::string ScriptedUserInterface::StatusText(int Panel) const {
    auto It = Status.find(Panel);
    return It == Status.end() ? std::string() : It->second;
}

void ScriptedUserInterface::ShowPleaseWait(const std::string& Msg, bool) {
    PleaseWaitShown.push_back(Msg);
    ++PleaseWaitOpen;
}

void ScriptedUserInterface::LockWindowUpdate(bool Lock) {
    LockDepth += Lock ? 1 : -1;
    MaxLockDepth = std::max(MaxLockDepth, LockDepth);
}

std::optional<std::string> ScriptedUserInterface::OpenDialog(const std::string&,
                                                             const std::string&) {
    if (OpenAnswers.empty())
        return std::nullopt;
    auto Answer = OpenAnswers.front();
    OpenAnswers.pop_front();
    return Answer;
}

std::optional<size_t> ScriptedUserInterface::ChooseItem(const std::string&,
                                                        const std::string& Prompt,
                                                        const std::vector<std::string>& Items) {
    ChoiceLists.push_back(Items);
    ChoicePrompts.push_back(Prompt);
    if (ChooseAnswers.empty())
        return std::nullopt;
    auto Answer = ChooseAnswers.front();
    ChooseAnswers.pop_front();
    return Answer;
}

std::optional<std::string> ScriptedUserInterface::SaveDialog(const std::string& Folder,
                                                             const std::string&,
                                                             const std::string& FileName) {
    SaveProposals.push_back(FileName);
    SaveFolders.push_back(Folder);
    if (SaveAnswers.empty())
        return std::nullopt;
    auto Answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return Answer;
}

std::vector<std::string> ScriptedUserInterface::Texts() const {
    std::vector<std::string> Result;
    for (const auto& Message : Messages)
        Result.push_back(Message.Text);
    return Result;
}

void ScriptedUserInterface::Clear() {
    Messages.clear();
    Errors.clear();
    PleaseWaitShown.clear();
    Beeps = 0;
}

} // namespace kav
