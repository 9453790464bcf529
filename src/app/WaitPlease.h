#pragma once
// The please-wait window shown while a load, New or save blocks the event loop.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
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
    // The determinate bar under the animation, and Cancel when the work can stop cleanly.
    void SetProgress(size_t Done, size_t Total, bool Cancellable);
    bool Cancelled() const { return FCancelled; }

    QWidget* pnlAvi;
    QLabel* Label1;
    QWidget* aniWaitPlease;

protected:
    void closeEvent(QCloseEvent* Event) override;
    // Escape stops cancellable work; the window itself closes only when the work is over.
    void reject() override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void PaintNow();

    QTimer* FTimer;
    QWidget* FProgressRow;
    QProgressBar* FBar;
    QPushButton* FCancel;
    int FBaseHeight;
    bool FCancelled = false;
};

} // namespace kav
