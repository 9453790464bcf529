#pragma once
// The About box.

#include <QDialog>

class QLabel;
class QPushButton;

namespace kav {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* Owner);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Label3;
    QPushButton* btnOk;
};

} // namespace kav
