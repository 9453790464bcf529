#include "document/DocumentEdit.h"

#include "document/Document.h"

namespace kav {

namespace {

// Which parts of the state after an entry holds; the others are those of the state before.
enum TPart : std::uint8_t {
    ptName = 1,
    ptDefault = 2,
    ptTranslation = 4,
    ptColour = 8,
    ptMarks = 16
};

// Seven bits a byte, the high bit set on every byte but the last: a text's length takes one
// byte below 128.
void PutNumber(std::string& Bytes, std::uint64_t Value) {
    while (Value >= 0x80) {
        Bytes += static_cast<char>((Value & 0x7F) | 0x80);
        Value >>= 7;
    }
    Bytes += static_cast<char>(Value);
}

std::uint64_t TakeNumber(const std::string& Bytes, size_t& At) {
    std::uint64_t Value = 0;
    for (int Shift = 0;; Shift += 7) {
        const auto Byte = static_cast<std::uint8_t>(Bytes[At++]);
        Value |= static_cast<std::uint64_t>(Byte & 0x7F) << Shift;
        if (!(Byte & 0x80))
            return Value;
    }
}

void PutText(std::string& Bytes, std::string_view Text) {
    PutNumber(Bytes, Text.size());
    Bytes.append(Text);
}

std::string TakeText(const std::string& Bytes, size_t& At) {
    const size_t Size = TakeNumber(Bytes, At);
    std::string Text = Bytes.substr(At, Size);
    At += Size;
    return Text;
}

void PutMarks(std::string& Bytes, const TReplacements& Marks) {
    PutNumber(Bytes, Marks.size());
    for (const TReplacement& R : Marks) {
        PutNumber(Bytes, static_cast<std::uint64_t>(R.Position));
        for (const std::string* Text : {&R.Old, &R.New, &R.Before, &R.After})
            PutText(Bytes, *Text);
    }
}

TReplacements TakeMarks(const std::string& Bytes, size_t& At) {
    TReplacements Marks(TakeNumber(Bytes, At));
    for (TReplacement& R : Marks) {
        R.Position = static_cast<long long>(TakeNumber(Bytes, At));
        for (std::string* Text : {&R.Old, &R.New, &R.Before, &R.After})
            *Text = TakeText(Bytes, At);
    }
    return Marks;
}

// The parts of State that Mask names, in their order.
void PutParts(std::string& Bytes, const TItemRecord& State, std::uint8_t Mask) {
    Bytes += static_cast<char>(Mask);
    if (Mask & ptName)
        PutText(Bytes, State.Name);
    if (Mask & ptDefault)
        PutText(Bytes, State.Default);
    if (Mask & ptTranslation)
        PutText(Bytes, State.Translation);
    if (Mask & ptColour)
        PutNumber(Bytes, static_cast<std::uint32_t>(State.Colour));
    if (Mask & ptMarks)
        PutMarks(Bytes, State.Marks);
}

// Reads the parts PutParts wrote at At into State; At moves past them.
void TakeParts(const std::string& Bytes, size_t& At, TItemRecord& State) {
    const auto Mask = static_cast<std::uint8_t>(Bytes[At++]);
    if (Mask & ptName)
        State.Name = TakeText(Bytes, At);
    if (Mask & ptDefault)
        State.Default = TakeText(Bytes, At);
    if (Mask & ptTranslation)
        State.Translation = TakeText(Bytes, At);
    if (Mask & ptColour)
        State.Colour = static_cast<TColor>(static_cast<std::uint32_t>(TakeNumber(Bytes, At)));
    if (Mask & ptMarks)
        State.Marks = TakeMarks(Bytes, At);
}

// The parts of the item's current state that Parts names, into Into.
void CopyParts(const TItemTable& Items, TItemId Id, std::uint8_t Parts, TItemRecord& Into) {
    if (Parts & ptName)
        Into.Name = Items.Name(Id);
    if (Parts & ptDefault)
        Into.Default = Items.Default(Id);
    if (Parts & ptTranslation)
        Into.Translation = Items.Translation(Id);
    if (Parts & ptColour)
        Into.Colour = Items.Colour(Id);
    if (Parts & ptMarks)
        Into.Marks = Items.Marks(Id);
}

// The parts Parts of From, into Into.
void CopyPartsOf(const TItemRecord& From, std::uint8_t Parts, TItemRecord& Into) {
    if (Parts & ptName)
        Into.Name = From.Name;
    if (Parts & ptDefault)
        Into.Default = From.Default;
    if (Parts & ptTranslation)
        Into.Translation = From.Translation;
    if (Parts & ptColour)
        Into.Colour = From.Colour;
    if (Parts & ptMarks)
        Into.Marks = From.Marks;
}

// Whether the parts Parts of the item still are as in Before, read in place.
bool StillAs(const TItemTable& Items, TItemId Id, std::uint8_t Parts, const TItemRecord& Before) {
    return (!(Parts & ptTranslation) || Items.Translation(Id) == Before.Translation) &&
           (!(Parts & ptName) || Items.Name(Id) == Before.Name) &&
           (!(Parts & ptDefault) || Items.Default(Id) == Before.Default) &&
           (!(Parts & ptColour) || Items.Colour(Id) == Before.Colour) &&
           (!(Parts & ptMarks) || Items.Marks(Id) == Before.Marks);
}

// The parts of a text field, and a translation's marks with it: a changed translation may
// drop them.
std::uint8_t PartsOf(TItemField Field) {
    switch (Field) {
    case TItemField::Name:
        return ptName;
    case TItemField::Default:
        return ptDefault;
    case TItemField::Translation:
        break;
    }
    return ptTranslation | ptMarks;
}

std::uint8_t DifferingParts(const TItemRecord& Before, const TItemRecord& After) {
    std::uint8_t Mask = 0;
    Mask |= After.Name != Before.Name ? ptName : 0;
    Mask |= After.Default != Before.Default ? ptDefault : 0;
    Mask |= After.Translation != Before.Translation ? ptTranslation : 0;
    Mask |= After.Colour != Before.Colour ? ptColour : 0;
    Mask |= After.Marks != Before.Marks ? ptMarks : 0;
    return Mask;
}

} // namespace

std::string CountedStepName(const std::string& Name, int N) {
    return Name + " (" + std::to_string(N) + (N == 1 ? " item)" : " items)");
}

void TDocumentStep::Add(TItemId Id, const TItemRecord& Before, const TItemRecord& After) {
    FEntries.push_back({Id, static_cast<std::uint32_t>(FBytes.size())});
    // The marks are kept even when the step left them: a save drops every mark outside the
    // history, and undoing or redoing the step gives back the marks the item had then.
    const std::uint8_t Differing = DifferingParts(Before, After) | ptMarks;
    PutParts(FBytes, Before, Differing);
    PutParts(FBytes, After, Differing);
}

TItemRecord TDocumentStep::State(size_t Index, bool Undo, TItemRecord Current) const {
    size_t At = FEntries[Index].At;
    TItemRecord Other;
    TakeParts(FBytes, At, Undo ? Current : Other);
    TakeParts(FBytes, At, Undo ? Other : Current);
    return Current;
}

int TDocumentStep::TranslationsChanged() const {
    int Count = 0;
    for (const TEntry& Entry : FEntries)
        Count += (static_cast<std::uint8_t>(FBytes[Entry.At]) & ptTranslation) ? 1 : 0;
    return Count;
}

size_t TDocumentStep::Bytes() const {
    return FEntries.capacity() * sizeof(TEntry) + FBytes.capacity() + FName.capacity();
}

TDocumentEdit::TDocumentEdit(TDocument& Doc, std::string Name)
    : FDoc(Doc), FItems(Doc.FItems), FName(std::move(Name)) {}

TDocumentEdit::~TDocumentEdit() {
    if (!FDone)
        Commit();
}

const TItemTable& TDocumentEdit::Items() const {
    return FItems;
}

void TDocumentEdit::Touch(TItemId Id, std::uint8_t Parts) {
    Parts |= ptMarks; // see TDocumentStep::Add
    const auto [Entry, New] = FBefore.try_emplace(Id);
    if (New)
        FTouched.push_back(Id);
    // A part not changed by this edit yet is as it was before it.
    if (const std::uint8_t Missing = Parts & ~Entry->second.Parts; Missing != 0) {
        CopyParts(FItems, Id, Missing, Entry->second.Record);
        Entry->second.Parts |= Missing;
    }
}

void TDocumentEdit::SetField(TItemId Id, TItemField Field, std::string_view Bytes) {
    if (!FItems.Contains(Id) || FItems.Field(Id, Field) == Bytes)
        return;
    Touch(Id, PartsOf(Field));
    FItems.SetField(Id, Field, Bytes);
    if (Field == TItemField::Translation) {
        const TReplacements& Marks = FItems.Marks(Id);
        if (!Marks.empty() && Marks.back().After != Bytes)
            FItems.SetMarks(Id, {});
    }
}

void TDocumentEdit::SetColour(TItemId Id, TColor Colour) {
    if (!FItems.Contains(Id) || FItems.Colour(Id) == Colour)
        return;
    Touch(Id, ptColour);
    FItems.SetColour(Id, Colour);
}

void TDocumentEdit::Replace(TItemId Id, TReplacement Replacement) {
    if (!FItems.Contains(Id))
        return;
    Touch(Id, ptTranslation | ptMarks);
    TReplacements Marks = FItems.Marks(Id);
    if (!Marks.empty() && Marks.back().After != FItems.Translation(Id))
        Marks.clear();
    Replacement.Before = std::string(FItems.Translation(Id));
    FItems.SetTranslation(Id, Replacement.After);
    Marks.push_back(std::move(Replacement));
    FItems.SetMarks(Id, std::move(Marks));
}

bool TDocumentEdit::UndoReplacement(TItemId Id) {
    if (!FItems.Contains(Id) || !FItems.Marked(Id))
        return false;
    Touch(Id, ptTranslation | ptMarks);
    TReplacements Marks = FItems.Marks(Id);
    FItems.SetTranslation(Id, Marks.back().Before);
    Marks.pop_back();
    FItems.SetMarks(Id, std::move(Marks));
    return true;
}

bool TDocumentEdit::AcceptReplacements(TItemId Id) {
    if (!FItems.Contains(Id) || !FItems.Marked(Id))
        return false;
    Touch(Id, ptMarks);
    FItems.SetMarks(Id, {});
    return true;
}

int TDocumentEdit::Commit() {
    FDone = true;
    // Without a history (kavtool) nothing is recorded: only what changed is told.
    const bool Recorded = FDoc.FHistory != nullptr;
    TDocumentStep Step(FName);
    std::vector<TItemId> Changed;
    for (const TItemId Id : FTouched) {
        const TBefore& Before = FBefore[Id];
        if (StillAs(FItems, Id, Before.Parts, Before.Record))
            continue;
        if (Recorded) {
            TItemRecord After;
            CopyParts(FItems, Id, Before.Parts, After);
            Step.Add(Id, Before.Record, After);
        }
        Changed.push_back(Id);
    }
    FBefore.clear();
    FTouched.clear();
    if (Changed.empty())
        return 0;
    if (FNamer)
        Step.SetName(FNamer(Step));
    Step.Compact();
    FDoc.StepMade(std::move(Step), Changed);
    return static_cast<int>(Changed.size());
}

void TDocumentEdit::Revert() {
    FDone = true;
    std::vector<TItemId> Changed;
    for (const TItemId Id : FTouched) {
        const TBefore& Before = FBefore[Id];
        TItemRecord Restored = FItems.Record(Id);
        CopyPartsOf(Before.Record, Before.Parts, Restored);
        FItems.SetRecord(Id, Restored);
        Changed.push_back(Id);
    }
    FBefore.clear();
    FTouched.clear();
    if (!Changed.empty())
        FDoc.S.Observer().ItemsChanged(Changed);
}

} // namespace kav
