#pragma once
// The RTF export of the translation table: three documents (bilingual, translation only,
// English only) in the program's RTF/ folder, each older one kept under ".BAK", and a summary
// of what was saved.

#include "document/DocumentState.h"
#include "document/Items.h"
#include "document/UserInterface.h"

#include <array>
#include <string>

namespace kav {

// What the export reads from the main window's controls when the button is pressed.
struct TRtfExportControls {
    std::string Software;           // cbxSoftware's text ("Kavrino", "Pelmor")
    std::string LanguageEntry;      // the selected LanguageBox entry, empty when none
    std::string LanguageCaption;    // the translated header cell (column 5, row 1), as bytes
    std::string FontName = "Arial"; // the tool bar's FontName entry
    int FontSize = 8;               // the number in the tool bar's FontSize box
};

// Per document (bilingual, translation, English): the full path saved and the backup's file
// name; empty for a document not saved or without a backup.
struct TRtfExportFiles {
    std::array<std::string, 3> Paths;
    std::array<std::string, 3> Backups;
};

constexpr const char* EnglishLanguageLine = "ENU - English (United State)";

// The three documents into the program folder's RTF/ (made when missing; ToolError "Cannot
// create " + folder when it cannot), named after the software; returns what was saved. The
// editor's "Save to RTF file" button and kavtool export-rtf.
TRtfExportFiles ExportRtfFiles(const TDocumentState& State, const TItemTable& Items,
                               UserInterface& UI, const TRtfExportControls& Controls);

// Writes the three documents named after BaseName (".../RTF/Kavrino.rtf" gives
// Kavrino_ENU_To_FRA.rtf, Kavrino_FRA.rtf, Kavrino_ENU.rtf) and shows the summary, also when
// an error stops it; the error is then passed on. Does nothing when the first item has no
// constant.
TRtfExportFiles ExportRtfDocuments(const std::string& BaseName, const TDocumentState& State,
                                   const TItemTable& Items, UserInterface& UI,
                                   const TRtfExportControls& Controls);

std::string ExportSummary(const TRtfExportFiles& Files);

// Path with its extension replaced by ".BAK".
std::string BackupPathOf(const std::string& Path);

} // namespace kav
