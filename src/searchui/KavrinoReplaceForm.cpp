#include "searchui/KavrinoReplaceForm.h"

#include <QGridLayout>

namespace kav {

TfrmReplaceDlg::TfrmReplaceDlg(QWidget* Owner) : TfrmFindDlg(Owner, TWithoutLayout{}) {
    Label1 = new QLabel(QStringLiteral("Re&place with:"), this);
    edtReplace = new TCodePageEdit(this);
    Label1->setBuddy(edtReplace);
    btnReplace = NewButton(QStringLiteral("&Replace"), this);
    btnReplaceAll = NewButton(QStringLiteral("Replace &All"), this);
    Label1->setObjectName("Label1");
    edtReplace->setObjectName("edtReplace");
    btnReplace->setObjectName("btnReplace");
    btnReplaceAll->setObjectName("btnReplaceAll");
    LayOut();
    setTabOrder(EdtSearch, edtReplace);
    setTabOrder(edtReplace, btnFindNext);
    setTabOrder(btnFindNext, btnReplace);
    setTabOrder(btnReplace, btnReplaceAll);
    setTabOrder(btnReplaceAll, btnCancel);
    setTabOrder(btnCancel, ckxMatchWholeWord);
    setTabOrder(ckxMatchWholeWord, ckxMatchCase);
    setWindowTitle(QStringLiteral("Replace"));
    CentreOnDesktop();
}

void TfrmReplaceDlg::LayOut() {
    auto* Grid = new QGridLayout(this);
    Grid->setSizeConstraint(QLayout::SetFixedSize);
    Grid->addWidget(lblFind, 0, 0);
    Grid->addWidget(EdtSearch, 0, 1);
    Grid->addWidget(btnFindNext, 0, 2);
    Grid->addWidget(Label1, 1, 0);
    Grid->addWidget(edtReplace, 1, 1);
    Grid->addWidget(btnReplace, 1, 2);
    Grid->addWidget(ckxMatchWholeWord, 2, 0, 1, 2);
    Grid->addWidget(btnReplaceAll, 2, 2);
    Grid->addWidget(ckxMatchCase, 3, 0, 1, 2);
    Grid->addWidget(btnCancel, 3, 2);
    EdtSearch->setMinimumWidth(200);
}

} // namespace kav
