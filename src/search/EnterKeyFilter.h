#pragma once
// The application-wide short-cut hook of the main window for the Enter key: every Enter
// pressed in any window of the application reaches the handler first, and a key the handler
// takes goes no further (the grid's editor does not move, a field does not see it).

#include <QObject>

#include <functional>

namespace kav {

class TEnterKeyFilter : public QObject {
    Q_OBJECT
public:
    // Handler gets the key's character code (13) and says whether it handled the key.
    explicit TEnterKeyFilter(std::function<bool(int CharCode)> Handler, QObject* Parent = nullptr);
    ~TEnterKeyFilter() override;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    std::function<bool(int)> FHandler;
};

} // namespace kav
