#include "searchui/EnterKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kav {

TEnterKeyFilter::TEnterKeyFilter(THandler Handler, QObject* Parent)
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
        // The first delivery goes to the widget with the focus; later ones, to its parents,
        // carry the same key and get the same answer.
        QWidget* Target = qobject_cast<QWidget*>(Watched);
        if ((Key == Qt::Key_Return || Key == Qt::Key_Enter) && Target && FHandler &&
            FHandler(13, Target))
            return true;
    }
    return QObject::eventFilter(Watched, Event);
}

} // namespace kav
