#include "undo/DocumentHistory.h"

#include <QUndoCommand>

namespace kav {

namespace {

// A step whose changes are already in the items when it is pushed: the stack's first redo
// finds nothing to do.
class TItemsStep : public QUndoCommand {
public:
    TItemsStep(TDocument& Doc, TDocumentStep Step) : FDoc(Doc), FStep(std::move(Step)) {
        setText(QString::fromStdString(FStep.Name()));
    }
    void undo() override { FDoc.ApplyStep(FStep, true); }
    void redo() override {
        if (FApplied)
            FDoc.ApplyStep(FStep, false);
        FApplied = true;
    }
    size_t Bytes() const { return FStep.Bytes(); }

private:
    TDocument& FDoc;
    TDocumentStep FStep;
    bool FApplied = false;
};

} // namespace

TDocumentHistory::TDocumentHistory(TDocument& Doc) : FDoc(Doc) {
    FStack.setUndoLimit(StepLimit);
    QObject::connect(&FStack, &QUndoStack::cleanChanged, &FStack,
                     [this](bool Clean) { FDoc.SetModified(!Clean); });
    FDoc.SetHistory(this);
}

TDocumentHistory::~TDocumentHistory() {
    if (FDoc.History() == this)
        FDoc.SetHistory(nullptr);
}

void TDocumentHistory::Record(TDocumentStep Step) {
    FStack.push(new TItemsStep(FDoc, std::move(Step)));
}

void TDocumentHistory::Clear(bool AtSavedState) {
    FStack.clear();
    if (!AtSavedState)
        FStack.resetClean();
}

size_t TDocumentHistory::StoredBytes() const {
    size_t Sum = 0;
    for (int I = 0; I < FStack.count(); ++I)
        if (const auto* Step = dynamic_cast<const TItemsStep*>(FStack.command(I)))
            Sum += Step->Bytes();
    return Sum;
}

} // namespace kav
