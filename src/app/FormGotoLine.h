#pragma once
// The "Go to Line Number" dialog: the typed item number becomes the first row shown, and its
// translated cell the current cell, so that what is typed next goes to the item shown.

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace kav {

class TStyledStringGrid;
class UserInterface;

class TfrmGotoLineNumber : public QDialog {
    Q_OBJECT

public:
    // GoToRow makes a row current and scrolls it to the top.
    TfrmGotoLineNumber(TStyledStringGrid& Grid, UserInterface& UI, std::function<void(int)> GoToRow,
                       QWidget* Owner);

    void btnOKClick();

    QLineEdit* edtLineNumber = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void FormCreate();

    TStyledStringGrid& strGrid;
    UserInterface& UI;
    std::function<void(int)> FGoToRow;
};

} // namespace kav
