#include "app/AboutKavLang.h"

#include "app/ScaleForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace kav {

namespace {

QLabel* AddLine(QVBoxLayout* Layout, const QString& Text, bool Bold = false) {
    auto* Label = new QLabel(Text);
    if (Bold) {
        QFont Font = Label->font();
        Font.setBold(true);
        Label->setFont(Font);
    }
    Label->setWordWrap(true);
    Layout->addWidget(Label);
    return Label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* Owner) : QDialog(Owner) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    setFixedSize(552, 355);
    auto* Main = new QVBoxLayout(this);
    auto* Panels = new QHBoxLayout;
    Main->addLayout(Panels);

    ProgramIcon = new QLabel;
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setPixmap(QPixmap(":/data/about.jpg"));
    ProgramIcon->setFrameShape(QFrame::Panel);
    ProgramIcon->setFrameShadow(QFrame::Sunken);
    Panels->addWidget(ProgramIcon, 0, Qt::AlignTop);

    auto* Text = new QVBoxLayout;
    Panels->addLayout(Text, 1);
    ProductName = AddLine(Text, "Brenvak Software", true);
    ProductName->setObjectName("ProductName");
    Version = AddLine(Text, "Version 1.2.0.2");
    AddLine(Text, "Software utilities for translation of languages. ");
    Label3 = AddLine(Text, "Kavrino Translation Tool", true);
    Label3->setObjectName("Label3");
    AddLine(Text, "Note:", true);
    AddLine(Text, "Press CTRL + SHIFT + a key from F1 to F12 to Bookmark a row in the grid.");
    AddLine(Text, "Press CTRL + a key from F1 to F12 to go to a Bookmarked row .");
    Text->addStretch();

    btnOk = new QPushButton("Ok");
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    Main->addWidget(btnOk, 0, Qt::AlignHCenter);
    ScaleForm(*this);
}

} // namespace kav
