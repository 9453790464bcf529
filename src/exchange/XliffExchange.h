#pragma once
// XLIFF 1.2 for CAT tools (OmegaT, memoQ, Trados, Weblate): one <file> per document and one
// <trans-unit> per item, keyed by the constant name, carrying the item's pixel width and font
// so that the tools' length checks measure what the product allows; and the import of what
// comes back, matched by name, as one undo step.

#include "exchange/NamedTranslations.h"

#include <QByteArray>

#include <string>
#include <vector>

namespace kav {

constexpr const char* XliffFilter = "XLIFF Files (*.xlf;*.xliff)|*.xlf;*.xliff";

// The document as XLIFF 1.2 (UTF-8). Findings, when given, become the units' notes and put
// units with an error into "needs-review-translation". Throws ToolError, naming the item,
// for a text XML cannot hold (a control character).
QByteArray WriteXliff(const TDocumentState& State, const TItemTable& Items,
                      const TItemFindings& Findings = {});

// What an XLIFF file gives back: the target of every unit, by key (its resname, its id, or
// the location a PO round trip keeps it under); empty Error when it was read.
using TXliffRead = TNamedTexts;
// TargetTag: the document's language tag; a <file> of another target language is refused.
TXliffRead ReadXliff(const QByteArray& Bytes, const std::string& TargetTag);

// The XLIFF file's name beside the document: "Kavr_FRA.xlf".
std::string XliffNameOf(const TDocumentState& State);

// Writes the document's XLIFF to Path; throws ToolError.
void ExportXliffFile(const std::string& Path, const TDocumentState& State, const TItemTable& Items,
                     const TItemFindings& Findings = {});
// Reads the file at Path and imports its targets as one step; throws ToolError, before any
// item changes, when the file cannot be read or is no well-formed XLIFF.
TExchangeImport ImportXliffFile(const std::string& Path, TDocument& Doc, UserInterface& UI);

// The window's File > Export > XLIFF and File > Import > XLIFF: the dialog, the work, the
// message.
void AskAndExportXliff(const TDocument& Doc, UserInterface& UI, const TItemFindings& Findings);
void AskAndImportXliff(TDocument& Doc, UserInterface& UI);

} // namespace kav
