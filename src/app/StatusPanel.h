#pragma once
// A panel of the status bar that never cuts its message silently: it asks for the width of its
// whole text, and when the bar cannot give it that much it ends the text with an ellipsis and
// shows the whole of it as the panel's tool tip.

#include <QLabel>

namespace kav {

class TStatusPanel : public QLabel {
    Q_OBJECT

public:
    TStatusPanel(int MinimumWidth, QWidget* Parent);
    void SetMessage(const QString& Text);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    int FMinimumWidth;
};

} // namespace kav
