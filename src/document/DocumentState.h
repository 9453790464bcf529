#pragma once
// The facts of the document beside its items: its file and folders, kind, software, language
// and character set, whether it changed since it was loaded or saved, and its bookmarks. The
// document owns them and changes them; everyone else reads them through it.

#include "document/DocumentEvents.h"
#include "document/FileKind.h"

#include <array>
#include <cstdint>
#include <string>

namespace kav {

constexpr const char* UntitledName = "Untitled";
constexpr const char* ApplicationTitle = "Kavrino Translation Tool ";
constexpr const char* MainDefaultName = "Kavr_ENU.str";
constexpr const char* UserDefaultName = "Kavr_User_ENU.str";
constexpr int BookmarkCount = 12;

struct TDocumentState {
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
    // The display setting of the product (Product.ini of the program folder) that the widths
    // are checked at; 96 dpi is the default file's own.
    int FProductDpi = 96;
    // Who shows the document: told when its file, language, kind, software or items change.
    // The document's operations raise the events; the state does not own the observer.
    IDocumentObserver* FObserver = nullptr;
    // The observer, or one that ignores every event.
    IDocumentObserver& Observer() const {
        static IDocumentObserver Nobody;
        return FObserver ? *FObserver : Nobody;
    }

    // Row of each bookmark, -1 for none.
    std::array<int, BookmarkCount> Bookmarks{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

    std::string LanguageDir() const { return FProgramDir + "Language/"; }
    std::string BackupDir() const { return FProgramDir + "Backup/"; }
};

} // namespace kav
