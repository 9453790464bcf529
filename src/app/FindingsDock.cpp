#include "app/FindingsDock.h"

#include "measure/TableFindings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kav {

namespace {

constexpr int RowRole = Qt::UserRole;

} // namespace

TFindingsDock::TFindingsDock(QWidget* Parent, std::function<TTableFindings*()> Findings,
                             std::function<QString(int Row)> Caption,
                             std::function<void(int Row)> GoToRow)
    : QDockWidget("Findings", Parent), FFindings(std::move(Findings)), FCaption(std::move(Caption)),
      FGoToRow(std::move(GoToRow)) {
    setObjectName("FindingsDock");
    auto* Body = new QWidget(this);
    auto* Filters = new QHBoxLayout;
    FKind = new QComboBox(Body);
    FKind->setObjectName("FindingsKindBox");
    FKind->addItem("All kinds", -1);
    for (int K = 0; K < FindingKindCount; ++K)
        FKind->addItem(KindName(static_cast<TFindingKind>(K)), K);
    FSeverity = new QComboBox(Body);
    FSeverity->setObjectName("FindingsSeverityBox");
    FSeverity->addItem("All severities", -1);
    for (const TSeverity S : {TSeverity::Error, TSeverity::Warning, TSeverity::Info})
        FSeverity->addItem(SeverityName(S), static_cast<int>(S));
    auto* KindLabel = new QLabel("&Kind:", Body);
    KindLabel->setBuddy(FKind);
    auto* SeverityLabel = new QLabel("&Severity:", Body);
    SeverityLabel->setBuddy(FSeverity);
    Filters->addWidget(KindLabel);
    Filters->addWidget(FKind);
    Filters->addWidget(SeverityLabel);
    Filters->addWidget(FSeverity);
    Filters->addStretch();
    FList = new QTreeWidget(Body);
    FList->setObjectName("FindingsList");
    FList->setRootIsDecorated(false);
    FList->setUniformRowHeights(true);
    FList->setHeaderLabels({"Item", "Severity", "Kind", "Message"});
    FList->header()->setStretchLastSection(true);
    auto* Layout = new QVBoxLayout(Body);
    Layout->setContentsMargins(2, 2, 2, 2);
    Layout->addLayout(Filters);
    Layout->addWidget(FList);
    setWidget(Body);
    const auto Refill = [this] {
        FStale = true;
        Fill();
    };
    connect(FKind, &QComboBox::currentIndexChanged, this, Refill);
    connect(FSeverity, &QComboBox::currentIndexChanged, this, Refill);
    connect(FList, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* Item) { Pick(Item); });
    connect(FList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* Item) { Pick(Item); });
}

void TFindingsDock::FindingsChanged() {
    FStale = true;
    if (isVisible())
        Fill();
}

void TFindingsDock::showEvent(QShowEvent* Event) {
    QDockWidget::showEvent(Event);
    if (FStale)
        Fill();
}

void TFindingsDock::Fill() {
    FList->clear();
    TTableFindings* Findings = FFindings ? FFindings() : nullptr;
    FStale = false;
    if (!Findings)
        return;
    const int Kind = FKind->currentData().toInt();
    const int Severity = FSeverity->currentData().toInt();
    const TCheckSet Kinds = Kind < 0 ? AllChecks : CheckBit(static_cast<TFindingKind>(Kind));
    const std::optional<TSeverity> Of =
        Severity < 0 ? std::nullopt : std::optional(static_cast<TSeverity>(Severity));
    QList<QTreeWidgetItem*> Items;
    for (const TRowFinding& F : Findings->List(Kinds, Of)) {
        auto* Item = new QTreeWidgetItem(
            QStringList{FCaption(F.Row), SeverityName(F.Finding.Severity), KindName(F.Finding.Kind),
                        QString::fromStdString(F.Finding.Message)});
        Item->setData(0, RowRole, F.Row);
        Items.push_back(Item);
    }
    FList->addTopLevelItems(Items);
}

void TFindingsDock::Pick(QTreeWidgetItem* Item) {
    if (Item && FGoToRow)
        FGoToRow(Item->data(0, RowRole).toInt());
}

} // namespace kav
