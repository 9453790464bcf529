#pragma once
// The window of the replace dialog component: the find window's controls with the replacement
// field and the Replace and Replace All buttons.

#include "searchui/KavrinoFindForm.h"

namespace kav {

class TfrmReplaceDlg : public TfrmFindDlg {
    Q_OBJECT
public:
    explicit TfrmReplaceDlg(QWidget* Owner = nullptr);

    QLabel* Label1;
    TCodePageEdit* edtReplace;
    QPushButton* btnReplace;
    QPushButton* btnReplaceAll;

private:
    void LayOut();
};

} // namespace kav
