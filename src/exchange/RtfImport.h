#pragma once
// Bulk writes into the translations: the import of an RTF document by item number within a
// range of items, and the fill of every item with one text. Both are document commands: one
// undo step each, the document modified when they change an item.

#include "document/Document.h"
#include "document/UserInterface.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kav {

constexpr const char* RtfFilter = "RTF Files (*.RTF)|*.RTF";

// The texts of the masked range boxes MaskEditFrom and MaskEditTo.
struct TImportRange {
    std::string From = "00001";
    std::string To = "00001";
};

struct TItemRange {
    std::int32_t From = 0;
    std::int32_t To = 0;
};

struct TImportReport {
    int Taken = 0;   // items that found their row within the range
    int Changed = 0; // cells whose text changed
    int Skipped = 0; // items of the range whose text is empty or only digits
    // "Item 12: The character ..." for every item the column's code page cannot hold.
    std::vector<std::string> Refused;
};

// The range as numbers, or a refusal (beep and message) when a box does not hold an integer.
std::optional<TItemRange> CheckImportRange(const TImportRange& Range, UserInterface& UI);

// The item lines of a document: an item starts at a line (never line 0, the title) whose
// first tab field is a number and runs up to the next such line; its non-numeric fields are
// joined with blanks and go, trimmed and encoded in CodePage, through Edit into the
// translation of the item with that number, when the number lies in Range.
TImportReport FillFromLines(const std::vector<QString>& Lines, TDocumentEdit& Edit, int CodePage,
                            TItemRange Range);

// Reads the document at Path and imports it as one step. Throws ToolError, before any item
// changes, when the file cannot be read or is damaged; the refused items are in the report.
TImportReport ImportRtfFile(const std::string& Path, TDocument& Doc, UserInterface& UI,
                            TItemRange Range);

// "These items were not imported ..." with every refused item, when there is one.
void ReportRefused(const std::vector<std::string>& Refused, UserInterface& UI);

// What the Load button tells at the end: items imported, unchanged, skipped and refused (with
// the reasons, at most UI.ListLimit() of them).
std::string ImportSummary(const std::string& Path, const TImportReport& Report,
                          const UserInterface& UI);

// Checks the range, asks for the document, imports it and ends with the summary: the editor's
// "Load from RTF file" button.
void AskAndImportRtf(TDocument& Doc, UserInterface& UI, const TImportRange& Range);

// Sets every translation to FillText (UTF-8, taken as typed): the editor's "Fill all fields of
// Translated Language" button once confirmed, and kavtool fill. Refuses a text the translated
// column's code page cannot hold. Returns the items changed.
int FillTranslations(TDocument& Doc, UserInterface& UI, const std::string& FillText);

// The editor's Fill button: asks "Fill all N translations with 'X'?" first, since one click
// replaces every translation; No changes nothing. Returns the items changed.
int ConfirmAndFillTranslations(TDocument& Doc, UserInterface& UI, const std::string& FillText);

} // namespace kav
