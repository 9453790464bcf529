#pragma once
// The quality checks of a translation against its default text: what must survive translation
// (format specifiers, menu accelerators, the blanks a layout depends on, the final punctuation)
// and how full the product's space for the text is. Widget-free: the grid's markers, its
// status bar and kavtool's reports all ask these functions, so they cannot disagree.

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

// Every kind of finding; the names (KindName) are what every report prints.
enum class TFindingKind {
    TooLong,
    Crowded,
    Placeholders,
    Accelerators,
    Whitespace,
    Punctuation,
    Untranslated
};
constexpr int FindingKindCount = 7;

enum class TSeverity { Info, Warning, Error };

struct TFinding {
    TFindingKind Kind = TFindingKind::TooLong;
    TSeverity Severity = TSeverity::Error;
    std::string Message; // UTF-8, one line
};

const char* KindName(TFindingKind Kind);
const char* SeverityName(TSeverity Severity);
std::optional<TFindingKind> KindOfName(std::string_view Name);
TSeverity SeverityOf(TFindingKind Kind);

// A set of checks as a bit mask (bit = the kind's number).
using TCheckSet = unsigned;
constexpr TCheckSet AllChecks = (1u << FindingKindCount) - 1;
constexpr TCheckSet CheckBit(TFindingKind Kind) {
    return 1u << static_cast<unsigned>(Kind);
}
// "placeholders,accelerators" -> their set; nullopt (with Error naming the unknown check) for
// a name that is no kind.
std::optional<TCheckSet> ParseCheckList(std::string_view List, std::string& Error);

struct TCheckOptions {
    TCheckSet Checks = AllChecks;
    // The document's language code ("FRA"): French puts a blank before : ; ? ! and Greek
    // writes its question mark as ;.
    std::string LanguageCode;
};

// The text checks of one item: none for an empty translation; only `untranslated` for a
// translation equal to its non-empty default; otherwise placeholders, accelerators,
// whitespace and punctuation, each at most once.
std::vector<TFinding> CheckTranslation(const QString& Default, const QString& Translated,
                                       const TCheckOptions& Options);

// How full the space is: Measured / Allowed x 100, rounded down (at least 101 for a text wider
// than its space); 0 for an empty text, -1 for a text where no space is allowed.
int WidthPercent(int Allowed, int Measured);
// `too-long` when the text is wider than its space, `crowded` when it fills 90 to 100 % of it.
std::vector<TFinding> CheckWidth(int Allowed, int Measured, TCheckSet Checks = AllChecks);

// The building blocks, for the tests and the messages.
// The format specifiers of Text in order of appearance: printf (with flags, width, precision
// and positions, %% included), Windows message inserts (%1, %1!d!) and indexed ones (%0:s).
std::vector<QString> FormatSpecifiers(const QString& Text);
// The menu accelerators: the characters after each single & (&& is a literal &); a & that ends
// the text has no character and gives a NUL.
std::vector<QChar> Accelerators(const QString& Text);

} // namespace kav
