#pragma once
// The application's show-hint event shared by several receivers: every handler registered here
// sees each hint before it is shown, the last registered first, and may change its text, its
// position or forbid it. The registry watches the tooltip requests of the whole application
// while at least one handler is registered.

#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

class QWidget;

namespace kav {

struct THintInfo {
    // The control the mouse rests on (a scroll area rather than its viewport).
    QWidget* HintControl = nullptr;
    // The mouse position in the control's client area (the viewport of a scroll area).
    QPoint CursorPos;
    // Where the hint appears, in screen coordinates.
    QPoint HintPos;
    // The hint goes away when the mouse leaves this client rectangle (empty: never).
    QRect CursorRect;
};

using TShowHintHandler = std::function<void(QString& HintStr, bool& CanShow, THintInfo& Info)>;

// Owner identifies the handler for removal.
void AddShowHintHandler(const void* Owner, TShowHintHandler Handler);
// Removes every handler of Owner.
void RemoveShowHintHandler(const void* Owner);
int ShowHintHandlerCount();
// Runs the handlers from the last registered to the first.
void DispatchShowHint(QString& HintStr, bool& CanShow, THintInfo& Info);

} // namespace kav
