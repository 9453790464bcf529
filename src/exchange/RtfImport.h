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

// The numbers of the range boxes: zero-padded to at least five digits, and as wide as the last
// of ItemCount items needs ("00344" of 344 items, "000001" of 100 000).
std::string ItemNumberText(long long Number, int ItemCount);
// The "Items: To" box after a load: the last item's number ("00344", "100000").
std::string LastItemText(const TStyledGridModel& Grid);
// The input mask of both range boxes: one digit place per digit of the numbers ("000000;#").
std::string ItemRangeMask(int ItemCount);

// Which document of the RTF export a text is, told by its heading line ("Item", a tab and the
// language line); a document of any other origin reads as a translation document.
enum class TRtfDocumentKind { Translation, Bilingual, English };
TRtfDocumentKind RtfDocumentKindOf(const std::vector<QString>& Lines);

struct TImportReport {
    int Taken = 0;   // items that found their row within the range
    int Changed = 0; // cells whose text changed
    int Skipped = 0; // items of the range whose text is empty or only digits
    // "Item 12: The character ..." for every item the column's code page or the language file
    // cannot hold.
    std::vector<std::string> Refused;
};

// The range as numbers, or a refusal (beep and message) when a box does not hold an integer.
std::optional<TItemRange> CheckImportRange(const TImportRange& Range, UserInterface& UI);

// The item lines of a document: an item starts at a line (never line 0, the title) whose
// first tab field is a number and runs up to the next such line; its non-numeric fields are
// joined with blanks and go, trimmed and encoded in CodePage, through Edit into the
// translation of the item with that number, when the number lies in Range. In the bilingual
// document the item's first line is the English text and only the lines after it count; the
// English document gives nothing.
// Progress, when given, hears how many of the lines are read.
TImportReport FillFromLines(const std::vector<QString>& Lines, TDocumentEdit& Edit, int CodePage,
                            TItemRange Range, TProgress* Progress = nullptr);

// Reads the document at Path and imports it as one step. Throws ToolError, before any item
// changes, when the file cannot be read, is damaged or is the English document of the export
// (the message names the documents to load instead); the refused items are in the report.
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
