#pragma once
// What the CAT-tool exchanges share: the language tag of a document, the unique key each item
// travels under, and the import of translations that
// come back by key as one document command, reported as imported, unchanged, skipped and
// refused with the reason for each.

#include "document/Document.h"
#include "document/TextChecks.h"
#include "document/UserInterface.h"
#include "exchange/ExchangeFiles.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

// The findings of an item the exports carry along (the checks need a measuring font
// database, which the caller owns).
using TItemFindings = std::function<std::vector<TFinding>(TItemId)>;

// The BCP 47 tag of a three-letter Windows language code ("FRA" -> "fr-FR", "ENU" -> "en-US"),
// made from the locale table's English names; "" for a code no locale has.
std::string LanguageTagOf(const std::string& Code);
// True when two tags name the same language ("fr-FR", "fr_fr" and "fr" do; "de" does not).
bool SameLanguage(const std::string& Tag, const std::string& Other);

// The item's constant name as the product's code and the language file write it ("Txt_OK");
// the table shows it without its prefix.
std::string ConstantNameOf(const TItemTable& Items, TItemId Id);

// The keys of the items, in order: the constant name, and for the second and later item of a
// name that the default file repeats, the name + "#" + its count ("Txt_OK#2"), since a unit's
// id is unique in its file.
std::vector<std::string> ItemKeys(const TItemTable& Items);

// Bytes of an item decoded for an exchange file (What names the text in the message). Throws
// ToolError, naming the item, for a control character, which XML and PO cannot hold.
QString ExchangeText(const TItemTable& Items, TItemId Id, std::string_view Bytes, int CodePage,
                     const char* What);

// A translation read from an exchange file.
struct TNamedText {
    // The names the unit may go under, most particular first: the first an item has counts.
    std::vector<std::string> Keys;
    QString Text;
    long long Line = 0;  // where the unit starts in the file
    bool HasText = true; // false for a unit without a target (or with an empty one)
};

struct TExchangeImport {
    int Units = 0;                    // units of the file that name an item
    int Imported = 0;                 // items whose translation changed
    int Unchanged = 0;                // units that gave the item's translation again
    int Skipped = 0;                  // units without a translation
    std::vector<std::string> Refused; // "line 12, Txt_OK: why", one per refused unit
};

// What the reader of an exchange file gives: its translations and the units it refused, or
// the first error (with its line), after which the file gives nothing.
struct TNamedTexts {
    std::vector<TNamedText> Texts;
    std::vector<std::string> Refused;
    std::string Error;
    long long ErrorLine = 0;
};

// Puts the texts into the translations of the items their keys name, encoded in the
// translated column's code page, through one edit named StepName (with the count). Texts the
// language file or the code page cannot hold, keys no item has and a key given twice are
// refused; refused units change nothing.
TExchangeImport ImportNamedTexts(const std::vector<TNamedText>& Texts, TDocument& Doc,
                                 UserInterface& UI, const std::string& StepName);

// The import of what a reader gave from the file at Path (Format names it in the error: "PO
// file"): ImportNamedTexts with the reader's refusals listed first. Throws ToolError naming
// the file and line, importing nothing, when the reader met an error.
TExchangeImport ImportReadTexts(const std::string& Path, const TNamedTexts& Read,
                                const std::string& Format, TDocument& Doc, UserInterface& UI,
                                const std::string& StepName);

// File > Import: the open dialog for Filter, Import of the chosen file while the window
// waits, then the summary.
void AskAndImportExchange(TDocument& Doc, UserInterface& UI, const char* Filter,
                          const std::function<TExchangeImport(const std::string& Path)>& Import);

// "Loaded PATH:\nN items imported, ..." and the refused units with their reasons.
std::string ExchangeImportSummary(const std::string& Path, const TExchangeImport& Report,
                                  const UserInterface& UI);

// The window's and kavtool's common end of an import: the summary, as a warning when a unit
// was refused.
void ReportExchangeImport(const std::string& Path, const TExchangeImport& Report,
                          UserInterface& UI);

} // namespace kav
