#pragma once
// A user-interface port for tests: records every message and answers questions and dialogs
// from queues, so that a test states what the user says and checks what the tool said.

#include "document/UserInterface.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace kav {

struct TRecordedMessage {
    std::string Text;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
};

class ScriptedUserInterface : public UserInterface {
public:
    // Answers, used in order; a question without a queued answer is answered Cancel, a box
    // with OK only is answered OK.
    std::deque<TModalResult> Answers;
    std::deque<std::optional<std::string>> OpenAnswers;
    std::deque<std::optional<std::string>> SaveAnswers;

    std::vector<TRecordedMessage> Messages;
    std::vector<std::string> Errors;
    std::vector<std::string> PleaseWaitShown;
    std::vector<std::string> SaveProposals;
    std::vector<std::string> SaveFolders;
    // Answers of list choices (index, nullopt for cancel) and the lists shown.
    std::deque<std::optional<size_t>> ChooseAnswers;
    std::vector<std::vector<std::string>> ChoiceLists;
    std::vector<std::string> ChoicePrompts;
    std::map<int, std::string> Status;
    std::string Caption;
    int Beeps = 0;
    int LockDepth = 0;
    int MaxLockDepth = 0;
    int PleaseWaitOpen = 0;

    TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type,
                            TMsgDlgButtons Buttons) override;
    void ShowError(const std::string& Text) override { Errors.push_back(Text); }
    void Beep() override { ++Beeps; }
    void SetStatusText(int Panel, const std::string& Text) override { Status[Panel] = Text; }
    std::string StatusText(int Panel) const override;
    void SetCaption(const std::string& Text) override { Caption = Text; }
    void ShowPleaseWait(const std::string& Msg, bool) override;
    void HidePleaseWait() override { --PleaseWaitOpen; }
    void SetHourglass(bool) override {}
    void LockWindowUpdate(bool Lock) override;
    std::optional<std::string> OpenDialog(const std::string&, const std::string&) override;
    std::optional<std::string> SaveDialog(const std::string&, const std::string&,
                                          const std::string& FileName) override;
    std::optional<size_t> ChooseItem(const std::string&, const std::string& Prompt,
                                     const std::vector<std::string>& Items) override;

    // The texts of all messages, in order.
    std::vector<std::string> Texts() const;
    void Clear();
};

} // namespace kav
