#include "app/FontsDialog.h"

#include "document/ProductDisplay.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kav {

namespace {

QString DpiNote(int Dpi) {
    QString Note = "Widths are the product's pixels at 96 dpi (100 %).";
    if (Dpi != BaseDpi)
        Note += QString::fromStdString(" They are checked at " + ProductDpiName(Dpi) +
                                       ": texts measured as the product draws them there, "
                                       "against the allowed widths scaled with it.");
    return Note;
}

} // namespace

TFontsDialog::TFontsDialog(const std::vector<TDocumentFace>& Faces, int Dpi, QWidget* Parent)
    : QDialog(Parent) {
    setObjectName("FontsDialog");
    setWindowTitle("Fonts");
    auto* Table = new QTableWidget(int(Faces.size()), 2, this);
    Table->setObjectName("FontsTable");
    Table->setHorizontalHeaderLabels({"Item font", "Measured with"});
    Table->verticalHeader()->hide();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int R = 0; R < int(Faces.size()); ++R) {
        const TDocumentFace& Face = Faces[size_t(R)];
        Table->setItem(R, 0, new QTableWidgetItem(QString::fromStdString(DocumentFaceName(Face))));
        Table->setItem(R, 1,
                       new QTableWidgetItem(QString::fromStdString(DocumentFaceSource(Face))));
    }
    Table->resizeColumnsToContents();
    Table->horizontalHeader()->setStretchLastSection(true);

    auto* Note = new QLabel(DpiNote(Dpi), this);
    Note->setObjectName("FontsDpiNote");
    Note->setWordWrap(true);
    auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(Table);
    Layout->addWidget(Note);
    Layout->addWidget(Buttons);
    resize(640, 360);
}

} // namespace kav
