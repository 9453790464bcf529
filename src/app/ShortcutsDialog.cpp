#include "app/ShortcutsDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace kav {

namespace {

using TKeyRow = std::pair<QString, QString>;

// The table's own keys, which no menu item carries.
const std::vector<TKeyRow>& TableKeys() {
    static const std::vector<TKeyRow> Keys = {
        {"Ctrl+Home, Ctrl+Up", "First translated item"},
        {"Ctrl+End, Ctrl+Down", "Last translated item"},
        {"F5 / F6 / F7 / F8", "Mark the row aqua / lime / yellow / fuchsia"},
        {"F9", "Remove the row's colour mark"},
        {"Alt+F11 / Alt+F12", "Previous / next marked row"},
        {"Ctrl+Shift+F1 ... F12", "Set or clear bookmark 1 ... 12 on the row"},
        {"Ctrl+F1 ... F12", "Go to bookmark 1 ... 12"},
        {"F2", "Edit the cell"},
    };
    return Keys;
}

void AddMenuKeys(const QMenu& Menu, const QString& Path, std::vector<TKeyRow>& Rows) {
    for (const QAction* Action : Menu.actions()) {
        const QString Name = Path + QString(Action->text()).remove('&');
        if (Action->menu())
            AddMenuKeys(*Action->menu(), Name + " > ", Rows);
        else if (!Action->shortcut().isEmpty() && Action->isVisible())
            Rows.push_back({Action->shortcut().toString(QKeySequence::NativeText), Name});
    }
}

} // namespace

TShortcutsDialog::TShortcutsDialog(const QMenuBar& Menus, QWidget* Parent) : QDialog(Parent) {
    setObjectName("ShortcutsDialog");
    setWindowTitle("Keyboard Shortcuts");
    std::vector<TKeyRow> Rows;
    for (const QAction* Top : Menus.actions())
        if (Top->menu())
            AddMenuKeys(*Top->menu(), QString(Top->text()).remove('&') + " > ", Rows);
    Rows.insert(Rows.end(), TableKeys().begin(), TableKeys().end());

    auto* Table = new QTableWidget(int(Rows.size()), 2, this);
    Table->setObjectName("ShortcutsTable");
    Table->setHorizontalHeaderLabels({"Keys", "Action"});
    Table->verticalHeader()->hide();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int R = 0; R < int(Rows.size()); ++R) {
        Table->setItem(R, 0, new QTableWidgetItem(Rows[R].first));
        Table->setItem(R, 1, new QTableWidgetItem(Rows[R].second));
    }
    Table->resizeColumnsToContents();
    Table->horizontalHeader()->setStretchLastSection(true);

    auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(Table);
    Layout->addWidget(Buttons);
    resize(560, 480);
}

} // namespace kav
