#pragma once
// The concordance window: a word or phrase, and every item and memory pair whose English or
// translation holds it, with where it is. Enter in the phrase searches; Enter or a double
// click on an item's line goes to the item. It only shows; the main window searches.

#include <QDialog>
#include <QString>

#include <vector>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace kav {

class TConcordanceWindow : public QDialog {
    Q_OBJECT
public:
    explicit TConcordanceWindow(QWidget* Parent = nullptr);

    struct TLine {
        QString Where;
        QString English;
        QString Translation;
        int Row = -1; // the item's row in the grid, -1 for a memory pair
    };
    void ShowLines(const std::vector<TLine>& Lines, const QString& Summary);

    QLineEdit* Phrase = nullptr;
    QTreeWidget* List = nullptr;
    QLabel* Summary = nullptr;

signals:
    void SearchAsked(const QString& Phrase);
    void RowChosen(int Row);
};

} // namespace kav
