#pragma once
// A user-interface port for the benchmarks: it answers nothing and shows nothing.

#include "document/UserInterface.h"

namespace kav {

class TQuietUserInterface : public UserInterface {
public:
    TModalResult MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override {
        return TModalResult::mrOK;
    }
    void ShowError(const std::string&) override {}
    void SetStatusText(int, const std::string&) override {}
    std::string StatusText(int) const override { return {}; }
};

} // namespace kav
