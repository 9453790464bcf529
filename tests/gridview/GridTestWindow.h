#pragma once
// A window holding a styled grid and a second control to take the focus away, shown and active
// so that keys, clicks and focus behave as on a desktop.

#include "gridview/StyledStringGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <string>

namespace kav::test {

struct TGridWindow {
    QWidget Window;
    TStyledStringGrid* Grid;
    QLineEdit* Other;
    QStringList Messages;

    explicit TGridWindow(int Cols = 4, int Rows = 4) {
        auto* Layout = new QVBoxLayout(&Window);
        Layout->setContentsMargins(0, 0, 0, 0);
        Layout->setSpacing(0);
        Grid = new TStyledStringGrid(&Window);
        Other = new QLineEdit(&Window);
        Layout->addWidget(Grid);
        Layout->addWidget(Other);
        Grid->ShowMessage = [this](const QString& Text) { Messages << Text; };
        Grid->Model().SetColCount(Cols);
        Grid->Model().SetRowCount(Rows);
        Grid->SetDefaultColWidth(60);
        Grid->SetDefaultRowHeight(20);
        Window.resize(400, 300);
    }

    bool Show() {
        Window.show();
        Window.activateWindow();
        if (!QTest::qWaitForWindowActive(&Window)) {
            return false;
        }
        Grid->setFocus();
        // The grid, or the editor it hands the keys to.
        return Grid->hasFocus() || Grid->isAncestorOf(QApplication::focusWidget());
    }

    static QWidget* Focused() { return QApplication::focusWidget(); }

    void Key(Qt::Key K, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QTest::keyClick(Focused(), K, Mods);
    }
    // Any characters, also those outside Latin-1.
    void Type(const QString& Text) {
        for (QChar C : Text) {
            QTest::sendKeyEvent(QTest::Click, Focused(), Qt::Key_unknown, QString(C),
                                Qt::NoModifier);
        }
    }
    QPoint CellCenter(int Col, int Row) const { return Grid->CellRect(Col, Row).center(); }
    void Click(int Col, int Row) {
        QTest::mouseClick(Grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(Col, Row));
    }
    QString Text(int Col, int Row) const { return QString::fromUtf8(Grid->Cells(Col, Row)); }
};

} // namespace kav::test
