#pragma once
// The translation document: New, Open, the loaders and Save with its backups, on the grid
// model and the user-interface port. The main window's handlers delegate here, and kavtool runs
// the same steps with its console port.

#include "document/MainState.h"
#include "document/StrFile.h"
#include "document/UserInterface.h"
#include "grid/GridModel.h"

#include <optional>
#include <string>
#include <vector>

namespace kav {

// What the name of a chosen translated file says.
struct TFileNameInfo {
    bool Accepted = false;
    int Kind = 0;     // 1 user file, 2 main file
    std::string Code; // upper case, cut at its last dot
};

// "Kavr_" in any letter case, at least 8 characters, extension ".str" in any case; the user
// kind starts with "Kavr_User_".
TFileNameInfo ExamineFileName(const std::string& Name);

std::string FileNamePart(const std::string& Path);
std::string FolderPart(const std::string& Path); // with its trailing "/"

// One item line of a translated file, kept with its line number for messages.
struct TTranslatedLine {
    std::string Name;
    std::string Text;
    std::string Color;
    long long Line = 0;
};

// A translated file read whole.
struct TTranslatedFile {
    std::vector<TTranslatedLine> Lines;
    long long LineCount = 0; // all lines, items or not
    int CloseStatus = 0;
};

// Names of translated lines the default file lacks, in the order read.
struct TLoadReport {
    int Count = -2;     // items read from the default file; negative when it was not read
    bool Bound = false; // the document may take the file's name
    std::vector<std::string> Unmatched;
};

class TDocument {
public:
    TDocument(TMainState& State, TStyledGridModel& Grid, UserInterface& UI);

    // Commands.
    void FileNew();
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    // Opens Path as File > Open does after its dialog; false when refused.
    bool OpenPath(const std::string& Path);

    // Shell routines.
    bool QuerySaveChanges();
    void SetModified(bool Value);
    void SetFileName(const std::string& FileName);
    void ClearBookmarks();
    bool CheckDefaultFile(int Kind);
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

    const TLoadReport& LastLoad() const { return FLastLoad; }

private:
    // Reads FileName whole; reports a failure (naming the file and line) and gives nothing.
    std::optional<TTranslatedFile> ReadTranslated(const std::string& FileName);
    // Read is the translated file already read, or null to read FileName here.
    bool LoadFile(const std::string& FileName, const TTranslatedFile* Read);
    TLoadReport ReadDocument(const std::string& FileName, const TTranslatedFile* Given);
    void ReadDefaultItems(StrLineReader& Reader, int& Row);
    bool PlaceTranslations(const std::string& FileName, std::vector<std::string>& Unmatched);
    void ReportUnmatched(const std::vector<std::string>& Unmatched);
    bool MakeBackups();
    std::vector<StrWriteItem> ItemsToWrite() const;
    void Warn(const std::string& Text);
    void Error(const std::string& Text);
    void SelectDefaultFile(int Kind);

    TMainState& S;
    TStyledGridModel& Grid;
    UserInterface& UI;
    TLoadReport FLastLoad;
};

} // namespace kav
