#pragma once
// The window of the find dialog component: a modeless window that stays on top, with the search
// field, Find Next, Cancel and the two check boxes. It only shows its controls and reports that
// it was shown or hidden; the component connects the controls.

#include "searchui/CodePageEdit.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace kav {

class TfrmFindDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFindDlg(QWidget* Owner = nullptr);

    QLabel* lblFind;
    TCodePageEdit* EdtSearch;
    QPushButton* btnFindNext;
    QPushButton* btnCancel;
    QCheckBox* ckxMatchWholeWord;
    QCheckBox* ckxMatchCase;

    // The component whose Execute showed the window last.
    QPointer<QObject> Component;

signals:
    void Shown();
    void Hidden();

protected:
    struct TWithoutLayout {};
    // For the replace window, which lays out the shared controls with its own.
    TfrmFindDlg(QWidget* Owner, TWithoutLayout);

    static QPushButton* NewButton(const QString& Caption, QWidget* Parent);
    void CentreOnDesktop();

    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;
    // The title-bar close only hides the window; Cancel is what ends it.
    void closeEvent(QCloseEvent* Event) override;
    // Escape presses Cancel.
    void reject() override;

private:
    void BuildSharedControls();
    void LayOut();
};

} // namespace kav
