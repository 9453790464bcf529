#include "searchui/KavrinoFindForm.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

namespace kav {

namespace {

QFont FormFont() {
    QFont Font(QStringLiteral("Arial"));
    Font.setPixelSize(12);
    Font.setBold(true);
    return Font;
}

} // namespace

TfrmFindDlg::TfrmFindDlg(QWidget* Owner) : TfrmFindDlg(Owner, TWithoutLayout{}) {
    LayOut();
    setTabOrder(EdtSearch, btnFindNext);
    setTabOrder(btnFindNext, btnCancel);
    setTabOrder(btnCancel, ckxMatchWholeWord);
    setTabOrder(ckxMatchWholeWord, ckxMatchCase);
    CentreOnDesktop();
}

TfrmFindDlg::TfrmFindDlg(QWidget* Owner, TWithoutLayout)
    : QDialog(Owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    setFont(FormFont());
    BuildSharedControls();
}

QPushButton* TfrmFindDlg::NewButton(const QString& Caption, QWidget* Parent) {
    auto* Button = new QPushButton(Caption, Parent);
    // No default button: Enter in a field presses nothing here; the main window routes it.
    Button->setAutoDefault(false);
    Button->setDefault(false);
    return Button;
}

void TfrmFindDlg::BuildSharedControls() {
    lblFind = new QLabel(QStringLiteral("Fi&nd what:"), this);
    EdtSearch = new TCodePageEdit(this);
    lblFind->setBuddy(EdtSearch);
    btnFindNext = NewButton(QStringLiteral("&Find Next"), this);
    btnCancel = NewButton(QStringLiteral("Cancel"), this);
    btnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    ckxMatchWholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    ckxMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    lblFind->setObjectName("lblFind");
    EdtSearch->setObjectName("EdtSearch");
    btnFindNext->setObjectName("btnFindNext");
    btnCancel->setObjectName("btnCancel");
    ckxMatchWholeWord->setObjectName("ckxMatchWholeWord");
    ckxMatchCase->setObjectName("ckxMatchCase");
}

void TfrmFindDlg::LayOut() {
    auto* Grid = new QGridLayout(this);
    Grid->setSizeConstraint(QLayout::SetFixedSize);
    Grid->addWidget(lblFind, 0, 0);
    Grid->addWidget(EdtSearch, 0, 1);
    Grid->addWidget(btnFindNext, 0, 2);
    Grid->addWidget(ckxMatchWholeWord, 1, 0, 1, 2);
    Grid->addWidget(btnCancel, 1, 2);
    Grid->addWidget(ckxMatchCase, 2, 0, 1, 2);
    EdtSearch->setMinimumWidth(200);
}

void TfrmFindDlg::CentreOnDesktop() {
    adjustSize();
    if (QScreen* Screen = QGuiApplication::primaryScreen()) {
        QRect Frame = frameGeometry();
        Frame.moveCenter(Screen->availableGeometry().center());
        move(Frame.topLeft());
    }
}

void TfrmFindDlg::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (!Event->spontaneous())
        emit Shown();
}

void TfrmFindDlg::hideEvent(QHideEvent* Event) {
    QDialog::hideEvent(Event);
    if (!Event->spontaneous())
        emit Hidden();
}

void TfrmFindDlg::closeEvent(QCloseEvent* Event) {
    Event->accept();
}

void TfrmFindDlg::reject() {
    btnCancel->click();
}

} // namespace kav
