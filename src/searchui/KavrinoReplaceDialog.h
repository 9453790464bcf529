#pragma once
// The replace dialog component of the main window (ReplaceDialog1): the find component with the
// replacement text and OnReplace, raised by Replace (replace-all option cleared) and Replace All
// (set).

#include "searchui/KavrinoDialogBase.h"

namespace kav {

class TfrmReplaceDlg;

class TKavrinoReplaceDialog : public TKavrinoDialogBase {
    Q_OBJECT
public:
    explicit TKavrinoReplaceDialog(QObject* Owner = nullptr);
    ~TKavrinoReplaceDialog() override;

    std::string ReplaceText() const override { return FReplaceText; }
    void SetReplaceText(const std::string& Value);

    TNotifyEvent OnReplace;

    TfrmFindDlg* Window() const override;
    TfrmReplaceDlg* ReplaceWindow() const;

protected:
    TfrmFindDlg* CreateWindow(QWidget* Owner) override;
    void ForgetWindow() override;
    void FillWindow(TfrmFindDlg& Window) override;
    void ConnectWindow(TfrmFindDlg& Window) override;
    void WindowShown(TfrmFindDlg& Window) override;

private:
    void ReplaceClick(bool All);

    std::string FReplaceText;
};

} // namespace kav
