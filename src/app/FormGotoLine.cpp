#include "app/FormGotoLine.h"

#include "app/ScaleForm.h"
#include "document/UserInterface.h"
#include "editing/Navigation.h"
#include "gridview/StyledStringGrid.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace kav {

TfrmGotoLineNumber::TfrmGotoLineNumber(TStyledStringGrid& Grid, UserInterface& UI,
                                       std::function<void(int)> GoToRow, QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), strGrid(Grid),
      UI(UI), FGoToRow(std::move(GoToRow)) {
    setObjectName("frmGotoLineNumber");
    setWindowTitle("Go to Line Number");
    QFont Arial("Arial");
    Arial.setPixelSize(11);
    setFont(Arial);

    auto* Main = new QVBoxLayout(this);
    auto* Panel = new QFrame(this);
    Panel->setFrameShape(QFrame::Panel);
    Panel->setFrameShadow(QFrame::Sunken);
    auto* Fields = new QHBoxLayout(Panel);
    auto* Label = new QLabel("Enter Line Number:", Panel);
    edtLineNumber = new QLineEdit(Panel);
    edtLineNumber->setObjectName("edtLineNumber");
    Label->setBuddy(edtLineNumber);
    Fields->addWidget(Label);
    Fields->addWidget(edtLineNumber);
    Main->addWidget(Panel);

    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch();
    btnOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", this);
    btnCancel->setObjectName("btnCancel");
    Buttons->addWidget(btnOK);
    Buttons->addWidget(btnCancel);
    Main->addLayout(Buttons);

    connect(btnOK, &QPushButton::clicked, this, &TfrmGotoLineNumber::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

void TfrmGotoLineNumber::FormCreate() {
    ScaleForm(*this);
    adjustSize();
    if (const QScreen* Screen = QGuiApplication::primaryScreen())
        move(Screen->availableGeometry().center() - rect().center());
}

void TfrmGotoLineNumber::btnOKClick() {
    const TGotoLineTarget Target =
        GotoLineTarget(edtLineNumber->text().toStdString(), strGrid.RowCount());
    if (Target.ErrorPosition != 0) {
        UI.MessageDlg("Error at position: " + std::to_string(Target.ErrorPosition) +
                          "\nType an item number: decimal (12), or hexadecimal after $ or 0x "
                          "($1F, 0x1F).",
                      TMsgDlgType::mtWarning, mbOK);
        edtLineNumber->selectAll();
        edtLineNumber->setFocus();
        return;
    }
    if (Target.TopRow && FGoToRow)
        FGoToRow(*Target.TopRow);
    else if (Target.TopRow)
        strGrid.SetTopRow(*Target.TopRow);
    accept();
}

} // namespace kav
