#pragma once
// Help > Keyboard Shortcuts: the keys of the menus and of the table in one list.

#include <QDialog>

class QMenuBar;

namespace kav {

class TShortcutsDialog : public QDialog {
public:
    // The menu keys are read from Menus, so the list follows the menus as they are.
    TShortcutsDialog(const QMenuBar& Menus, QWidget* Parent);
};

} // namespace kav
