#include "app/WaitPlease.h"

#include "app/ScaleForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

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
    : QDialog(Owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setObjectName("frmPleaseWait");
    setAttribute(Qt::WA_DeleteOnClose);
    // The keyboard stays with the window the translator works in: the work is over before a
    // key could matter, and Cancel takes a click.
    setAttribute(Qt::WA_ShowWithoutActivating);
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
    LabelFont.setPixelSize(13);
    LabelFont.setBold(true);
    Label1->setFont(LabelFont);
    // Under the flying page, not behind it.
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    Label1->setContentsMargins(0, 0, 0, 6);
    auto* Animation = new TCopyAnimation(pnlAvi);
    aniWaitPlease = Animation;
    aniWaitPlease->setObjectName("aniWaitPlease");
    auto* Stack = new QGridLayout(pnlAvi);
    Stack->setContentsMargins(0, 0, 0, 0);
    Stack->addWidget(Label1, 0, 0);
    Stack->addWidget(aniWaitPlease, 0, 0);
    FProgressRow = new QWidget(this);
    auto* Row = new QHBoxLayout(FProgressRow);
    Row->setContentsMargins(8, 0, 8, 8);
    FBar = new QProgressBar(FProgressRow);
    FBar->setObjectName("barProgress");
    FCancel = new QPushButton("Cancel", FProgressRow);
    FCancel->setObjectName("btnCancel");
    FCancel->setFont(QFont("Arial"));
    FCancel->hide();
    connect(FCancel, &QPushButton::clicked, this, [this] { FCancelled = true; });
    Row->addWidget(FBar, 1);
    Row->addWidget(FCancel);
    Layout->addWidget(FProgressRow);
    FProgressRow->hide();
    // Only this window takes input while the work runs: a click into the grid must wait.
    FTimer = new QTimer(this);
    FTimer->setInterval(60);
    connect(FTimer, &QTimer::timeout, this, [Animation] { Animation->Advance(); });
    ScaleForm(*this);
    FBaseHeight = height();
}

void TfrmPleaseWait::Start(const QString& Msg, bool Animate) {
    pnlAvi->setVisible(Animate);
    setWindowTitle(Msg);
    // Between the two folders the label says what is being done (not "Exiting" while a file
    // opens); a long file name is cut in the middle.
    const int Room = width() - 16;
    Label1->setText(Label1->fontMetrics().elidedText(Msg, Qt::ElideMiddle, Room));
    Label1->setToolTip(Msg);
    FTimer->start();
    if (parentWidget()) {
        QRect Owner = parentWidget()->frameGeometry();
        move(Owner.center() - rect().center());
    }
    show();
    raise();
    PaintNow();
}

void TfrmPleaseWait::PaintNow() {
    // A window manager maps the window a little later: painted before that, it would stay
    // black or see-through while the work blocks the event loop.
    QElapsedTimer Waited;
    Waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && Waited.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmPleaseWait::SetProgress(size_t Done, size_t Total, bool Cancellable) {
    if (FProgressRow->isHidden() || FCancel->isHidden() == Cancellable) {
        FCancel->setVisible(Cancellable);
        if (Cancellable)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
        FProgressRow->show();
        setFixedSize(width(), FBaseHeight + FProgressRow->sizeHint().height());
    }
    // The bar counts in thousandths: an int range holds any number of items.
    FBar->setRange(0, 1000);
    FBar->setValue(Total == 0 ? 1000 : static_cast<int>(std::min(Done, Total) * 1000 / Total));
    repaint();
}

bool TfrmPleaseWait::eventFilter(QObject* Watched, QEvent* Event) {
    // While Cancel can be pressed the events run; input meant for any other window waits, as
    // it does while the work cannot be stopped.
    switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Close: {
        auto* Widget = qobject_cast<QWidget*>(Watched);
        return Widget && Widget->window() != this;
    }
    default:
        return false;
    }
}

void TfrmPleaseWait::reject() {
    if (FCancel->isVisible())
        FCancelled = true;
}

void TfrmPleaseWait::Stop() {
    FTimer->stop();
}

void TfrmPleaseWait::closeEvent(QCloseEvent* Event) {
    // The window goes when the work is over; closed by the user meanwhile, it stands for Cancel.
    if (Event->spontaneous()) {
        reject();
        Event->ignore();
        return;
    }
    Stop();
    Event->accept();
}

} // namespace kav
