#include "document/Document.h"

#include "document/BackupHistory.h"
#include "document/FileCopy.h"
#include "document/IoStatus.h"
#include "document/Languages.h"
#include "document/ProductDisplay.h"
#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "platform/FileSystem.h"
#include "text/Fingerprint.h"
#include "text/IntConv.h"
#include "text/StringUtils.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace kav {

namespace {

constexpr const char* StrFilter = "Language Resource Files (*.STR)|*.STR|All Files(*.*)|*.*";
constexpr const char* SaveFilter = "Language Resource Files (*.STR)|*.STR";
// A translated file may hold its four header lines beyond the default file's items.
constexpr int HeaderLineCount = 4;

// Notes item lines that the one-item-per-line rule leaves out of Line.
void NoteJoinedItems(std::string_view Line, long long Number, int CodePage,
                     std::vector<std::string>& Findings) {
    const int Joined = ItemsJoinedToLine(Line, CodePage);
    if (Joined == 0)
        return;
    const bool LoneCr = Line.find('\r') != std::string_view::npos;
    Findings.push_back(
        "line " + std::to_string(Number) + ": " + std::to_string(Joined) + " more item(s) " +
        (LoneCr ? "joined to it by a lone CR (a CR without LF)" : "on the same line") +
        " are not read");
}

// Notes what follows an end-of-file character (Ctrl+Z) that ended the reading.
void NoteEndMark(const StrLineReader& Reader, std::vector<std::string>& Findings) {
    if (Reader.EndMarkLine() == 0 || Reader.LinesAfterEndMark() == 0)
        return;
    Findings.push_back("line " + std::to_string(Reader.EndMarkLine()) +
                       ": the end-of-file character (Ctrl+Z) ends the file; " +
                       std::to_string(Reader.LinesAfterEndMark()) + " line(s) after it (" +
                       std::to_string(Reader.ItemsAfterEndMark()) + " item(s)) are not read");
}

// The next item line of Reader's file; nullopt at its end. Throws ToolError naming Path and the
// line when the reading stopped early, or when a line holds a NUL byte (binary data or UTF-16:
// taken as a language file it would load without items, and a Save would write that over it).
// Content that the format's rules leave out is noted in Findings.
// The item's fields are views into the reader's buffer, valid until its next line.
std::optional<StrItemView> NextItem(StrLineReader& Reader, const std::string& Path,
                                    int AttributeCount, std::vector<std::string>& Findings) {
    std::string_view Line;
    while (Reader.NextLine(Line)) {
        if (HoldsNulByte(Line))
            throw ToolError(LocatedMessage("The file holds a NUL byte: it is not a text file in "
                                           "the ANSI code page (binary data, or UTF-16)",
                                           Path, Reader.LineNumber()));
        if (!IsItemLine(Line, Reader.CodePage()))
            continue;
        NoteJoinedItems(Line, Reader.LineNumber(), Reader.CodePage(), Findings);
        return ParseItemView(Line, AttributeCount, Reader.CodePage());
    }
    if (Reader.Problem() != StrReadProblem::None)
        throw ToolError(Reader.FailureMessage(Path));
    NoteEndMark(Reader, Findings);
    return std::nullopt;
}

// Reads the whole translated file once, opened by OpenWhole: its item lines into File, and
// returns the count of all its lines. The lines view the file's bytes, which File takes.
long long ReadTranslatedFile(StrLineReader& Reader, const std::string& Path,
                             TTranslatedFile& File) {
    auto Keep = [&](std::string_view Text) {
        return Reader.Holds(Text) ? Text : std::string_view(File.Copies.emplace_back(Text));
    };
    while (std::optional<StrItemView> Item =
               NextItem(Reader, Path, TranslatedAttributeCount, File.Findings)) {
        if (File.Lines.empty())
            File.Lines.reserve(Reader.LineEndsAhead() + 1);
        File.Lines.push_back(
            {Keep(Item->Name), Keep(Item->Text), Keep(Item->Attributes[0]), Reader.LineNumber()});
    }
    File.Bytes = Reader.TakeBuffer();
    return Reader.LineNumber();
}

// Rows of every name of the default items, in row order, so that each translated line finds
// its row in constant time and a repeated name takes its occurrences in order. The names are
// read from the table's name cells, which must not change while the index is used. One flat
// table with the hashes beside the rows: probing compares numbers and reads a name only on a
// likely match, and the index costs no allocation per name; the rows of one name are chained
// through FNext.
class TNameIndex {
public:
    explicit TNameIndex(const TStyledGridModel& Grid) : FGrid(Grid) {
        const int Last = TrailingRow(Grid);
        const size_t Count = static_cast<size_t>(std::max(0, Last - FirstItemRow));
        size_t Size = 16;
        while (Size < Count * 2)
            Size *= 2;
        FSlots.assign(Size, TSlot());
        FNext.assign(Count, -1);
        std::vector<int> Tail(Count, -1);
        for (int Row = FirstItemRow; Row < Last; ++Row) {
            TSlot& Slot = Find(Grid.Cells(colName, Row));
            if (Slot.First < 0) {
                Slot.First = Row;
                Slot.Unused = Row;
            } else {
                FNext[static_cast<size_t>(Tail[static_cast<size_t>(Slot.First - FirstItemRow)] -
                                          FirstItemRow)] = Row;
            }
            Tail[static_cast<size_t>(Slot.First - FirstItemRow)] = Row;
        }
    }
    // The next unused row of Name, or -1.
    int Take(std::string_view Name) {
        TSlot& Slot = Find(Name);
        if (Slot.First < 0 || Slot.Unused < 0)
            return -1;
        const int Row = Slot.Unused;
        Slot.Unused = FNext[static_cast<size_t>(Row - FirstItemRow)];
        return Row;
    }

private:
    struct TSlot {
        std::uint32_t Hash = 0;
        int First = -1;  // the first row of the name (the key); -1: a free slot
        int Unused = -1; // the next unused row of the name, or -1
    };
    // The slot of Name, or the free slot where it belongs (with its hash set).
    TSlot& Find(std::string_view Name) {
        const auto Hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(Name));
        const size_t Mask = FSlots.size() - 1;
        size_t I = Hash & Mask;
        while (FSlots[I].First >= 0 &&
               (FSlots[I].Hash != Hash || FGrid.Cells(colName, FSlots[I].First) != Name))
            I = (I + 1) & Mask;
        FSlots[I].Hash = Hash;
        return FSlots[I];
    }

    const TStyledGridModel& FGrid;
    std::vector<TSlot, TLargeAllocator<TSlot>> FSlots; // at most half full
    std::vector<int> FNext;                            // the row after each row of its name
};

} // namespace

TFileNameInfo ExamineFileName(const std::string& Name) {
    TFileNameInfo Info;
    size_t Dot = Name.find_last_of('.');
    std::string Ext = Dot == std::string::npos ? std::string() : Name.substr(Dot);
    if (!StartsWithIgnoringCase(Name, "Kavr_") || Name.size() < 8 || UpperCase(Ext) != ".STR")
        return Info;
    Info.Accepted = true;
    bool User = StartsWithIgnoringCase(Name, "Kavr_User_");
    Info.Kind = User ? fkUser : fkMain;
    std::string Code = UpperCase(CopyRange(Name, User ? 11 : 6, User ? 13 : 8));
    size_t CodeDot = Code.find_last_of('.');
    if (CodeDot != std::string::npos)
        Code.resize(CodeDot);
    Info.Code = Code;
    return Info;
}

std::string FileNamePart(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

std::string FolderPart(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
}

TDocument::TDocument(TStyledGridModel& Grid, UserInterface& UI) : Grid(Grid), UI(UI) {}

void TDocument::SetFolders(const std::string& ProgramDir) {
    S.FProgramDir = ProgramDir;
    S.FDefaultDir = ProgramDir + "Default/";
    S.FDefaultFileName = S.FDefaultDir + MainDefaultName;
    S.FProductDpi = ProductDpi(ProgramDir);
}

bool TDocument::SetProductDpi(int Dpi, std::string& Error) {
    if (!kav::SetProductDpi(S.FProgramDir, Dpi, Error))
        return false;
    S.FProductDpi = Dpi;
    return true;
}

void TDocument::Warn(const std::string& Text) {
    UI.MessageDlg(Text, TMsgDlgType::mtWarning, mbOK);
}

void TDocument::Error(const std::string& Text) {
    UI.MessageDlg(Text, TMsgDlgType::mtError, mbOK);
}

// ---- shell routines --------------------------------------------------------------------

void TDocument::SetModified(bool Value) {
    Value = Value || FReviewsUnsaved;
    if (S.FModified == Value)
        return;
    S.FModified = Value;
    S.Observer().ModifiedChanged(Value);
}

void TDocument::SetFileName(const std::string& FileName) {
    S.FFileName = FileName;
    UI.SetCaption(FileNamePart(FileName) + " - " + ApplicationTitle);
}

void TDocument::ClearBookmarks() {
    S.Bookmarks.fill(-1);
}

int TDocument::BookmarkRow(int N) const {
    return N >= 1 && N <= BookmarkCount ? S.Bookmarks[static_cast<size_t>(N - 1)] : -1;
}

void TDocument::ToggleBookmark(int N, int Row) {
    if (N < 1 || N > BookmarkCount || !FItems.Contains(ItemOfRow(Row)))
        return;
    auto Bookmark = [this](int K) -> int& { return S.Bookmarks[static_cast<size_t>(K - 1)]; };
    const std::string Shown(Grid.Cells(colBookmark, Row));
    if (Shown == std::to_string(N)) {
        Grid.SetCells(colBookmark, Row, {});
        Bookmark(N) = -1;
        return;
    }
    // Text that is not one of our numbers is simply replaced; a number is freed only when it
    // really points at this row, so no other row loses its bookmark.
    for (int K = 1; K <= BookmarkCount; ++K)
        if (Shown == std::to_string(K) && Bookmark(K) == Row)
            Bookmark(K) = -1;
    const int Old = Bookmark(N);
    if (FItems.Contains(ItemOfRow(Old)) && Grid.Cells(colBookmark, Old) == std::to_string(N))
        Grid.SetCells(colBookmark, Old, {});
    Grid.SetCells(colBookmark, Row, std::to_string(N));
    Bookmark(N) = Row;
}

// ---- commands on items -----------------------------------------------------------------

void TDocument::StepMade(TDocumentStep Step, const std::vector<TItemId>& Changed) {
    if (FHistory)
        FHistory->Record(std::move(Step));
    SetModified(true);
    S.Observer().ItemsChanged(Changed);
}

void TDocument::ApplyStep(const TDocumentStep& Step, bool Undo) {
    std::vector<TItemId> Changed;
    Changed.reserve(Step.Count());
    for (size_t I = 0; I < Step.Count(); ++I) {
        // Undone newest first, though an item is in a step only once.
        const size_t At = Undo ? Step.Count() - 1 - I : I;
        const TItemId Id = Step.Id(At);
        if (!FItems.Contains(Id))
            continue;
        FItems.SetRecord(Id, Step.State(At, Undo, FItems.Record(Id)));
        Changed.push_back(Id);
    }
    S.Observer().ItemsChanged(Changed);
}

void TDocument::EditItem(TItemId Id, TItemField Field, const std::string& Bytes) {
    TDocumentEdit Edit(*this, "Edit of " + FItems.Caption(Id));
    Edit.SetField(Id, Field, Bytes);
}

void TDocument::SetColourMark(TItemId Id, TColor Colour) {
    TDocumentEdit Edit(*this, "Colour mark of " + FItems.Caption(Id));
    Edit.SetColour(Id, Colour);
}

void TDocument::PasteTranslations(const std::vector<std::pair<TItemId, std::string>>& Texts) {
    for (const auto& [Id, Bytes] : Texts) {
        if (Bytes.find_first_of(std::string_view("\"\r\n\x1a\0", 5)) != std::string::npos) {
            UI.Beep();
            Warn("Nothing was pasted: the text for " + FItems.Caption(Id) +
                 " holds a line break or a double quote, which a language file cannot hold.");
            return;
        }
    }
    TDocumentEdit Edit(*this, {});
    Edit.NameBy([](const TDocumentStep& Step) {
        return CountedStepName("Paste", Step.TranslationsChanged());
    });
    for (const auto& [Id, Bytes] : Texts)
        Edit.SetTranslation(Id, Bytes);
}

void TDocument::UndoReplacement(TItemId Id) {
    TDocumentEdit Edit(*this, "Undo replacement in " + FItems.Caption(Id));
    if (!Edit.UndoReplacement(Id))
        UI.Beep();
}

void TDocument::AcceptReplacement(TItemId Id) {
    TDocumentEdit Edit(*this, "Accept replacement in " + FItems.Caption(Id));
    if (!Edit.AcceptReplacements(Id))
        UI.Beep();
}

void TDocument::MarkReviewed(TItemId Id) {
    if (FBaseline.ChangeOf(FItems, Id) == TSourceChange::None)
        return;
    FBaseline.MarkReviewed(FItems, Id);
    // The file on disk is still marked: only a save keeps the review.
    FReviewsUnsaved = true;
    SetModified(true);
}

void TDocument::UndoAllReplacements() {
    TDocumentEdit Edit(*this, {});
    Edit.NameBy([](const TDocumentStep& Step) {
        return CountedStepName("Undo all marked replacements", Step.TranslationsChanged());
    });
    // Newest first within an item, which UndoReplacement does one at a time.
    for (TItemId Id = FItems.NextMarked(NoItem, true); Id != NoItem;
         Id = FItems.NextMarked(Id, true))
        while (Edit.UndoReplacement(Id)) {
        }
}

void TDocument::AcceptAllReplacements() {
    TDocumentEdit Edit(*this, {});
    // Accepting changes only the marks, so the step counts the items rather than the texts.
    Edit.NameBy([](const TDocumentStep& Step) {
        return CountedStepName("Accept all marked replacements", static_cast<int>(Step.Count()));
    });
    std::vector<TItemId> Marked;
    for (TItemId Id = FItems.NextMarked(NoItem, true); Id != NoItem;
         Id = FItems.NextMarked(Id, true))
        Marked.push_back(Id);
    for (const TItemId Id : Marked)
        Edit.AcceptReplacements(Id);
}

bool TDocument::QuerySaveChanges() {
    if (!S.FModified)
        return true;
    TModalResult Answer = UI.MessageDlg("Save changes to " + S.FFileName + "?",
                                        TMsgDlgType::mtConfirmation, mbYesNoCancel);
    if (Answer == TModalResult::mrNo) {
        // The changes were let go on purpose: nothing is offered for them later.
        DiscardRecoveryCopy(S.FFileName);
        return true;
    }
    if (Answer != TModalResult::mrYes)
        throw SilentAbort{};
    FileSave();
    // A save that failed or was cancelled must not let the changes go.
    if (S.FModified)
        throw SilentAbort{};
    return true;
}

void TDocument::SelectDefaultFile(StrFileKind Kind) {
    S.FDefaultFileName = S.FDefaultDir + (Kind == fkMain ? MainDefaultName : UserDefaultName);
}

bool TDocument::CheckDefaultFile(StrFileKind Kind) {
    SelectDefaultFile(Kind);
    if (IsFile(S.FDefaultFileName))
        return true;
    UI.Beep();
    Error("Default Language File not found: " + S.FDefaultFileName);
    return false;
}

bool TDocument::DefaultFileOpens() {
    StrLineReader Reader;
    if (int Status = Reader.Open(S.FDefaultFileName); Status != 0) {
        UI.ShowError(IoStatusMessage(Status, S.FDefaultFileName));
        return false;
    }
    return true;
}

// ---- New and Open ----------------------------------------------------------------------

void TDocument::FileNew() {
    try {
        QuerySaveChanges();
    } catch (const SilentAbort&) {
        return;
    }
    int Count;
    {
        TPleaseWait Wait(UI, "Creating a new document ...");
        Count = NewDocument();
        if (Count > 0)
            UI.SetStatusText(StatusLines, "Total lines: " + std::to_string(Count));
        S.Observer().TableLoaded();
        SetModified(false);
    }
    S.FUntitled = true;
}

int TDocument::NewDocument() {
    FBaseline.Clear();
    FReviewsUnsaved = false;
    const StrFileKind Kind = KindOfSoftware(S.FSoftware);
    SelectDefaultFile(Kind);
    ChangeKind(Kind);
    if (!IsFile(S.FDefaultFileName)) {
        UI.Beep();
        Error("Default Language File not found: " + S.FDefaultFileName);
        return -2;
    }
    StrLineReader Reader;
    if (int Status = Reader.Open(S.FDefaultFileName); Status != 0) {
        if (std::string Text = IoStatusMessage(Status, S.FDefaultFileName); !Text.empty())
            Warn(Text);
        return -2;
    }
    ++FTableLoads;
    if (FHistory)
        FHistory->Clear(true);
    ClearBookmarks();
    FRestoreTarget.clear();
    FUnloadedPath.clear();
    std::string Problem;
    std::vector<std::string> Findings;
    {
        TUpdateLock Lock(UI);
        SetFileName(UntitledName);
        UI.SetStatusText(StatusFile, {});
        UI.SetStatusText(StatusLines, {});
        S.FFontCharset = 0;
        S.FLanguageCode.clear();
        ApplyTranslatedCharset(Grid, S.FFontCharset);
        S.Observer().LanguageChanged(S.FLanguageCode);
        Grid.SetCells(colTranslated, 1, {});
        FItems.ResetForNew();
        try {
            // The grid is told once, when every item is in.
            TGridBulkChange Bulk(Grid);
            while (std::optional<StrItemView> Item =
                       NextItem(Reader, S.FDefaultFileName, DefaultAttributeCount, Findings))
                FItems.SetTranslation(FItems.Append(*Item), Item->Text);
        } catch (const ToolError& E) {
            Problem = E.what();
        }
    }
    if (!Problem.empty()) {
        UI.ShowError(Problem);
        return -1;
    }
    if (Reader.Close() != 0)
        Warn(FileAccessErrorMessage(S.FDefaultFileName));
    FLastFindings = Findings.size();
    ReportFindings(S.FDefaultFileName, Findings);
    return FItems.Count();
}

void TDocument::FileOpen() {
    try {
        QuerySaveChanges();
    } catch (const SilentAbort&) {
        return;
    }
    std::optional<std::string> Path = UI.OpenDialog(S.LanguageDir(), StrFilter);
    if (!Path)
        return;
    OpenPath(*Path);
}

bool TDocument::OpenPath(const std::string& Path) {
    return OpenFile(Path, FileNamePart(Path));
}

bool TDocument::OpenFile(const std::string& Path, const std::string& Name) {
    TFileNameInfo Info = ExamineFileName(Name);
    if (!Info.Accepted) {
        UI.Beep();
        Warn("Invalid Language File " + Path);
        return false;
    }
    const std::string PreviousDefault = S.FDefaultFileName;
    if (!CheckDefaultFile(Info.Kind)) {
        S.FDefaultFileName = PreviousDefault;
        return false;
    }
    bool Bound;
    {
        TPleaseWait Wait(UI, "Opening " + Name);
        // A file that cannot be read changes nothing: the document keeps its kind, language,
        // table and name, so that a later Save still writes what the table holds to its file.
        std::optional<TTranslatedFile> Read = ReadTranslated(Path);
        if (!Read || !DefaultFileOpens()) {
            S.FDefaultFileName = PreviousDefault;
            return false;
        }
        SetSoftware(SoftwareOfKind(Info.Kind));
        ChangeKind(Info.Kind);
        SelectFileLanguage(Info.Code);
        Bound = LoadFile(Path, &*Read);
        if (Bound)
            UI.SetStatusText(StatusFile, "Loaded file: " + Path);
        SetModified(false);
    }
    S.FFontCharset = CharsetOfLanguage(S.FLanguageCode);
    ApplyTranslatedCharset(Grid, S.FFontCharset);
    S.FUntitled = !Bound;
    S.Observer().FileOpened(Path, Bound);
    if (Bound && FRecoveryCopies && !FOfferingRecovery) {
        std::string Problem;
        if (const std::optional<TRecoveryCopy> Copy =
                ReadRecovery(RecoveryPath(RecoveryFolder(S.BackupDir()), Path), Problem)) {
            FOfferingRecovery = true;
            OfferRecoveryCopy(*Copy);
            FOfferingRecovery = false;
        }
    }
    return Bound;
}

// ---- the document's language, kind and software ---------------------------------------

void TDocument::SetLanguage(const std::string& Code) {
    S.FLanguageCode = Code;
    S.FFontCharset = CharsetOfLanguage(Code);
    ApplyTranslatedCharset(Grid, S.FFontCharset);
    S.Observer().LanguageChanged(Code);
}

void TDocument::AdoptLanguage(const std::string& Code) {
    S.FLanguageCode = Code;
    S.FFontCharset = CharsetOfLanguage(Code);
}

void TDocument::SetCharset(std::uint8_t Charset) {
    S.FFontCharset = Charset;
    ApplyTranslatedCharset(Grid, Charset);
}

void TDocument::SelectFileLanguage(const std::string& Code) {
    if (!FLanguageOffered || FLanguageOffered(Code)) {
        S.FLanguageCode = Code;
        S.FFontCharset = CharsetOfLanguage(Code);
    }
    // Told even when the code is not offered: the window shows the language kept, with the
    // character set and keyboard that belong to it.
    S.Observer().LanguageChanged(S.FLanguageCode);
}

void TDocument::SetLanguageOffer(std::function<bool(const std::string&)> Offered) {
    FLanguageOffered = std::move(Offered);
}

void TDocument::SetSoftware(TSoftware Software) {
    S.FSoftware = Software;
    S.Observer().SoftwareChanged(Software);
}

void TDocument::ChangeKind(StrFileKind Kind) {
    S.FFileKind = Kind;
    S.Observer().KindChanged(Kind);
}

// ---- loading ---------------------------------------------------------------------------

bool TDocument::LoadFile(const std::string& FileName) {
    return LoadFile(FileName, nullptr);
}

bool TDocument::LoadFile(const std::string& FileName, const TTranslatedFile* Read) {
    ClearBookmarks();
    FLastLoad = ReadDocument(FileName, Read);
    FReviewsUnsaved = false;
    if (FLastLoad.Bound)
        FBaseline.Load(S.BackupDir(), FileName, FItems);
    else
        FBaseline.Clear();
    if (FLastLoad.Count > 0)
        UI.SetStatusText(StatusLines, "Total lines: " + std::to_string(FLastLoad.Count));
    // A file whose translations were not taken must not become the document's file: a later
    // Save would overwrite it with what the table holds. Nothing read: nothing changes.
    if (FLastLoad.Bound) {
        SetFileName(FileName);
        FUnloadedPath.clear();
        FDiskFile = FWatchDisk ? IdentifyFile(FileName) : TFileIdentity();
    } else if (FLastLoad.Count >= 0) {
        SetFileName(UntitledName);
        S.FUntitled = true;
        // The status bar must not go on naming the previous document's file.
        UI.SetStatusText(StatusFile, {});
        FUnloadedPath = FileName;
    }
    if (FLastLoad.Count >= 0)
        FRestoreTarget.clear();
    S.Observer().TableLoaded();
    SetModified(false);
    return FLastLoad.Bound;
}

int TDocument::LoadDocument(const std::string& FileName) {
    FLastLoad = ReadDocument(FileName, nullptr);
    return FLastLoad.Count;
}

std::optional<TTranslatedFile> TDocument::ReadTranslated(const std::string& FileName) {
    StrLineReader Reader;
    if (int Status = Reader.OpenWhole(FileName); Status != 0) {
        if (std::string Text = IoStatusMessage(Status, FileName); !Text.empty())
            Warn(Text);
        return std::nullopt;
    }
    RemoveStaleTempFiles(FolderPart(FileName));
    TTranslatedFile File;
    try {
        File.LineCount = ReadTranslatedFile(Reader, FileName, File);
    } catch (const ToolError& E) {
        UI.ShowError(E.what());
        return std::nullopt;
    }
    File.CloseStatus = Reader.Close();
    return File;
}

TLoadReport TDocument::ReadDocument(const std::string& FileName, const TTranslatedFile* Given) {
    TLoadReport Report;
    if (S.FFileKind == fkNone)
        return Report;
    SelectDefaultFile(S.FFileKind);
    SetSoftware(SoftwareOfKind(S.FFileKind));
    if (!IsFile(S.FDefaultFileName)) {
        UI.Beep();
        Error("Default Language File not found: " + S.FDefaultFileName);
        return Report;
    }
    std::optional<TTranslatedFile> Read;
    if (!Given) {
        Read = ReadTranslated(FileName);
        if (!Read)
            return Report;
        Given = &*Read;
    }
    const auto& Lines = Given->Lines;
    const long long LineCount = Given->LineCount;
    const int CloseStatus = Given->CloseStatus;

    const bool Reuse = FReuseDefault && DefaultFileUnchanged();
    FReuseDefault = false;
    // Taken before the file is read, so that a change while it is read shows next time.
    std::error_code Ec;
    const std::uintmax_t DefaultSize = fs::file_size(S.FDefaultFileName, Ec);
    const fs::file_time_type DefaultTime = fs::last_write_time(S.FDefaultFileName, Ec);
    const bool Stamped = !Ec;
    // Opened before the table is reset: a default file that cannot be opened changes nothing.
    StrLineReader Default;
    if (int Status = Reuse ? 0 : Default.Open(S.FDefaultFileName); Status != 0) {
        UI.ShowError(IoStatusMessage(Status, S.FDefaultFileName));
        return Report;
    }
    ++FTableLoads;
    // A table read anew starts a new history; the read-back of a save keeps it when it gives
    // what was written.
    if (FHistory && !FReadingBack)
        FHistory->Clear(true);
    TUpdateLock Lock(UI);
    std::vector<std::string> DefaultFindings;
    if (!Reuse) {
        FDefaultRead.reset();
        FItems.Reset();
        // The default file has about as many items as the translated file has lines.
        FItems.Reserve(static_cast<int>(Lines.size()));
    }
    // The default file has about as many items as the translated file has lines: reading it
    // is the first half of the bar, taking the translations the second.
    TProgress Progress(UI, Reuse ? Lines.size() : 2 * Lines.size());
    const size_t Taken = Reuse ? 0 : Lines.size();
    try {
        // The grid is told once, when every item and translation is in, and before any message.
        std::optional<TGridBulkChange> Bulk;
        Bulk.emplace(Grid);
        if (Reuse) {
            KeepDefaultItems();
            DefaultFindings = FDefaultRead->Findings;
        } else {
            ReadDefaultItems(Default, DefaultFindings, Progress, Taken);
            if (Stamped)
                FDefaultRead = TDefaultRead{S.FDefaultFileName, DefaultSize, DefaultTime,
                                            DefaultFindings,    0,           0};
        }
        if (FDefaultRead) {
            FDefaultRead->RowCount = Grid.RowCount();
            FDefaultRead->Revision = DefaultColumnsRevision();
        }
        Report.Count = FItems.Count();
        if (LineCount - HeaderLineCount > Report.Count) {
            Bulk.reset();
            Warn("File \"" + FileName + "\" is not compatible with the defaut file.");
        } else {
            TNameIndex Index(Grid);
            size_t Done = Taken;
            for (const auto& Line : Lines) {
                Progress.Step(++Done);
                int Target = Index.Take(Line.Name);
                if (Target < 0) {
                    Report.Unmatched.emplace_back(Line.Name);
                    continue;
                }
                const TItemId Id = ItemOfRow(Target);
                FItems.SetTranslation(Id, IsBlankText(Line.Text) ? FItems.Default(Id) : Line.Text);
                int32_t Color = NoColorMark;
                if (!Line.Color.empty() && !TryStrToInt(Line.Color, Color))
                    throw ToolError(
                        LocatedMessage(InvalidIntegerMessage(Line.Color), FileName, Line.Line));
                if (!Line.Color.empty())
                    FItems.SetColour(Id, Color);
            }
            Report.Bound = true;
        }
        // A reload after a save leaves the texts it replaced behind.
        Grid.CompactTexts();
    } catch (const ToolError& E) {
        FDefaultRead.reset();
        // The table was reset and holds what was read so far: a count makes LoadFile drop the
        // previous file name, so that no later Save writes this table over that file.
        if (Report.Count < 0)
            Report.Count = FItems.Count();
        Report.Bound = false;
        UI.ShowError(E.what());
        return Report;
    }
    if (CloseStatus != 0)
        Warn(FileAccessErrorMessage(FileName));
    ReportFindings(S.FDefaultFileName, DefaultFindings);
    ReportFindings(FileName, Given->Findings);
    Report.Findings = DefaultFindings.size() + Given->Findings.size();
    ReportUnmatched(Report.Unmatched);
    return Report;
}

// The columns a load fills from the default file.
constexpr int DefaultColumns[] = {colItem,     colName,      colDefault, colWidth,
                                  colFontName, colFontStyle, colFontSize};

std::uint64_t TDocument::DefaultColumnsRevision() const {
    std::uint64_t Sum = 0;
    for (int Col : DefaultColumns)
        Sum += Grid.TextRevision(Col);
    return Sum;
}

bool TDocument::DefaultColumnsIntact() const {
    return FDefaultRead && FDefaultRead->Path == S.FDefaultFileName &&
           FDefaultRead->RowCount == Grid.RowCount() &&
           FDefaultRead->Revision == DefaultColumnsRevision();
}

bool TDocument::DefaultFileUnchanged() const {
    if (!FDefaultRead || FDefaultRead->Path != S.FDefaultFileName)
        return false;
    std::error_code Ec;
    const std::uintmax_t Size = fs::file_size(S.FDefaultFileName, Ec);
    const fs::file_time_type Time = fs::last_write_time(S.FDefaultFileName, Ec);
    return !Ec && Size == FDefaultRead->Size && Time == FDefaultRead->Time;
}

// The table after a save: the item rows hold the default file's items as the last load left
// them, less the trailing row. What a full load would give: the other columns and the colour
// marks empty, and the trailing row back. Returns the trailing row.
void TDocument::KeepDefaultItems() {
    FItems.KeepOnlyDefaults(FDefaultRead->RowCount);
}

void TDocument::ReportFindings(const std::string& Path, const std::vector<std::string>& Findings) {
    if (Findings.empty())
        return;
    // The rules that left content out, each named once, as the findings show them.
    const auto Any = [&Findings](const char* Mark) {
        return std::any_of(Findings.begin(), Findings.end(), [Mark](const std::string& Finding) {
            return Finding.find(Mark) != std::string::npos;
        });
    };
    std::string Causes;
    const auto Cause = [&Causes](const char* Text) {
        Causes += (Causes.empty() ? "" : "; ") + std::string(Text);
    };
    if (Any("(Ctrl+Z)"))
        Cause("a language file ends at the end-of-file character (Ctrl+Z)");
    if (Any("lone CR"))
        Cause("a CR without LF does not end a line, and the tool reads one item per line");
    else if (Any("on the same line"))
        Cause("the tool reads one item per line");
    Warn("Part of " + Path + " is not read: " + Causes + "." + ListedLines(UI, Findings) +
         "\nA save writes the file without it; the version it replaces is kept in " +
         HistoryFolder(S.BackupDir()) + ".");
}

void TDocument::ReadDefaultItems(StrLineReader& Reader, std::vector<std::string>& Findings,
                                 TProgress& Progress, size_t Expected) {
    while (std::optional<StrItemView> Item =
               NextItem(Reader, S.FDefaultFileName, DefaultAttributeCount, Findings)) {
        FItems.Append(*Item);
        Progress.Step(std::min(static_cast<size_t>(FItems.Count()), Expected));
    }
    if (Reader.Close() != 0)
        Warn(FileAccessErrorMessage(S.FDefaultFileName));
}

void TDocument::ReportUnmatched(const std::vector<std::string>& Unmatched) {
    if (Unmatched.empty())
        return;
    std::string Text = std::to_string(Unmatched.size()) +
                       " translated line(s) name items that the default file " +
                       FileNamePart(S.FDefaultFileName) +
                       " does not have; they are not shown and will not be saved:";
    std::vector<std::string> Names;
    Names.reserve(Unmatched.size());
    for (const std::string& Name : Unmatched)
        Names.push_back(ShownItemName(Name));
    Warn(Text + ListedLines(UI, Names));
}

// ---- saving ----------------------------------------------------------------------------

void TDocument::FileSave() {
    if (S.FFileName != UntitledName) {
        if (SaveFile(S.FFileName))
            SetModified(false);
        return;
    }
    FileSaveAs();
}

void TDocument::FileSaveAs() {
    if (S.FFileKind == fkNone)
        return;
    S.FNewFileName = false;
    if (TrimCharSet(S.FLanguageCode, TrimChars()).empty()) {
        UI.MessageDlg("A language must be selected.", TMsgDlgType::mtInformation, mbOK);
        S.Observer().LanguageMissing();
        return;
    }
    std::string Code = UpperCase(S.FLanguageCode.substr(0, 3));
    std::string Proposed = (S.FFileKind == fkMain ? "Kavr_" : "Kavr_User_") + Code + ".str";
    std::string Folder = S.LanguageDir();
    // A restored version is proposed under the name of the file it is a version of.
    if (!FRestoreTarget.empty()) {
        Proposed = FileNamePart(FRestoreTarget);
        Folder = FolderPart(FRestoreTarget);
    }
    std::optional<std::string> Path = UI.SaveDialog(Folder, SaveFilter, Proposed);
    if (!Path)
        return;
    // The question names the file that will really be written, after the kind's correction.
    std::string Target = SaveTargetName(*Path, S.FFileKind);
    // A name File > Open refuses would leave a file the tool cannot open again.
    if (!ExamineFileName(FileNamePart(Target)).Accepted) {
        const std::string Corrected =
            FolderPart(Target) + ((S.FFileKind == fkMain ? "Kavr_" : "Kavr_User_") + Code + ".str");
        if (UI.MessageDlg(OpenableNameRule(FileNamePart(Target)) + "\nSave as " + Corrected + "?",
                          TMsgDlgType::mtConfirmation, mbYesNoCancel) != TModalResult::mrYes)
            return;
        Target = Corrected;
    } else if (Target != *Path) {
        UI.MessageDlg("The file is saved as " + FileNamePart(Target) + ": " +
                          (S.FFileKind == fkUser ? "a Pelmor document is named Kavr_User_<LANG>.str"
                                                 : "a Kavrino document is named Kavr_<LANG>.str") +
                          ", so that File > Open gives it back with its kind.",
                      TMsgDlgType::mtInformation, mbOK);
    }
    if (IsFile(Target)) {
        std::string Question = "OK to overwrite " + Target;
        if (Target == FUnloadedPath)
            Question += "\nIts translations were not loaded: the table does not hold them. The "
                        "file's present version is kept in " +
                        HistoryFolder(S.BackupDir()) + ".";
        if (UI.MessageDlg(Question, TMsgDlgType::mtConfirmation, mbYesNoCancel) !=
            TModalResult::mrYes)
            return;
    }
    S.FNewFileName = true;
    if (!SaveFile(Target))
        return;
    S.FUntitled = false;
    SetFileName(Target);
    SetModified(false);
}

std::string OpenableNameRule(const std::string& Name) {
    return Name +
           " is not a name File > Open accepts: a language file is named Kavr_<LANG>.str for "
           "Kavrino or Kavr_User_<LANG>.str for Pelmor (LANG the three-letter language code), "
           "which tells the tool its kind and language.";
}

bool TDocument::SaveNewFile(const std::string& FileName) {
    S.FNewFileName = true;
    return SaveFile(FileName);
}

std::string SaveTargetName(std::string FileName, StrFileKind Kind) {
    const long long L = static_cast<long long>(FileName.size());
    auto Slice = [&](long long From, long long To) { return CopyRange(FileName, From, To); };
    if (Kind == fkMain && L >= 17 && UpperCase(Slice(L - 16, L - 7)) == "KAVR_USER_")
        FileName.erase(static_cast<size_t>(L - 12), 5);
    else if (Kind == fkUser && L >= 12 && UpperCase(Slice(L - 11, L - 7)) == "KAVR_")
        FileName.insert(static_cast<size_t>(L - 7), "User_");
    return FileName;
}

std::vector<StrWriteItem> TDocument::ItemsToWrite(std::vector<std::string>& Dropped) const {
    std::vector<StrWriteItem> Items;
    Items.reserve(static_cast<size_t>(FItems.Count()));
    for (TItemId Id = 0; Id < FItems.Count(); ++Id) {
        const std::string_view Name = FItems.Name(Id);
        if (IsBlankText(Name))
            Dropped.push_back(FItems.Caption(Id));
        else
            Items.push_back({Name, FItems.Translation(Id), FItems.Colour(Id)});
    }
    return Items;
}

// An item without a constant name cannot be written: the file would lose it and its
// translation. Never silently: the translator decides, knowing which.
bool TDocument::ConfirmDropped(const std::vector<std::string>& Dropped) {
    if (Dropped.empty())
        return true;
    return UI.MessageDlg(std::to_string(Dropped.size()) +
                             " item(s) have no constant name: the file cannot hold them, so "
                             "the save leaves them and their translations out." +
                             ListedLines(UI, Dropped) + "\nSave anyway?",
                         TMsgDlgType::mtConfirmation, mbYesNoCancel) == TModalResult::mrYes;
}

std::uint64_t TDocument::SavedContent() const {
    TFingerprint Print;
    Print.Add(static_cast<std::uint64_t>(FItems.Count()));
    for (TItemId Id = 0; Id < FItems.Count(); ++Id) {
        Print.Add(FItems.Name(Id));
        Print.Add(FItems.Translation(Id));
        Print.Add(static_cast<std::uint64_t>(FItems.Colour(Id)));
    }
    return Print.Value();
}

void TDocument::KeepHistoryAfterSave(std::optional<std::uint64_t> Written) {
    if (!FHistory)
        return;
    // The steps made before the save hold the items as they were: they still apply when the
    // file read back gives the items that were written.
    if (FHistory->HasSteps() && (!Written || SavedContent() != *Written)) {
        FHistory->Clear(true);
        UI.MessageDlg("The file read back after saving differs from the table: the steps made "
                      "before the save can no longer be undone or redone.",
                      TMsgDlgType::mtInformation, mbOK);
    }
    FHistory->MarkSaved();
}

// Names of Items that the default file does not have, as the messages show them.
std::vector<std::string>
TDocument::NamesNotInDefault(const std::vector<StrWriteItem>& Items) const {
    StrLineReader Reader;
    if (Reader.Open(S.FDefaultFileName) != 0)
        return {};
    std::unordered_set<std::string> Known;
    std::vector<std::string> Findings;
    try {
        while (std::optional<StrItemView> Item =
                   NextItem(Reader, S.FDefaultFileName, DefaultAttributeCount, Findings))
            Known.emplace(Item->Name);
    } catch (const ToolError&) {
        return {}; // the reload after the save says what is wrong with it
    }
    std::vector<std::string> Missing;
    for (const StrWriteItem& Item : Items)
        if (!Item.Name.empty() && !Known.count(std::string(Item.Name)))
            Missing.push_back(ShownItemName(Item.Name));
    return Missing;
}

// A translated file is matched to its default file by name: an item named otherwise (a name
// typed over, a row added) is written, but the reload after the save no longer shows its
// translation, and the next save drops it. The translator decides, knowing that.
bool TDocument::ConfirmNamesNotInDefault(const std::vector<StrWriteItem>& Items) {
    const std::vector<std::string> Missing = NamesNotInDefault(Items);
    if (Missing.empty())
        return true;
    return UI.MessageDlg(std::to_string(Missing.size()) +
                             " item name(s) are not in the default file " +
                             FileNamePart(S.FDefaultFileName) +
                             ": after the save their translations are no longer shown, and a "
                             "later save drops them." +
                             ListedLines(UI, Missing) + "\nSave anyway?",
                         TMsgDlgType::mtConfirmation, mbYesNoCancel) == TModalResult::mrYes;
}

// The default file, the document's folder and the file about to be replaced go into Backup/,
// the replaced file also into its history. Only the default file and the replaced file must
// be copied for the save to go on; other entries that cannot be copied are listed in Skipped.
bool TDocument::MakeBackups(const std::string& Target, std::vector<std::string>& Skipped) {
    const std::string Backup = S.BackupDir();
    if (!EnsureFolder(Backup)) {
        Error("Cannot create " + Backup + "\nThe file was not saved.");
        return false;
    }
    std::string Failure =
        CopyOneFile(S.FDefaultFileName, Backup + FileNamePart(S.FDefaultFileName));
    // The replaced file is copied under its name after the folder, so the folder's file of that
    // name, whose copy it would overwrite at once, is not copied first.
    const bool Replaces = IsFile(Target);
    if (Failure.empty() && S.FFileName != UntitledName)
        Skipped = CopyMatchingFiles("*.*", FolderPart(S.FFileName), Backup,
                                    Replaces ? FileNamePart(Target) : std::string());
    if (Failure.empty() && Replaces) {
        Failure = CopyOneFile(Target, Backup + FileNamePart(Target));
        if (std::string Problem =
                Failure.empty() ? KeepInHistory(Target, HistoryFolder(Backup)) : std::string();
            !Problem.empty())
            Skipped.push_back(Problem);
    }
    if (!Failure.empty()) {
        Error(Failure + "\nThe file was not saved.");
        return false;
    }
    return true;
}

bool TDocument::SaveFile(std::string FileName) {
    FSaveRefused = false;
    if (S.FFileKind == fkNone)
        return false;
    // Another program's version of the file is not written over unasked.
    if (FileName == S.FFileName && !S.FNewFileName && !CheckDiskFile(true))
        return false;
    SelectDefaultFile(S.FFileKind);
    const std::string Chosen = FileName;
    FileName = SaveTargetName(std::move(FileName), S.FFileKind);
    if (FileName != Chosen)
        S.FNewFileName = true;

    bool Written = false;
    bool Rename = true;
    std::vector<std::string> Skipped;
    {
        TPleaseWait Wait(UI, "Saving " + FileNamePart(FileName));
        // What was written, for the history to be checked against what the read-back gives.
        std::optional<std::uint64_t> Content;
        {
            TUpdateLock Lock(UI);
            const bool Intact = DefaultColumnsIntact();
            // Views of the items' texts, which stay as they are until the file is written.
            // Nothing in the table changes before the file is written and read back.
            std::vector<std::string> Dropped;
            const std::vector<StrWriteItem> Items = ItemsToWrite(Dropped);
            std::vector<std::string> Problems = UnwritableItems(Items);
            if (!Problems.empty()) {
                FSaveRefused = true;
                Error("Cannot save " + FileName +
                      ": the file format cannot hold these items:" + ListedLines(UI, Problems));
            } else if (!IsFile(S.FDefaultFileName)) {
                Error("File not found: " + S.FDefaultFileName);
                Rename = false;
            } else if (!IsFile(FileName) && !S.FNewFileName) {
                Error("File not found: " + FileName);
            } else if (!ConfirmDropped(Dropped) || (!Intact && !ConfirmNamesNotInDefault(Items))) {
                // Not saved: the table stays as the translator left it.
            } else if (MakeBackups(FileName, Skipped)) {
                // The read-back may keep the default columns only when they are as read.
                FReuseDefault = Intact;
                // Only a history with steps to undo or redo needs the read-back compared.
                if (FHistory && FHistory->HasSteps())
                    Content = SavedContent();
                S.FNewFileName = false;
                // Near the file's size: a line holds its name, its text and some 30 bytes more.
                size_t Expected = 0;
                for (const StrWriteItem& Item : Items)
                    Expected += Item.Name.size() + Item.Text.size() + 30;
                TProgress Progress(UI, Expected);
                StrWriteResult Result = WriteCheckedStrFile(
                    FileName, S.FFileKind, Items, [&Progress](size_t Out) { Progress.Step(Out); });
                if (Result.Ok) {
                    UI.SetStatusText(StatusFile, "Saved file: " + FileName);
                    Written = true;
                    // The read-back takes it in again: what is still marked stays marked.
                    if (std::string Problem = FBaseline.Save(S.BackupDir(), FileName, FItems);
                        !Problem.empty())
                        Skipped.push_back(Problem);
                } else {
                    Warn(Result.Message);
                }
            }
            // The panel must not go on saying an earlier save of the file went through.
            if (!Written)
                UI.SetStatusText(StatusFile, "Not saved: " + FileName);
        }
        if (Written) {
            FReadingBack = true;
            LoadFile(FileName);
            FReadingBack = false;
            KeepHistoryAfterSave(Content);
        }
        FReuseDefault = false;
    }
    if (Written) {
        // Saved: the work is safe in the file, under its old name or its new one.
        DiscardRecoveryCopy(S.FFileName);
        if (FileName != S.FFileName)
            DiscardRecoveryCopy(FileName);
    }
    if (Rename && Written)
        SetFileName(FileName);
    if (Written && !Skipped.empty())
        Warn("Saved " + FileName + ", but these backup copies were not made in " + S.BackupDir() +
             ":" + ListedLines(UI, Skipped));
    return Written;
}

// ---- the file on disk ------------------------------------------------------------------

bool TDocument::CheckDiskFile(bool BeforeSave) {
    if (!FWatchDisk || FCheckingDisk || S.FFileName == UntitledName || S.FUntitled ||
        !FDiskFile.Exists)
        return true;
    const TFileChange Change = CompareFile(FDiskFile, S.FFileName);
    if (Change == TFileChange::Unchanged)
        return true;
    FCheckingDisk = true;
    const bool Deleted = Change == TFileChange::Deleted;
    std::vector<std::string> Choices;
    if (!Deleted)
        Choices.push_back("Reload the file from disk (the changes made here are lost)");
    Choices.push_back(Deleted ? "Keep this version (the next save writes the file again)"
                              : "Keep this version (the next save writes over the other one)");
    Choices.push_back("Save this version under another name");
    const std::string Prompt =
        S.FFileName +
        (Deleted ? " was deleted or moved by another program."
                 : " was changed by another program (or another window) since it was " +
                       std::string(S.FModified ? "read or saved here." : "read here.")) +
        (BeforeSave ? " Save it anyway?" : "");
    const std::optional<size_t> Chosen =
        UI.ChooseItem(Deleted ? "File deleted" : "File changed on disk", Prompt, Choices);
    FCheckingDisk = false;
    const size_t Offset = Deleted ? 1 : 0;
    if (!Chosen) {
        // Asked again at the next look, since nothing was decided.
        return false;
    }
    if (*Chosen + Offset == 0) {
        const std::string Path = S.FFileName;
        OpenFile(Path, FileNamePart(Path));
        return false;
    }
    if (*Chosen + Offset == 1) {
        // This version stands; the other one is not asked about again.
        FDiskFile = Deleted ? TFileIdentity() : IdentifyFile(S.FFileName);
        if (Deleted) {
            S.FNewFileName = true;
            SetModified(true);
        }
        return true;
    }
    FileSaveAs();
    return false;
}

// ---- recovery copies -------------------------------------------------------------------

std::string TDocument::WriteRecoveryCopy() {
    if (!FRecoveryCopies || !S.FModified || S.FFileKind == fkNone)
        return {};
    std::vector<std::string> Dropped;
    return WriteRecovery(RecoveryFolder(S.BackupDir()), S.FFileName, S.FFileKind, S.FLanguageCode,
                         ItemsToWrite(Dropped));
}

void TDocument::DiscardRecoveryCopy(const std::string& FileName) {
    if (FRecoveryCopies && !DiscardRecovery(RecoveryFolder(S.BackupDir()), FileName))
        Warn("The recovery copy of " + FileName + " in " + RecoveryFolder(S.BackupDir()) +
             " cannot be removed.");
}

void TDocument::OfferRecoveryCopies() {
    if (!FRecoveryCopies)
        return;
    const std::string Folder = RecoveryFolder(S.BackupDir());
    // The document open now first: its copy is the one the translator came back for.
    std::vector<TRecoveryCopy> Copies = ListRecovery(Folder);
    std::stable_partition(Copies.begin(), Copies.end(), [this](const TRecoveryCopy& Copy) {
        return Copy.FileName == S.FFileName;
    });
    FOfferingRecovery = true;
    for (const TRecoveryCopy& Listed : Copies) {
        std::string Problem;
        const std::optional<TRecoveryCopy> Copy = ReadRecovery(Listed.Path, Problem);
        if (!Copy) {
            Warn(Problem);
            continue;
        }
        if (OfferRecoveryCopy(*Copy))
            break;
    }
    FOfferingRecovery = false;
}

bool TDocument::OfferRecoveryCopy(const TRecoveryCopy& Copy) {
    const std::time_t When = static_cast<std::time_t>(Copy.Written);
    std::tm Local{};
    localtime_r(&When, &Local);
    char Time[8];
    std::strftime(Time, sizeof Time, "%H:%M", &Local);
    const TModalResult Answer =
        UI.MessageDlg("Recover unsaved changes of " + Copy.FileName + " from " + Time + "?",
                      TMsgDlgType::mtConfirmation, mbYes | mbNo | mbLater);
    if (Answer == TModalResult::mrNo) {
        DiscardRecoveryCopy(Copy.FileName);
        return false;
    }
    if (Answer != TModalResult::mrYes)
        return false;
    if ((Copy.FileName != S.FFileName || S.FFileKind != Copy.Kind) && !OpenDocumentOf(Copy))
        return false;
    TakeRecoveryCopy(Copy);
    return true;
}

bool TDocument::OpenDocumentOf(const TRecoveryCopy& Copy) {
    // The unsaved changes of the document open now are asked about first.
    try {
        QuerySaveChanges();
    } catch (const SilentAbort&) {
        return false;
    }
    if (Copy.FileName != UntitledName && IsFile(Copy.FileName))
        return OpenFile(Copy.FileName, FileNamePart(Copy.FileName));
    // Never saved: a new document of its kind and language.
    SetSoftware(SoftwareOfKind(Copy.Kind));
    FileNew();
    if (S.FFileKind != Copy.Kind)
        return false;
    SetLanguage(Copy.LanguageCode);
    return true;
}

void TDocument::TakeRecoveryCopy(const TRecoveryCopy& Copy) {
    TNameIndex Index(Grid);
    TDocumentEdit Edit(*this, "Recovered changes");
    for (const TRecoveryItem& Item : Copy.Items) {
        const int Row = Index.Take(Item.Name);
        if (Row < 0)
            continue;
        Edit.SetTranslation(ItemOfRow(Row), Item.Text);
        Edit.SetColour(ItemOfRow(Row), Item.Color);
    }
    // A copy that matches the file still leaves the document changed: it is the translator's
    // to save or to drop.
    Edit.Commit();
    SetModified(true);
}

// ---- previous versions -----------------------------------------------------------------

std::string TDocument::DefaultFileOf(const std::string& Name) const {
    const TFileNameInfo Info = ExamineFileName(Name);
    return S.FDefaultDir + (Info.Kind == fkUser ? UserDefaultName : MainDefaultName);
}

void TDocument::FileRestoreVersion() {
    try {
        QuerySaveChanges();
    } catch (const SilentAbort&) {
        return;
    }
    const std::string History = HistoryFolder(S.BackupDir());
    // The versions of the document's file (or of the file that did not load); all when it
    // has none.
    std::string Current = S.FFileName != UntitledName ? S.FFileName : FUnloadedPath;
    // Another folder's file of the same name has versions of its own.
    std::vector<THistoryEntry> Versions =
        Current.empty() ? std::vector<THistoryEntry>() : ListFileHistory(History, Current);
    if (Versions.empty())
        Versions = ListHistory(History);
    if (Versions.empty()) {
        UI.MessageDlg("No previous versions are kept in " + History + ".",
                      TMsgDlgType::mtInformation, mbOK);
        return;
    }
    std::vector<std::string> Lines;
    for (const THistoryEntry& Version : Versions)
        Lines.push_back(
            Version.FileName + "   " + ShownStamp(Version.Stamp) + "   " +
            std::to_string(CountTranslated(Version.Path, DefaultFileOf(Version.FileName))) +
            " translated");
    const std::optional<size_t> Chosen =
        UI.ChooseItem("Restore Previous Version", "Version to open:", Lines);
    if (!Chosen || *Chosen >= Versions.size())
        return;
    const THistoryEntry& Version = Versions[*Chosen];
    const std::string Target = !Version.Folder.empty() ? Version.Folder + "/" + Version.FileName
                               : FileNamePart(Current) == Version.FileName
                                   ? Current
                                   : S.LanguageDir() + Version.FileName;
    if (!OpenFile(Version.Path, Version.FileName))
        return;
    // The version is a changed, untitled document until the translator saves it, by
    // default under the name of the file it is a version of.
    SetFileName(UntitledName);
    S.FUntitled = true;
    FRestoreTarget = Target;
    // A restored version is a change: no undo leads back to a saved state.
    if (FHistory)
        FHistory->Clear(false);
    UI.SetStatusText(StatusFile,
                     "Restored version: " + Version.FileName + " of " + ShownStamp(Version.Stamp));
    SetModified(true);
}

} // namespace kav
