#include "app/ScaleForm.h"

#include <QScreen>
#include <QWidget>

namespace kav {

void ScaleForm(QWidget& Form) {
    QScreen* Screen = Form.screen();
    if (!Screen)
        return;
    const int Dpi = qRound(Screen->logicalDotsPerInchY());
    if (Dpi == 96)
        return;
    // The window keeps its designed look: sizes and child fonts scale with the resolution.
    Form.resize(Form.width() * Dpi / 96, Form.height() * Dpi / 96);
    const auto Children = Form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (auto It = Children.rbegin(); It != Children.rend(); ++It) {
        QFont Font = (*It)->font();
        if (Font.pixelSize() > 0)
            Font.setPixelSize(Font.pixelSize() * Dpi / 96);
        (*It)->setFont(Font);
    }
}

} // namespace kav
