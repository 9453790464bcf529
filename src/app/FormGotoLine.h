#pragma once
// The "Go to Line Number" dialog: scrolls the translation table so that the typed item number
// is the first row shown. Only the view moves; the current cell and its editor stay.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kav {

class TStyledStringGrid;
class UserInterface;

class TfrmGotoLineNumber : public QDialog {
    Q_OBJECT

public:
    TfrmGotoLineNumber(TStyledStringGrid& Grid, UserInterface& UI, QWidget* Owner);

    void btnOKClick();

    QLineEdit* edtLineNumber = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void FormCreate();

    TStyledStringGrid& strGrid;
    UserInterface& UI;
};

} // namespace kav
