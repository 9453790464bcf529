#include "gridview/ShowHintRegistry.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

#include <utility>
#include <vector>

namespace kav {

namespace {

struct TEntry {
    const void* Owner;
    TShowHintHandler Handler;
};

std::vector<TEntry>& Handlers() {
    static std::vector<TEntry> List;
    return List;
}

QWidget* ControlOf(QWidget* Widget) {
    auto* Area = qobject_cast<QAbstractScrollArea*>(Widget->parentWidget());
    return Area && Area->viewport() == Widget ? Area : Widget;
}

// Turns the application's tooltip requests into show-hint events.
class THintFilter : public QObject {
public:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() != QEvent::ToolTip || !Watched->isWidgetType()) {
            return false;
        }
        auto* Widget = static_cast<QWidget*>(Watched);
        auto* Help = static_cast<QHelpEvent*>(Event);
        QWidget* Control = ControlOf(Widget);
        const QPoint DefaultPos = Help->globalPos() + QPoint(0, 16);
        THintInfo Info{Control, Help->pos(), DefaultPos, QRect()};
        const QString Own = Control->toolTip();
        QString Text = Own;
        bool CanShow = true;
        DispatchShowHint(Text, CanShow, Info);
        // Untouched hints keep Qt's own handling (item views and tab bars have per-item tips).
        if (CanShow && Text == Own && Info.HintPos == DefaultPos && Info.CursorRect.isNull()) {
            return false;
        }
        if (CanShow && !Text.isEmpty()) {
            QToolTip::showText(Info.HintPos, Text, Widget, Info.CursorRect);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
};

THintFilter*& Filter() {
    static THintFilter* Instance = nullptr;
    return Instance;
}

void WatchApplication(bool On) {
    if (On && !Filter() && qApp) {
        Filter() = new THintFilter;
        qApp->installEventFilter(Filter());
    } else if (!On && Filter()) {
        if (qApp) {
            qApp->removeEventFilter(Filter());
        }
        delete Filter();
        Filter() = nullptr;
    }
}

} // namespace

void AddShowHintHandler(const void* Owner, TShowHintHandler Handler) {
    Handlers().push_back({Owner, std::move(Handler)});
    WatchApplication(true);
}

void RemoveShowHintHandler(const void* Owner) {
    auto& List = Handlers();
    for (auto I = List.size(); I-- > 0;) {
        if (List[I].Owner == Owner) {
            List.erase(List.begin() + static_cast<std::ptrdiff_t>(I));
        }
    }
    if (List.empty()) {
        WatchApplication(false);
    }
}

int ShowHintHandlerCount() {
    return static_cast<int>(Handlers().size());
}

void DispatchShowHint(QString& HintStr, bool& CanShow, THintInfo& Info) {
    // A copy: a handler may register or remove handlers while it runs.
    const std::vector<TEntry> List = Handlers();
    for (auto I = List.size(); I-- > 0;) {
        List[I].Handler(HintStr, CanShow, Info);
    }
}

} // namespace kav
