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
    Untranslated,
    Numbers,
    DoubledWords,
    Consistency,
    RoomToGrow,
    Spelling,
    SourceChanged,
    TooLongFilled, // fits as written, not once the placeholders hold their samples
};
constexpr int FindingKindCount = 14;

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

class TSameWords;

struct TCheckOptions {
    TCheckSet Checks = AllChecks;
    // The document's language code ("FRA"): French puts a blank before : ; ? ! and Greek
    // writes its question mark as ;.
    std::string LanguageCode;
    // The words and texts that stay the same in the language (names, loan words): a
    // translation equal to its default made of these only is no `untranslated` finding.
    const TSameWords* SameWords = nullptr;
};

// The text checks of one item: none for an empty translation; only `untranslated` for a
// translation equal to its non-empty default that has words to translate; otherwise
// placeholders, accelerators, whitespace, punctuation, numbers and doubled words, each at most
// once.
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
// True when Text has a word a translator would translate: letters that are no code (A7),
// identifier (KP_Enter), all-caps acronym (SVG), unit (px, MHz), file extension (.png) or
// single letter.
bool HasWordsToTranslate(const QString& Text);
// True for a set of date and time fields (strftime: %d.%m.%Y, %H:%M), which a translation
// rearranges as its language writes dates.
bool IsDateTimeFormat(const QString& Text);
// The numbers of Text outside its format specifiers, digits of any script read as 0-9 and the
// group and decimal marks between digits dropped ("1,000.5" and "1 000,5" both "10005").
std::vector<QString> NumbersOf(const QString& Text);
// The words of Text: runs of letters, digits, apostrophes and hyphens inside words, with their
// position and length in Text.
struct TWordSpan {
    qsizetype Start = 0;
    qsizetype Length = 0;
};
std::vector<TWordSpan> WordsOf(const QString& Text);
// The menu accelerators: the characters after each single & (&& is a literal &); a & that ends
// the text has no character and gives a NUL.
std::vector<QChar> Accelerators(const QString& Text);

} // namespace kav
