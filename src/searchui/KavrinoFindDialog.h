#pragma once
// The find dialog component of the main window (FindDialog1): Execute shows its window, Find
// Next raises OnFind, Cancel raises OnClose and ends the window.

#include "searchui/KavrinoDialogBase.h"

namespace kav {

class TKavrinoFindDialog : public TKavrinoDialogBase {
    Q_OBJECT
public:
    // A widget owner becomes the owner of the window.
    explicit TKavrinoFindDialog(QObject* Owner = nullptr);
    ~TKavrinoFindDialog() override;

    std::string ReplaceText() const override { return {}; }
    TfrmFindDlg* Window() const override;

protected:
    TfrmFindDlg* CreateWindow(QWidget* Owner) override;
    void ForgetWindow() override;
};

} // namespace kav
