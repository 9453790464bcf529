#pragma once
// The one way the document's items change: a command opens an edit, makes its changes through
// it and closes it, which records one undo step holding the whole state before and after of
// every item it touched, marks included, by the items' identities. The editor, kavtool and the
// tests all change items this way; undo and redo give the recorded states back.

#include "document/Items.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kav {

class TDocument;

// One undo step: its name and, for each item it changed, the item's state before and after.
// The steps of a history follow one another, so what a step left unchanged in an item is, when
// the step is undone or redone, what the item holds: a step keeps the parts of each state that
// differ, and the marks, which a save drops outside the history, in one buffer, and a Fill of every
// item costs little more than the texts it replaced.
class TDocumentStep {
public:
    explicit TDocumentStep(std::string Name = {}) : FName(std::move(Name)) {}

    const std::string& Name() const { return FName; }
    void SetName(std::string Name) { FName = std::move(Name); }

    void Add(TItemId Id, const TItemRecord& Before, const TItemRecord& After);
    size_t Count() const { return FEntries.size(); }
    bool Empty() const { return FEntries.empty(); }
    TItemId Id(size_t Index) const { return FEntries[Index].Id; }
    // The whole state before (Undo) or after the step of the item at Index, from Current, the
    // state it has when the step is undone (its state after) or redone (its state before).
    TItemRecord State(size_t Index, bool Undo, TItemRecord Current) const;
    // Items whose translation the step changed.
    int TranslationsChanged() const;
    size_t Bytes() const;
    // Gives back the room the step grew into: a step is kept long after it is made.
    void Compact() {
        FEntries.shrink_to_fit();
        FBytes.shrink_to_fit();
    }

private:
    struct TEntry {
        TItemId Id;
        std::uint32_t At; // the parts before, then the parts after, in FBytes
    };
    std::string FName;
    std::vector<TEntry> FEntries;
    std::string FBytes;
};

// Where the document's steps go: the editor's undo history. kavtool keeps none.
class IDocumentHistory {
public:
    virtual ~IDocumentHistory() = default;
    virtual void Record(TDocumentStep Step) = 0;
    // Steps to undo or to redo.
    virtual bool HasSteps() const = 0;
    // The items were read anew from files: the steps made on the earlier ones no longer apply.
    // AtSavedState: the items are as in their file (false for a restored version, which no
    // undo leads back to).
    virtual void Clear(bool AtSavedState) = 0;
    // The document is as it was last saved or loaded here: undoing past this point changes it
    // again.
    virtual void MarkSaved() = 0;
};

// "Name (N items)": the name of a step that changed N items.
std::string CountedStepName(const std::string& Name, int N);

class TDocumentEdit {
public:
    TDocumentEdit(TDocument& Doc, std::string Name);
    // Commits: what was changed before an error stopped the command can still be undone.
    ~TDocumentEdit();
    TDocumentEdit(const TDocumentEdit&) = delete;
    TDocumentEdit& operator=(const TDocumentEdit&) = delete;

    const TItemTable& Items() const;

    // A text typed or put into an item. A translation that no longer is the text its newest
    // replacement left drops the item's marks, as an edit of a replaced text always has.
    void SetField(TItemId Id, TItemField Field, std::string_view Bytes);
    void SetTranslation(TItemId Id, std::string_view Bytes) {
        SetField(Id, TItemField::Translation, Bytes);
    }
    void SetColour(TItemId Id, TColor Colour);
    // Puts Replacement.After into the translation and its mark on top of the item's marks
    // (a translation that is no longer the newest mark's text starts them anew).
    void Replace(TItemId Id, TReplacement Replacement);
    // The translation before the newest replacement, and the mark of the one before it if
    // any; false for an item without a mark.
    bool UndoReplacement(TItemId Id);
    // Drops the marks and keeps the text; false for an item without a mark.
    bool AcceptReplacements(TItemId Id);
    // Names the step once the changes are known (a count in its name, say).
    void NameBy(std::function<std::string(const TDocumentStep&)> Namer) {
        FNamer = std::move(Namer);
    }
    // Records the step (when anything changed) and tells the observer; later changes are not
    // possible. Returns the items changed.
    int Commit();
    // Puts every item touched back as it was and records nothing: a command stopped by the
    // user leaves nothing half done.
    void Revert();

private:
    // Keeps the state before this edit of the parts of the item (a TPart mask) about to change.
    void Touch(TItemId Id, std::uint8_t Parts);

    TDocument& FDoc;
    TItemTable& FItems;
    std::string FName;
    std::function<std::string(const TDocumentStep&)> FNamer;
    std::vector<TItemId> FTouched;
    // Only the parts an edit changes are copied: a Replace All keeps no copies of names and
    // default texts.
    struct TBefore {
        TItemRecord Record;
        std::uint8_t Parts = 0;
    };
    std::unordered_map<TItemId, TBefore> FBefore;
    bool FDone = false;
};

} // namespace kav
