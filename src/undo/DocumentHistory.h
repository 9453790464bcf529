#pragma once
// The undo history of one document: the steps its commands record, undone and redone through
// the document, which gives the items their recorded states back. The document is modified
// exactly when the history is not where the document was last saved or loaded. Widget-free
// (QUndoStack is part of Qt Gui).

#include "document/Document.h"

#include <QUndoStack>

#include <cstddef>

namespace kav {

class TDocumentHistory : public IDocumentHistory {
public:
    static constexpr int StepLimit = 200;

    // Becomes Doc's history for as long as it lives.
    explicit TDocumentHistory(TDocument& Doc);
    ~TDocumentHistory() override;
    TDocumentHistory(const TDocumentHistory&) = delete;
    TDocumentHistory& operator=(const TDocumentHistory&) = delete;

    QUndoStack& Stack() { return FStack; }
    void Undo() { FStack.undo(); }
    void Redo() { FStack.redo(); }

    void Record(TDocumentStep Step) override;
    bool HasSteps() const override { return FStack.canUndo() || FStack.canRedo(); }
    void Clear(bool AtSavedState) override;
    void MarkSaved() override { FStack.setClean(); }

    // The bytes the kept steps hold.
    size_t StoredBytes() const;

private:
    TDocument& FDoc;
    QUndoStack FStack;
};

} // namespace kav
