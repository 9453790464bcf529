#include "searchui/KavrinoReplaceDialog.h"

#include "gridview/FontBuild.h"
#include "searchui/KavrinoReplaceForm.h"

#include <QPointer>

namespace kav {

namespace {

// One replace window at a time, whichever replace component shows it.
QPointer<TfrmReplaceDlg> ReplaceWindowOfUnit;

} // namespace

TKavrinoReplaceDialog::TKavrinoReplaceDialog(QObject* Owner) : TKavrinoDialogBase(Owner) {}

TKavrinoReplaceDialog::~TKavrinoReplaceDialog() {
    if (ReplaceWindowOfUnit && ReplaceWindowOfUnit->Component == this)
        delete ReplaceWindowOfUnit.data();
}

void TKavrinoReplaceDialog::SetReplaceText(const std::string& Value) {
    if (Value != FReplaceText)
        FReplaceText = Value;
}

TfrmFindDlg* TKavrinoReplaceDialog::Window() const {
    return ReplaceWindowOfUnit.data();
}

TfrmReplaceDlg* TKavrinoReplaceDialog::ReplaceWindow() const {
    return ReplaceWindowOfUnit.data();
}

TfrmFindDlg* TKavrinoReplaceDialog::CreateWindow(QWidget* Owner) {
    ReplaceWindowOfUnit = new TfrmReplaceDlg(Owner);
    return ReplaceWindowOfUnit.data();
}

void TKavrinoReplaceDialog::ForgetWindow() {
    ReplaceWindowOfUnit = nullptr;
}

void TKavrinoReplaceDialog::FillWindow(TfrmFindDlg& W) {
    TKavrinoDialogBase::FillWindow(W);
    static_cast<TfrmReplaceDlg&>(W).edtReplace->SetBytes(FReplaceText);
}

void TKavrinoReplaceDialog::ConnectWindow(TfrmFindDlg& W) {
    TKavrinoDialogBase::ConnectWindow(W);
    auto& R = static_cast<TfrmReplaceDlg&>(W);
    R.edtReplace->OnBytesEdited = [this](const std::string& Bytes) { SetReplaceText(Bytes); };
    R.edtReplace->OnRefused = [this, &W](const QString& Message) { Refuse(W, Message); };
    connect(R.btnReplace, &QPushButton::clicked, this, [this] { ReplaceClick(false); });
    connect(R.btnReplaceAll, &QPushButton::clicked, this, [this] { ReplaceClick(true); });
}

void TKavrinoReplaceDialog::WindowShown(TfrmFindDlg& W) {
    TKavrinoDialogBase::WindowShown(W);
    auto& R = static_cast<TfrmReplaceDlg&>(W);
    R.edtReplace->setFont(BuildFont(Font()));
    R.edtReplace->SetCodePage(CodePage());
    R.edtReplace->update();
    R.edtReplace->setFocus();
    R.EdtSearch->setFocus();
}

void TKavrinoReplaceDialog::ReplaceClick(bool All) {
    SetOptions(
        static_cast<TFindOptions>(All ? Options() | frReplaceAll : Options() & ~frReplaceAll));
    Raise(OnReplace);
}

} // namespace kav
