#pragma once
// The translation document: its items and the facts of its file (kind, language, character
// set, modified flag, bookmarks), New, Open, the loaders, Save with its backups, and the
// commands that change items, each one undo step. The grid model shows the items; the
// user-interface port talks to the user. The main window's handlers delegate here, and kavtool
// runs the same steps with its console port.

#include "document/DocumentEdit.h"
#include "document/DocumentState.h"
#include "document/FileIdentity.h"
#include "document/Items.h"
#include "document/Recovery.h"
#include "document/SourceBaseline.h"
#include "document/StrFile.h"
#include "document/UserInterface.h"
#include "grid/GridModel.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kav {

// What the name of a chosen translated file says.
struct TFileNameInfo {
    bool Accepted = false;
    StrFileKind Kind = fkNone;
    std::string Code; // upper case, cut at its last dot
};

// "Kavr_" in any letter case, at least 8 characters, extension ".str" in any case; the user
// kind starts with "Kavr_User_".
TFileNameInfo ExamineFileName(const std::string& Name);

std::string FileNamePart(const std::string& Path);
std::string FolderPart(const std::string& Path); // with its trailing "/"

// One item line of a translated file, kept with its line number for messages. The fields view
// the texts of the file they were read from.
struct TTranslatedLine {
    std::string_view Name;
    std::string_view Text;
    std::string_view Color;
    long long Line = 0;
};

// A translated file read whole. Its lines view its bytes, or, for the few lines the reader
// could not hand out from them, their copies; moving it keeps both where they are.
struct TTranslatedFile {
    TFileBytes Bytes;
    std::deque<std::string> Copies;
    std::vector<TTranslatedLine, TLargeAllocator<TTranslatedLine>> Lines;
    long long LineCount = 0; // all lines, items or not
    int CloseStatus = 0;
    std::vector<std::string> Findings; // content the reading rules left out, line by line
};

// Names of translated lines the default file lacks, in the order read.
struct TLoadReport {
    int Count = -2;     // items read from the default file; negative when it was not read
    bool Bound = false; // the document may take the file's name
    std::vector<std::string> Unmatched;
    size_t Findings = 0; // lines of the default and translated files with content not read
};

// Why File > Open would refuse a file of that name, and the rule it follows.
std::string OpenableNameRule(const std::string& Name);

// The name a document of Kind is saved under when FileName is chosen: a user document is never
// written under a main file's name, nor the reverse ("Kavr_FRA.str" <-> "Kavr_User_FRA.str").
std::string SaveTargetName(std::string FileName, StrFileKind Kind);

class TDocument {
public:
    TDocument(TStyledGridModel& Grid, UserInterface& UI);

    const TDocumentState& State() const { return S; }
    const TItemTable& Items() const { return FItems; }
    // The English the document's file was last saved against.
    const TSourceBaseline& Baseline() const { return FBaseline; }
    // The program folder (with its trailing "/"): Language/, Default/ and the default file of
    // the main kind.
    void SetFolders(const std::string& ProgramDir);
    // Keeps the product's display setting in the program folder; false with Error when the
    // file cannot be written (the setting then stays).
    bool SetProductDpi(int Dpi, std::string& Error);
    void SetObserver(IDocumentObserver* Observer) { S.FObserver = Observer; }
    // Where the steps of the commands go; none (kavtool) keeps no history.
    void SetHistory(IDocumentHistory* History) { FHistory = History; }
    IDocumentHistory* History() const { return FHistory; }

    // Commands.
    void FileNew();
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    // File > Restore Previous Version...: opens a version kept in the backup history as a
    // changed, untitled document that Save As proposes under its file's name.
    void FileRestoreVersion();
    // Opens Path as File > Open does after its dialog; false when refused.
    bool OpenPath(const std::string& Path);

    // Shell routines.
    bool QuerySaveChanges();
    void SetModified(bool Value);
    void SetFileName(const std::string& FileName);
    void ClearBookmarks();

    // ---- commands on items: each records one undo step ----------------------------------
    // A text typed into an item (its name, default text or translation).
    void EditItem(TItemId Id, TItemField Field, const std::string& Bytes);
    void SetColourMark(TItemId Id, TColor Colour);
    // Edit > Paste: texts into the translations of items, one step; refused whole (a beep and
    // a message naming the item) when one of them holds what the file cannot.
    void PasteTranslations(const std::vector<std::pair<TItemId, std::string>>& Texts);
    // The pop-up's mark commands on one item or on all of them.
    void UndoReplacement(TItemId Id);
    void AcceptReplacement(TItemId Id);
    void UndoAllReplacements();
    void AcceptAllReplacements();
    // The pop-up's "Mark as reviewed": the item's translation fits its English as it is now;
    // the next save keeps that English for it.
    void MarkReviewed(TItemId Id);
    // Undo (Undo true) or redo of a recorded step: the items get its states back.
    void ApplyStep(const TDocumentStep& Step, bool Undo);

    // Bookmark N (1 to 12) of Row: set on Row, moved there from another row, or removed when
    // Row had it. Column 1 shows it.
    void ToggleBookmark(int N, int Row);
    // The row of bookmark N, -1 when free.
    int BookmarkRow(int N) const;
    bool CheckDefaultFile(StrFileKind Kind);
    // Whether FDefaultFileName can be opened for reading; reports why not.
    bool DefaultFileOpens();

    // Loaders. LoadFile returns whether the document took FileName as its file.
    bool LoadFile(const std::string& FileName);
    int LoadDocument(const std::string& FileName);
    // Items read from the default file into an untitled table; -2 when the file is missing or
    // cannot be opened (table unchanged), -1 when a damaged file stopped the reading (the table
    // holds the items read before).
    int NewDocument();
    // Writes the table for the document kind; false when nothing was written.
    bool SaveFile(std::string FileName);
    // SaveFile to a file the document may not have yet, as Save As does once the name is
    // chosen.
    bool SaveNewFile(const std::string& FileName);

    // The document's values, which the window shows through the observer's events.
    // The user picked a language (three-letter code): the character set of the translated
    // texts follows it.
    void SetLanguage(const std::string& Code);
    // The language the language box shows at start-up: taken without telling the observer.
    void AdoptLanguage(const std::string& Code);
    // The user picked a character set for the translated texts.
    void SetCharset(std::uint8_t Charset);
    // The software that File > New makes a document for: the user's pick, or an opened
    // file's kind.
    void SetSoftware(TSoftware Software);
    // Which codes of a file's name are languages the program offers; an opened file with any
    // other code keeps the document's language. Every code when not set.
    void SetLanguageOffer(std::function<bool(const std::string&)> Offered);

    // ---- the file on disk -----------------------------------------------------------------
    // Whether the document notices another program's change to its file: the window does;
    // kavtool, whose runs last a moment, does not.
    void WatchDiskFile(bool On) { FWatchDisk = On; }
    // Asks what to do when the document's file was changed or deleted on disk since the
    // document last read or wrote it: reload it, keep this version (the next save writes it),
    // or save this version under another name. BeforeSave: the save about to write the file
    // goes on only when true is returned.
    bool CheckDiskFile(bool BeforeSave);

    // ---- recovery copies of unsaved work (the window's; kavtool never writes one) ---------
    void KeepRecoveryCopies(bool On) { FRecoveryCopies = On; }
    // Writes the copy of a modified document into Backup/Recovery/; an empty text, or what
    // went wrong (naming the copy).
    std::string WriteRecoveryCopy();
    // Offers the copies left by a session that ended without saving, newest first, until one
    // is taken: "Recover unsaved changes of ... from HH:MM?" Yes puts its texts into that
    // document as one step, No discards the copy, Later keeps it for the next start.
    void OfferRecoveryCopies();

    const TLoadReport& LastLoad() const { return FLastLoad; }
    // Lines with content not read in the files of the last New (default file only).
    size_t NewDocumentFindings() const { return FLastFindings; }
    // The last save was refused because the format cannot hold some items.
    bool SaveRefused() const { return FSaveRefused; }
    // Counts the times the table was rebuilt from files (New, Open, the read-back after a
    // save): what the table held before is gone.
    long long TableLoads() const { return FTableLoads; }

private:
    friend class TDocumentEdit;
    // A command's edit closed with changes: it goes into the history.
    void StepMade(TDocumentStep Step, const std::vector<TItemId>& Changed);
    // Reads FileName whole; reports a failure (naming the file and line) and gives nothing.
    bool OpenFile(const std::string& Path, const std::string& Name);
    std::optional<TTranslatedFile> ReadTranslated(const std::string& FileName);
    // Read is the translated file already read, or null to read FileName here.
    bool LoadFile(const std::string& FileName, const TTranslatedFile* Read);
    TLoadReport ReadDocument(const std::string& FileName, const TTranslatedFile* Given);
    // Progress hears how many of the Expected items are read.
    void ReadDefaultItems(StrLineReader& Reader, std::vector<std::string>& Findings,
                          TProgress& Progress, size_t Expected);
    // The default file as the table last took it in: while the file keeps its size and time
    // and the table's default columns and rows stay as they were, the read-back after a save
    // keeps those columns instead of reading the file again.
    struct TDefaultRead {
        std::string Path;
        std::uintmax_t Size = 0;
        std::filesystem::file_time_type Time;
        std::vector<std::string> Findings;
        int RowCount = 0;
        std::uint64_t Revision = 0;
    };
    std::uint64_t DefaultColumnsRevision() const;
    bool DefaultColumnsIntact() const;
    bool DefaultFileUnchanged() const;
    void KeepDefaultItems();
    // What a save must read back for the history to stay valid: each item's name, translation
    // and colour mark (replacement marks are not saved), as one 64-bit print of them in order:
    // two copies of every text of a large table took a fifth of a save.
    std::uint64_t SavedContent() const;
    void ReportFindings(const std::string& Path, const std::vector<std::string>& Findings);
    std::string DefaultFileOf(const std::string& Name) const;
    bool PlaceTranslations(const std::string& FileName, std::vector<std::string>& Unmatched);
    void ReportUnmatched(const std::vector<std::string>& Unmatched);
    bool MakeBackups(const std::string& Target, std::vector<std::string>& Skipped);
    // Every item with a name, as views of its texts; the others are listed in Dropped.
    std::vector<StrWriteItem> ItemsToWrite(std::vector<std::string>& Dropped) const;
    std::vector<std::string> NamesNotInDefault(const std::vector<StrWriteItem>& Items) const;
    bool ConfirmNamesNotInDefault(const std::vector<StrWriteItem>& Items);
    bool ConfirmDropped(const std::vector<std::string>& Dropped);
    // Keeps the history valid across the read-back of a save (see SavedContent).
    void KeepHistoryAfterSave(std::optional<std::uint64_t> Written);
    void Warn(const std::string& Text);
    void Error(const std::string& Text);
    void SelectDefaultFile(StrFileKind Kind);
    void ChangeKind(StrFileKind Kind);
    // The language an opened file's name gives, when the program offers it.
    void SelectFileLanguage(const std::string& Code);

    TDocumentState S;
    TStyledGridModel& Grid;
    UserInterface& UI;
    TItemTable FItems{Grid};
    TSourceBaseline FBaseline;
    // An item was marked as reviewed since the file was read: that is in no undo step, so
    // undoing back to the saved state must not call the document unmodified.
    bool FReviewsUnsaved = false;
    IDocumentHistory* FHistory = nullptr;
    std::function<bool(const std::string&)> FLanguageOffered;
    TLoadReport FLastLoad;
    size_t FLastFindings = 0;
    bool FSaveRefused = false;
    long long FTableLoads = 0;
    // The file whose last load was not taken (its translations are not in the table).
    std::string FUnloadedPath;
    // The document's file as it was read or written last; taken anew after each question.
    TFileIdentity FDiskFile;
    bool FWatchDisk = false;
    bool FRecoveryCopies = false;
    bool FOfferingRecovery = false;
    // Offers one copy; true when it was taken.
    bool OfferRecoveryCopy(const TRecoveryCopy& Copy);
    // Opens the document a copy was made of (its file, or a new one); false when refused.
    bool OpenDocumentOf(const TRecoveryCopy& Copy);
    void TakeRecoveryCopy(const TRecoveryCopy& Copy);
    void DiscardRecoveryCopy(const std::string& FileName);
    bool FCheckingDisk = false;
    // The file a restored version belongs to, proposed by Save As.
    std::string FRestoreTarget;
    std::optional<TDefaultRead> FDefaultRead;
    // Set by a save whose table held the default file's items unchanged.
    bool FReuseDefault = false;
    // The load in progress reads back the file a save has just written.
    bool FReadingBack = false;
};

} // namespace kav
