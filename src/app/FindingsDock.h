#pragma once
// The findings panel: every finding of the document in the order of its items, narrowed to a
// kind and a severity; choosing one (click, Enter) makes its item the current row. It only
// lists and wires: the findings come from the table's checks, the row change from the
// window's own go-to-row path.

#include "document/TextChecks.h"

#include <QDockWidget>

#include <functional>
#include <string>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace kav {

class TTableFindings;

class TFindingsDock : public QDockWidget {
public:
    // Findings gives the table's findings (null when there is no table); Caption the
    // item's number and name as a row shows them; GoToRow makes a row current.
    TFindingsDock(QWidget* Parent, std::function<TTableFindings*()> Findings,
                  std::function<QString(int Row)> Caption, std::function<void(int Row)> GoToRow);

    // The findings changed: the list follows when it is shown (and when it is next shown).
    void FindingsChanged();
    QComboBox* KindBox() const { return FKind; }
    QComboBox* SeverityBox() const { return FSeverity; }
    QTreeWidget* List() const { return FList; }

protected:
    void showEvent(QShowEvent* Event) override;

private:
    void Fill();
    void Pick(QTreeWidgetItem* Item);

    std::function<TTableFindings*()> FFindings;
    std::function<QString(int)> FCaption;
    std::function<void(int)> FGoToRow;
    QComboBox* FKind = nullptr;
    QComboBox* FSeverity = nullptr;
    QTreeWidget* FList = nullptr;
    bool FStale = true;
};

} // namespace kav
