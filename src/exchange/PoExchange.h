#pragma once
// gettext PO for translators' tools (Poedit, Weblate, Translate Toolkit): one entry per item,
// msgctxt the constant name, msgid the English, msgstr the translation, the width and font as
// extracted comments; and the import of what comes back, matched by name, as one undo step.

#include "exchange/NamedTranslations.h"

#include <QByteArray>

#include <functional>
#include <string>
#include <vector>

namespace kav {

constexpr const char* PoFilter = "PO Files (*.po)|*.po";

struct TPoExport {
    TItemFindings Findings; // the findings as "#." comments, when given
    // True for an item whose English changed since it was translated: its entry is marked
    // "#, fuzzy" (EnglishChangedIn gives the document's answer).
    std::function<bool(TItemId)> EnglishChanged;
};

// The items of Doc whose English text or width changed, or that are new, since its file was
// last saved, and that the translator has not edited or marked as reviewed since.
std::function<bool(TItemId)> EnglishChangedIn(const TDocument& Doc);

// The document as a PO file (UTF-8). An item kept in English has an empty msgstr, as gettext
// marks what is left to translate. Throws ToolError, naming the item, for a text a PO file
// cannot hold (a control character).
QByteArray WritePo(const TDocumentState& State, const TItemTable& Items,
                   const TPoExport& Options = {});

using TPoRead = TNamedTexts;
// Entries are keyed by msgctxt, else by their "#:" locations (the form xliff2po writes); the
// header, obsolete entries and flags are read and left.
TPoRead ReadPo(const QByteArray& Bytes);

// The PO file's name beside the document: "Kavr_FRA.po".
std::string PoNameOf(const TDocumentState& State);

void ExportPoFile(const std::string& Path, const TDocumentState& State, const TItemTable& Items,
                  const TPoExport& Options = {});
// Throws ToolError, before any item changes, when the file cannot be read or parsed.
TExchangeImport ImportPoFile(const std::string& Path, TDocument& Doc, UserInterface& UI);

void AskAndExportPo(const TDocument& Doc, UserInterface& UI, const TPoExport& Options);
void AskAndImportPo(TDocument& Doc, UserInterface& UI);

} // namespace kav
