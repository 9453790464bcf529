#pragma once
// The please-wait window shown while a load, New or save blocks the event loop.

#include <QDialog>

class QLabel;
class QTimer;
class QWidget;

namespace kav {

class TfrmPleaseWait : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPleaseWait(QWidget* Owner);
    // Starts the animation, shows the window and paints it at once, so that it is visible while
    // the following work blocks the event loop.
    void Start(const QString& Msg, bool Animate);
    void Stop();

    QWidget* pnlAvi;
    QLabel* Label1;
    QWidget* aniWaitPlease;

protected:
    void closeEvent(QCloseEvent* Event) override;

private:
    QTimer* FTimer;
};

} // namespace kav
