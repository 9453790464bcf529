#include "app/WaitPlease.h"

#include "app/ScaleForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace kav {

namespace {

// Pages flying from one folder to the other: our stand-in for the system's file-copy
// animation. It advances on a timer while the event loop runs and shows its current frame
// whenever the window is painted.
class TCopyAnimation : public QWidget {
public:
    explicit TCopyAnimation(QWidget* Parent) : QWidget(Parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void Advance() {
        FFrame = (FFrame + 1) % 26;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter P(this);
        P.setRenderHint(QPainter::Antialiasing);
        const int Y = height() / 2;
        const QRect Left(20, Y - 18, 44, 32), Right(width() - 64, Y - 18, 44, 32);
        P.setBrush(QColor(230, 190, 80));
        P.setPen(QColor(140, 100, 20));
        P.drawRect(Left);
        P.drawRect(Right);
        const int X = Left.right() + (Right.left() - Left.right() - 20) * FFrame / 25;
        const int Lift = static_cast<int>(18.0 * std::sin(3.14159 * FFrame / 25.0));
        P.setBrush(Qt::white);
        P.setPen(Qt::darkGray);
        P.drawRect(X, Y - 14 - Lift, 20, 24);
    }

private:
    int FFrame = 0;
};

} // namespace

TfrmPleaseWait::TfrmPleaseWait(QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("frmPleaseWait");
    setAttribute(Qt::WA_DeleteOnClose);
    QFont WindowFont("Arial");
    WindowFont.setBold(true);
    setFont(WindowFont);
    setFixedSize(337, 91);
    pnlAvi = new QWidget(this);
    pnlAvi->setObjectName("pnlAvi");
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(pnlAvi);
    Label1 = new QLabel("Exiting", pnlAvi);
    Label1->setObjectName("Label1");
    QFont LabelFont("Arial");
    LabelFont.setPixelSize(16);
    LabelFont.setBold(true);
    Label1->setFont(LabelFont);
    Label1->setAlignment(Qt::AlignCenter);
    auto* Animation = new TCopyAnimation(pnlAvi);
    aniWaitPlease = Animation;
    aniWaitPlease->setObjectName("aniWaitPlease");
    auto* Stack = new QGridLayout(pnlAvi);
    Stack->setContentsMargins(0, 0, 0, 0);
    Stack->addWidget(Label1, 0, 0);
    Stack->addWidget(aniWaitPlease, 0, 0);
    FTimer = new QTimer(this);
    FTimer->setInterval(60);
    connect(FTimer, &QTimer::timeout, this, [Animation] { Animation->Advance(); });
    ScaleForm(*this);
}

void TfrmPleaseWait::Start(const QString& Msg, bool Animate) {
    pnlAvi->setVisible(Animate);
    setWindowTitle(Msg);
    FTimer->start();
    if (parentWidget()) {
        QRect Owner = parentWidget()->frameGeometry();
        move(Owner.center() - rect().center());
    }
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmPleaseWait::Stop() {
    FTimer->stop();
}

void TfrmPleaseWait::closeEvent(QCloseEvent* Event) {
    Stop();
    QDialog::closeEvent(Event);
}

} // namespace kav
