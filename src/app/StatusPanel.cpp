#include "app/StatusPanel.h"

#include <QPainter>
#include <QStyle>

namespace kav {

TStatusPanel::TStatusPanel(int MinimumWidth, QWidget* Parent)
    : QLabel(Parent), FMinimumWidth(MinimumWidth) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

void TStatusPanel::SetMessage(const QString& Text) {
    setText(Text);
    setToolTip(Text);
    updateGeometry();
}

QSize TStatusPanel::sizeHint() const {
    const QSize Full = QLabel::sizeHint();
    return QSize(std::max(FMinimumWidth, Full.width()), Full.height());
}

QSize TStatusPanel::minimumSizeHint() const {
    return QSize(FMinimumWidth, QLabel::minimumSizeHint().height());
}

void TStatusPanel::paintEvent(QPaintEvent* Event) {
    QFrame::paintEvent(Event);
    QPainter Painter(this);
    const QRect Area = contentsRect().adjusted(margin() + 2, 0, -margin() - 2, 0);
    const QString Shown = fontMetrics().elidedText(text(), Qt::ElideRight, Area.width());
    Painter.setPen(palette().color(foregroundRole()));
    Painter.drawText(Area, static_cast<int>(alignment()), Shown);
}

} // namespace kav
