#pragma once
// The application-wide short-cut hook of the main window for the Enter key: every Enter
// pressed in any window of the application reaches the handler first, with the widget it was
// pressed in, and a key the handler takes goes no further (the grid's editor does not move, a
// field does not see it). The handler decides by that widget, so that message boxes and other
// dialogs keep their own Enter.

#include <QObject>

class QWidget;

#include <functional>

namespace kav {

class TEnterKeyFilter : public QObject {
    Q_OBJECT
public:
    // Handler gets the key's character code (13) and the widget that has the key, and says
    // whether it handled the key.
    using THandler = std::function<bool(int CharCode, QWidget* Target)>;
    explicit TEnterKeyFilter(THandler Handler, QObject* Parent = nullptr);
    ~TEnterKeyFilter() override;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    THandler FHandler;
};

} // namespace kav
