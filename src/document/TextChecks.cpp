#include "document/TextChecks.h"

#include <algorithm>
#include <array>

namespace kav {

namespace {

struct TKindInfo {
    TFindingKind Kind;
    const char* Name;
    TSeverity Severity;
};

constexpr std::array<TKindInfo, FindingKindCount> KindTable{{
    {TFindingKind::TooLong, "too-long", TSeverity::Error},
    {TFindingKind::Crowded, "crowded", TSeverity::Info},
    {TFindingKind::Placeholders, "placeholders", TSeverity::Error},
    {TFindingKind::Accelerators, "accelerators", TSeverity::Error},
    {TFindingKind::Whitespace, "whitespace", TSeverity::Warning},
    {TFindingKind::Punctuation, "punctuation", TSeverity::Warning},
    {TFindingKind::Untranslated, "untranslated", TSeverity::Warning},
}};

bool Wanted(TCheckSet Checks, TFindingKind Kind) {
    return (Checks & CheckBit(Kind)) != 0;
}

TFinding Make(TFindingKind Kind, const std::string& Message) {
    return {Kind, SeverityOf(Kind), Message};
}

bool IsDigit(QChar C) {
    return C >= u'0' && C <= u'9';
}

// Index past the digits from I.
qsizetype SkipDigits(const QString& T, qsizetype I) {
    while (I < T.size() && IsDigit(T[I]))
        ++I;
    return I;
}

// Precision, length modifier and conversion of a printf specifier from I; the index past the
// conversion, or -1 when the text there is no specifier's end.
qsizetype PrintfTail(const QString& T, qsizetype I) {
    if (I < T.size() && T[I] == u'.') {
        ++I;
        if (I < T.size() && T[I] == u'*')
            ++I;
        else
            I = SkipDigits(T, I);
    }
    static const char* const Lengths[] = {"I64", "I32", "hh", "ll", "h", "l",
                                          "L",   "q",   "j",  "z",  "t", "I"};
    for (const char* Length : Lengths) {
        const QLatin1StringView L(Length);
        if (QStringView(T).mid(I).startsWith(L)) {
            I += L.size();
            break;
        }
    }
    static const QString Conversions = QStringLiteral("diouxXeEfFgGaAcsSCpn");
    if (I < T.size() && Conversions.contains(T[I]))
        return I + 1;
    return -1;
}

// Flags, width and the tail of a printf specifier from I (after % or after a position's $).
qsizetype PrintfBody(const QString& T, qsizetype I) {
    // No blank flag: "50% done" is prose, not "% d".
    while (I < T.size() && QStringLiteral("-+#0").contains(T[I]))
        ++I;
    if (I < T.size() && T[I] == u'*')
        ++I;
    else
        I = SkipDigits(T, I);
    return PrintfTail(T, I);
}

// Length of the specifier at the % at I, 0 when that % starts none.
qsizetype SpecifierLength(const QString& T, qsizetype I) {
    const qsizetype J = I + 1;
    if (J >= T.size())
        return 0;
    if (T[J] == u'%')
        return 2;
    const qsizetype K = SkipDigits(T, J);
    if (K == J) {
        const qsizetype End = PrintfBody(T, J);
        return End < 0 ? 0 : End - I;
    }
    if (K < T.size() && T[K] == u'!') { // %1!d!: an insert with its printf format
        const qsizetype Close = T.indexOf(u'!', K + 1);
        if (Close > K + 1)
            return Close + 1 - I;
        return K - I;
    }
    if (K < T.size() && T[K] == u'$') { // %1$s: a positional printf specifier
        const qsizetype End = PrintfBody(T, K + 1);
        return End < 0 ? 0 : End - I;
    }
    if (K < T.size() && T[K] == u':') { // %0:s, %1:-10d: an indexed specifier
        qsizetype L = K + 1;
        if (L < T.size() && T[L] == u'-')
            ++L;
        L = SkipDigits(T, L);
        if (L < T.size() && T[L] == u'.')
            L = SkipDigits(T, L + 1);
        if (L < T.size() && T[L].isLetter())
            return L + 1 - I;
        return 0;
    }
    // Digits and a conversion are a printf width (%5d, %5.2f); digits alone a Windows insert.
    const qsizetype End = PrintfTail(T, K);
    return End < 0 ? K - I : End - I;
}

enum class TFinal { None, Period, Colon, Ellipsis, Question, Exclamation };

const char* FinalName(TFinal Final) {
    switch (Final) {
    case TFinal::Period:
        return "a period";
    case TFinal::Colon:
        return "a colon";
    case TFinal::Ellipsis:
        return "an ellipsis";
    case TFinal::Question:
        return "a question mark";
    case TFinal::Exclamation:
        return "an exclamation mark";
    default:
        return "no punctuation";
    }
}

bool IsBlank(QChar C) {
    return C.isSpace(); // space, tab, no-break spaces
}

QString TrimmedRight(const QString& T) {
    qsizetype End = T.size();
    while (End > 0 && IsBlank(T[End - 1]))
        --End;
    return T.left(End);
}

bool IsGreek(const std::string& Code) {
    return Code.size() >= 2 && (Code.compare(0, 2, "EL") == 0 || Code.compare(0, 2, "el") == 0);
}

bool IsFrench(const std::string& Code) {
    return Code.size() >= 2 && (Code.compare(0, 2, "FR") == 0 || Code.compare(0, 2, "fr") == 0);
}

TFinal FinalOf(const QString& Text, bool Greek) {
    const QString T = TrimmedRight(Text);
    if (T.endsWith(QStringLiteral("...")) || T.endsWith(QChar(0x2026)))
        return TFinal::Ellipsis;
    if (T.isEmpty())
        return TFinal::None;
    switch (T.back().unicode()) {
    case u'.':
    case 0x3002: // ideographic full stop
        return TFinal::Period;
    case u':':
    case 0xFF1A:
        return TFinal::Colon;
    case u'?':
    case 0xFF1F:
    case 0x061F: // Arabic question mark
    case 0x037E: // Greek question mark
        return TFinal::Question;
    case u';':
        return Greek ? TFinal::Question : TFinal::None;
    case u'!':
    case 0xFF01:
        return TFinal::Exclamation;
    default:
        return TFinal::None;
    }
}

// True when the text ends with a blank before : ; ? or ! (French typography).
bool BlankBeforeFinal(const QString& Text) {
    const QString T = TrimmedRight(Text);
    return T.size() >= 2 && QStringLiteral(":;?!").contains(T.back()) && IsBlank(T[T.size() - 2]);
}

QString LeadingBlanks(const QString& T) {
    qsizetype I = 0;
    while (I < T.size() && IsBlank(T[I]))
        ++I;
    return T.left(I);
}

QString TrailingBlanks(const QString& T) {
    return T.mid(TrimmedRight(T).size());
}

bool HasDoubledBlank(const QString& T) {
    const QString Inner = T.trimmed();
    for (qsizetype I = 1; I < Inner.size(); ++I)
        if (IsBlank(Inner[I]) && IsBlank(Inner[I - 1]))
            return true;
    return false;
}

std::string Joined(const std::vector<QString>& Items) {
    QStringList List(Items.begin(), Items.end());
    return List.join(u' ').toStdString();
}

// What one multiset has beyond the other (both sorted).
std::vector<QString> Beyond(const std::vector<QString>& A, const std::vector<QString>& B) {
    std::vector<QString> Out;
    std::set_difference(A.begin(), A.end(), B.begin(), B.end(), std::back_inserter(Out));
    return Out;
}

std::optional<TFinding> CheckPlaceholders(const QString& Default, const QString& Translated) {
    std::vector<QString> D = FormatSpecifiers(Default);
    std::vector<QString> T = FormatSpecifiers(Translated);
    std::sort(D.begin(), D.end());
    std::sort(T.begin(), T.end());
    if (D == T)
        return std::nullopt;
    std::string Message = "format specifiers differ:";
    if (const auto Missing = Beyond(D, T); !Missing.empty())
        Message += " missing " + Joined(Missing);
    if (const auto Extra = Beyond(T, D); !Extra.empty())
        Message += std::string(Message.back() == ':' ? "" : ";") + " extra " + Joined(Extra);
    return Make(TFindingKind::Placeholders, Message);
}

std::optional<TFinding> CheckAccelerators(const QString& Default, const QString& Translated) {
    const std::vector<QChar> D = Accelerators(Default);
    const std::vector<QChar> T = Accelerators(Translated);
    if (D.size() != T.size())
        return Make(TFindingKind::Accelerators, "the default has " + std::to_string(D.size()) +
                                                    " accelerator(s) (&), the translation " +
                                                    std::to_string(T.size()));
    // A default whose & is followed by no letter uses it as prose ("R & D"), not as a key.
    for (size_t I = 0; I < T.size(); ++I)
        if (!T[I].isLetterOrNumber() && D[I].isLetterOrNumber())
            return Make(TFindingKind::Accelerators,
                        T[I].isNull() ? std::string("the accelerator & ends the translation")
                                      : "the accelerator &" + QString(T[I]).toStdString() +
                                            " is not a letter or digit");
    return std::nullopt;
}

std::optional<TFinding> CheckWhitespace(const QString& Default, const QString& Translated) {
    std::vector<std::string> Problems;
    if (LeadingBlanks(Default) != LeadingBlanks(Translated))
        Problems.push_back("leading blanks differ");
    if (TrailingBlanks(Default) != TrailingBlanks(Translated))
        Problems.push_back("trailing blanks differ");
    if (HasDoubledBlank(Translated) && !HasDoubledBlank(Default))
        Problems.push_back("doubled blank the default does not have");
    if (Problems.empty())
        return std::nullopt;
    std::string Message = Problems[0];
    for (size_t I = 1; I < Problems.size(); ++I)
        Message += "; " + Problems[I];
    return Make(TFindingKind::Whitespace, Message);
}

std::optional<TFinding> CheckPunctuation(const QString& Default, const QString& Translated,
                                         const std::string& Code) {
    const TFinal D = FinalOf(Default, false);
    const TFinal T = FinalOf(Translated, IsGreek(Code));
    if (D != T)
        return Make(TFindingKind::Punctuation, std::string("the default ends with ") +
                                                   FinalName(D) + ", the translation with " +
                                                   FinalName(T));
    if (BlankBeforeFinal(Translated) && !BlankBeforeFinal(Default) && !IsFrench(Code))
        return Make(TFindingKind::Punctuation,
                    "a blank before the final " +
                        QString(TrimmedRight(Translated).back()).toStdString());
    return std::nullopt;
}

} // namespace

const char* KindName(TFindingKind Kind) {
    return KindTable[static_cast<size_t>(Kind)].Name;
}

TSeverity SeverityOf(TFindingKind Kind) {
    return KindTable[static_cast<size_t>(Kind)].Severity;
}

const char* SeverityName(TSeverity Severity) {
    switch (Severity) {
    case TSeverity::Error:
        return "error";
    case TSeverity::Warning:
        return "warning";
    default:
        return "info";
    }
}

std::optional<TFindingKind> KindOfName(std::string_view Name) {
    for (const TKindInfo& Info : KindTable)
        if (Name == Info.Name)
            return Info.Kind;
    return std::nullopt;
}

std::optional<TCheckSet> ParseCheckList(std::string_view List, std::string& Error) {
    TCheckSet Set = 0;
    while (!List.empty()) {
        const size_t Comma = List.find(',');
        const std::string_view Name = List.substr(0, Comma);
        const std::optional<TFindingKind> Kind = KindOfName(Name);
        if (!Kind) {
            Error = "unknown check \"" + std::string(Name) + "\"";
            return std::nullopt;
        }
        Set |= CheckBit(*Kind);
        List = Comma == std::string_view::npos ? std::string_view() : List.substr(Comma + 1);
    }
    if (Set == 0) {
        Error = "no check named";
        return std::nullopt;
    }
    return Set;
}

std::vector<QString> FormatSpecifiers(const QString& Text) {
    std::vector<QString> Found;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] != u'%')
            continue;
        const qsizetype Length = SpecifierLength(Text, I);
        if (Length > 0) {
            Found.push_back(Text.mid(I, Length));
            I += Length - 1;
        }
    }
    return Found;
}

std::vector<QChar> Accelerators(const QString& Text) {
    std::vector<QChar> Found;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] != u'&')
            continue;
        if (I + 1 < Text.size() && Text[I + 1] == u'&') {
            ++I; // && is a literal &
            continue;
        }
        Found.push_back(I + 1 < Text.size() ? Text[I + 1] : QChar());
        ++I;
    }
    return Found;
}

std::vector<TFinding> CheckTranslation(const QString& Default, const QString& Translated,
                                       const TCheckOptions& Options) {
    std::vector<TFinding> Findings;
    if (Translated.isEmpty())
        return Findings;
    if (!Default.isEmpty() && Default == Translated) {
        if (Wanted(Options.Checks, TFindingKind::Untranslated))
            Findings.push_back(
                Make(TFindingKind::Untranslated, "the translation equals the default text"));
        return Findings;
    }
    const auto Add = [&](TFindingKind Kind, std::optional<TFinding> Finding) {
        if (Wanted(Options.Checks, Kind) && Finding)
            Findings.push_back(std::move(*Finding));
    };
    Add(TFindingKind::Placeholders, CheckPlaceholders(Default, Translated));
    Add(TFindingKind::Accelerators, CheckAccelerators(Default, Translated));
    Add(TFindingKind::Whitespace, CheckWhitespace(Default, Translated));
    Add(TFindingKind::Punctuation, CheckPunctuation(Default, Translated, Options.LanguageCode));
    return Findings;
}

int WidthPercent(int Allowed, int Measured) {
    if (Measured <= 0)
        return 0;
    if (Allowed <= 0)
        return -1;
    // Rounded down, so that 90 % reads as crowded exactly when it is; a text wider than its
    // space never reads as 100 %.
    const long long Percent = 100LL * Measured / Allowed;
    return static_cast<int>(Measured > Allowed ? std::max(101LL, Percent) : Percent);
}

std::vector<TFinding> CheckWidth(int Allowed, int Measured, TCheckSet Checks) {
    std::vector<TFinding> Findings;
    const int Percent = WidthPercent(Allowed, Measured);
    const std::string Numbers = "measured " + std::to_string(Measured) + " px of " +
                                std::to_string(Allowed) + " px allowed";
    if (Measured > Allowed) {
        if (Wanted(Checks, TFindingKind::TooLong))
            Findings.push_back(
                Make(TFindingKind::TooLong,
                     "too long: " + Numbers +
                         (Percent < 0 ? "" : " (" + std::to_string(Percent) + " %)")));
    } else if (Percent >= 90) {
        if (Wanted(Checks, TFindingKind::Crowded))
            Findings.push_back(Make(TFindingKind::Crowded, "fills " + std::to_string(Percent) +
                                                               " % of its space: " + Numbers));
    }
    return Findings;
}

} // namespace kav
