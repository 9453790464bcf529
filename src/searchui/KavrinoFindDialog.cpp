#include "searchui/KavrinoFindDialog.h"

#include "searchui/KavrinoFindForm.h"

#include <QPointer>

namespace kav {

namespace {

// One find window at a time, whichever find component shows it.
QPointer<TfrmFindDlg> FindWindow;

} // namespace

TKavrinoFindDialog::TKavrinoFindDialog(QObject* Owner) : TKavrinoDialogBase(Owner) {}

TKavrinoFindDialog::~TKavrinoFindDialog() {
    if (FindWindow && FindWindow->Component == this)
        delete FindWindow.data();
}

TfrmFindDlg* TKavrinoFindDialog::Window() const {
    return FindWindow.data();
}

TfrmFindDlg* TKavrinoFindDialog::CreateWindow(QWidget* Owner) {
    FindWindow = new TfrmFindDlg(Owner);
    return FindWindow.data();
}

void TKavrinoFindDialog::ForgetWindow() {
    FindWindow = nullptr;
}

} // namespace kav
