#include "search/EnterKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace kav {

TEnterKeyFilter::TEnterKeyFilter(std::function<bool(int)> Handler, QObject* Parent)
    : QObject(Parent), FHandler(std::move(Handler)) {
    QCoreApplication::instance()->installEventFilter(this);
}

TEnterKeyFilter::~TEnterKeyFilter() {
    if (QCoreApplication* App = QCoreApplication::instance())
        App->removeEventFilter(this);
}

bool TEnterKeyFilter::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::KeyPress) {
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if ((Key == Qt::Key_Return || Key == Qt::Key_Enter) && FHandler && FHandler(13))
            return true;
    }
    return QObject::eventFilter(Watched, Event);
}

} // namespace kav
