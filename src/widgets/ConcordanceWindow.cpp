#include "widgets/ConcordanceWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kav {

TConcordanceWindow::TConcordanceWindow(QWidget* Parent) : QDialog(Parent) {
    setObjectName("ConcordanceWindow");
    setWindowTitle("Concordance");
    auto* Layout = new QVBoxLayout(this);
    auto* Label = new QLabel("&Word or phrase (in the English or the translations):", this);
    Phrase = new QLineEdit(this);
    Phrase->setObjectName("ConcordancePhrase");
    Label->setBuddy(Phrase);
    List = new QTreeWidget(this);
    List->setObjectName("ConcordanceList");
    List->setHeaderLabels({"Item or file", "English", "Translation"});
    List->setRootIsDecorated(false);
    List->setAlternatingRowColors(true);
    List->header()->setStretchLastSection(true);
    Summary = new QLabel(this);
    Summary->setObjectName("ConcordanceSummary");
    Layout->addWidget(Label);
    Layout->addWidget(Phrase);
    Layout->addWidget(List, 1);
    Layout->addWidget(Summary);
    resize(720, 420);
    connect(Phrase, &QLineEdit::returnPressed, this, [this] { emit SearchAsked(Phrase->text()); });
    connect(List, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* Item) {
        const int Row = Item->data(0, Qt::UserRole).toInt();
        if (Row >= 0)
            emit RowChosen(Row);
    });
}

void TConcordanceWindow::ShowLines(const std::vector<TLine>& Lines, const QString& Text) {
    List->clear();
    for (const TLine& Line : Lines) {
        auto* Item = new QTreeWidgetItem(List, {Line.Where, Line.English, Line.Translation});
        Item->setData(0, Qt::UserRole, Line.Row);
    }
    for (int Col = 0; Col < 2; ++Col)
        List->resizeColumnToContents(Col);
    if (!Lines.empty())
        List->setCurrentItem(List->topLevelItem(0));
    Summary->setText(Text);
}

} // namespace kav
