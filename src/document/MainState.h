#pragma once
// The document and view state of the main window, shared by reference with every logic module.

#include "document/DocumentEvents.h"
#include "document/FileKind.h"
#include "grid/Colors.h"

#include <array>
#include <cstdint>
#include <string>

namespace kav {

constexpr const char* UntitledName = "Untitled";
constexpr const char* ApplicationTitle = "Kavrino Translation Tool ";
constexpr const char* MainDefaultName = "Kavr_ENU.str";
constexpr const char* UserDefaultName = "Kavr_User_ENU.str";
constexpr int BookmarkCount = 12;

struct TMainState {
    std::string FProgramDir; // with its trailing "/"
    std::string FFileName = UntitledName;
    std::string FDefaultDir;
    std::string FDefaultFileName;
    StrFileKind FFileKind = fkNone;
    // The software a new document is made for.
    TSoftware FSoftware = TSoftware::Kavrino;
    bool FUntitled = true;
    bool FModified = false;
    bool FNewFileName = false;
    std::uint8_t FFontCharset = 0;
    // Three-letter code of the selected language (the code page of the default character set
    // follows it); empty when none was selected.
    std::string FLanguageCode;
    // Who shows the document: told when its file, language, kind or software change. The
    // document's operations raise the events; the state does not own the observer.
    IDocumentObserver* FObserver = nullptr;
    // The observer, or one that ignores every event.
    IDocumentObserver& Observer() const {
        static IDocumentObserver Nobody;
        return FObserver ? *FObserver : Nobody;
    }

    std::string FSearchText;
    std::string FFoundText;
    // Where FFoundText stands in the found cell (1-based byte position); 0 when not known.
    long long FFoundPos = 0;
    std::uint16_t FSearchOptions = 0;
    int FSearchRow = 0;
    int FSearchCol = 0;
    int FFoundRow = 0;
    int FFoundCol = 0;
    int FDialogLeft = 0;
    int FDialogTop = 0;

    int FClickedRow = 0;
    int FClickedCol = 0;
    int FClickedFixedCol = 0;
    bool FUpdatingFont = false;
    TColor FHighlightBackColor = 12632256; // silver
    TColor FHighlightFontColor = 8388608;  // navy

    // Row of each bookmark, -1 for none.
    std::array<int, BookmarkCount> Bookmarks{};

    std::string LanguageDir() const { return FProgramDir + "Language/"; }
    std::string BackupDir() const { return FProgramDir + "Backup/"; }
};

} // namespace kav
