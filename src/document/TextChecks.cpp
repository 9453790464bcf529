#include "document/TextChecks.h"

#include "document/SameWords.h"

#include <QRegularExpression>
#include <QSet>

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
    {TFindingKind::Numbers, "numbers", TSeverity::Warning},
    {TFindingKind::DoubledWords, "doubled-words", TSeverity::Info},
    {TFindingKind::Consistency, "consistency", TSeverity::Warning},
    {TFindingKind::RoomToGrow, "room-to-grow", TSeverity::Info},
    {TFindingKind::Spelling, "spelling", TSeverity::Warning},
    {TFindingKind::SourceChanged, "source-changed", TSeverity::Warning},
    {TFindingKind::TooLongFilled, "too-long-filled", TSeverity::Warning},
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
        // "%-encoding" is a word after a dash, not %-e: a left-justified conversion without a
        // width aligns nothing, and no format glues a word to it.
        if (End == J + 2 && T[J] == u'-' && End < T.size() && T[End].isLetter())
            return 0;
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

// The two-letter key of a language code ("DEU" -> "DE"), upper-cased.
QString LanguageKey(const std::string& Code) {
    return QString::fromStdString(Code.substr(0, 2)).toUpper();
}

bool IsGreek(const std::string& Code) {
    return LanguageKey(Code) == u"EL";
}

bool IsFrench(const std::string& Code) {
    return LanguageKey(Code) == u"FR";
}

bool IsSpanish(const std::string& Code) {
    return LanguageKey(Code) == u"ES";
}

// German and Dutch ask where English states: "Whether to save changes" reads "Änderungen
// speichern?".
bool AsksForStatements(const std::string& Code) {
    const QString Key = LanguageKey(Code);
    return Key == u"DE" || Key == u"NL";
}

TFinal FinalOf(const QString& Text, bool Greek) {
    const QString T = TrimmedRight(Text);
    if (T.endsWith(QStringLiteral("...")) || T.endsWith(QChar(0x2026)) || T.endsWith(QChar(0x22EF)))
        return TFinal::Ellipsis;
    if (T.isEmpty())
        return TFinal::None;
    switch (T.back().unicode()) {
    case u'.':
    case 0x3002: // ideographic full stop
    case 0xFF0E: // full-width full stop
    case 0x06D4: // Arabic full stop
    case 0x0964: // Devanagari danda
    case 0x0589: // Armenian full stop
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

// A printf conversion that takes the next argument in turn: neither %%, nor positional
// (%1$s), nor a Windows insert (%1, %1!d!), nor indexed (%0:s). Their order is the arguments'.
bool IsSequentialPrintf(const QString& Specifier) {
    return Specifier != u"%%" && Specifier.back().isLetter() && !Specifier.contains(u'$') &&
           !Specifier.contains(u'!') && !Specifier.contains(u':');
}

std::vector<QString> SequentialPrintf(const std::vector<QString>& Specifiers) {
    std::vector<QString> Out;
    std::copy_if(Specifiers.begin(), Specifiers.end(), std::back_inserter(Out), IsSequentialPrintf);
    return Out;
}

// The specifiers with each sequential conversion written with its argument's position
// (%s %d -> %1$s %2$d), sorted: a translation may name the default's arguments by position.
std::vector<QString> WithPositions(const std::vector<QString>& Specifiers) {
    std::vector<QString> Out;
    int Next = 0;
    for (const QString& Specifier : Specifiers)
        Out.push_back(IsSequentialPrintf(Specifier)
                          ? u'%' + QString::number(++Next) + u'$' + Specifier.mid(1)
                          : Specifier);
    std::sort(Out.begin(), Out.end());
    return Out;
}

std::optional<TFinding> CheckPlaceholders(const QString& Default, const QString& Translated) {
    // A date and time format is translated as a whole: each language orders, adds and drops
    // its fields (%m/%d/%Y -> %d.%m.%Y, %I:%M %p -> %H:%M).
    if (IsDateTimeFormat(Default)) {
        if (IsDateTimeFormat(Translated))
            return std::nullopt;
        return Make(TFindingKind::Placeholders,
                    "the default is a date and time format, the translation has none of its "
                    "fields");
    }
    const std::vector<QString> InOrderD = FormatSpecifiers(Default);
    const std::vector<QString> InOrderT = FormatSpecifiers(Translated);
    std::vector<QString> D = InOrderD;
    std::vector<QString> T = InOrderT;
    std::sort(D.begin(), D.end());
    std::sort(T.begin(), T.end());
    if (D == T) {
        // printf takes its arguments in the order of the conversions: swapped ones read a
        // number as a string and crash the product.
        const std::vector<QString> SeqD = SequentialPrintf(InOrderD);
        const std::vector<QString> SeqT = SequentialPrintf(InOrderT);
        if (SeqD == SeqT)
            return std::nullopt;
        return Make(TFindingKind::Placeholders,
                    "printf arguments in another order: " + Joined(SeqD) + " in the default, " +
                        Joined(SeqT) + " in the translation (positions such as %1$s may move)");
    }
    if (WithPositions(InOrderD) == WithPositions(InOrderT))
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
    // A & that ends the text underlines nothing, whatever the default does.
    if (!T.empty() && T.back().isNull())
        return Make(TFindingKind::Accelerators, "the accelerator & ends the translation");
    if (D.size() != T.size())
        return Make(TFindingKind::Accelerators, "the default has " + std::to_string(D.size()) +
                                                    " accelerator(s) (&), the translation " +
                                                    std::to_string(T.size()));
    // A default whose & is followed by no letter uses it as prose ("R & D"), not as a key.
    for (size_t I = 0; I < T.size(); ++I)
        if (!T[I].isLetterOrNumber() && D[I].isLetterOrNumber())
            return Make(TFindingKind::Accelerators, "the accelerator &" +
                                                        QString(T[I]).toStdString() +
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

// A translation that is one word ending in a full stop is an abbreviation ("Nov" -> "nov.").
bool IsAbbreviation(const QString& Text) {
    const QString T = TrimmedRight(Text);
    if (!T.endsWith(u'.') || T.size() < 2)
        return false;
    const QString Word = T.chopped(1);
    return std::all_of(Word.begin(), Word.end(), [](QChar C) { return C.isLetter(); });
}

std::optional<TFinding> CheckFinalKinds(const QString& Default, const QString& Translated,
                                        const std::string& Code) {
    const TFinal D = FinalOf(Default, false);
    const TFinal T = FinalOf(Translated, IsGreek(Code));
    if (D == T)
        return std::nullopt;
    if (T == TFinal::Question && (D == TFinal::None || D == TFinal::Period) &&
        AsksForStatements(Code))
        return std::nullopt;
    const std::string Message = std::string("the default ends with ") + FinalName(D) +
                                ", the translation with " + FinalName(T);
    if ((D == TFinal::None && T == TFinal::Period) || (D == TFinal::Period && T == TFinal::None)) {
        // Languages differ in whether a label or a description takes a full stop: worth a
        // look, not a fault.
        if (T == TFinal::Period && IsAbbreviation(Translated))
            return std::nullopt;
        return TFinding{TFindingKind::Punctuation, TSeverity::Info, Message};
    }
    return Make(TFindingKind::Punctuation, Message);
}

std::optional<TFinding> CheckPunctuation(const QString& Default, const QString& Translated,
                                         const std::string& Code) {
    if (std::optional<TFinding> Final = CheckFinalKinds(Default, Translated, Code))
        return Final;
    const QString T = TrimmedRight(Translated);
    if (BlankBeforeFinal(Translated) && !BlankBeforeFinal(Default) && !IsFrench(Code))
        return Make(TFindingKind::Punctuation,
                    "a blank before the final " + QString(T.back()).toStdString());
    if (IsSpanish(Code) && !T.isEmpty()) {
        if (T.back() == u'?' && !T.contains(QChar(0x00BF)))
            return Make(TFindingKind::Punctuation, "the question does not open with \u00bf");
        if (T.back() == u'!' && !T.contains(QChar(0x00A1)))
            return Make(TFindingKind::Punctuation, "the exclamation does not open with \u00a1");
    }
    return std::nullopt;
}

std::optional<TFinding> CheckNumbers(const QString& Default, const QString& Translated) {
    std::vector<QString> D = NumbersOf(Default);
    std::vector<QString> T = NumbersOf(Translated);
    std::sort(D.begin(), D.end());
    std::sort(T.begin(), T.end());
    const std::vector<QString> Missing = Beyond(D, T);
    if (Missing.empty())
        return std::nullopt;
    return Make(TFindingKind::Numbers, "number(s) of the default missing: " + Joined(Missing));
}

bool OnlyBlanksBetween(const QString& Text, const TWordSpan& A, const TWordSpan& B) {
    const qsizetype From = A.Start + A.Length;
    if (From >= B.Start)
        return false;
    for (qsizetype I = From; I < B.Start; ++I)
        if (Text[I] != u' ')
            return false;
    return true;
}

// The first word written twice in a row ("le le"), case-folded; empty when none is.
QString DoubledWord(const QString& Text, const std::string& Code) {
    const std::vector<TWordSpan> Words = WordsOf(Text);
    for (size_t I = 1; I < Words.size(); ++I) {
        if (!OnlyBlanksBetween(Text, Words[I - 1], Words[I]))
            continue;
        const QStringView First = QStringView(Text).mid(Words[I - 1].Start, Words[I - 1].Length);
        const QStringView Second = QStringView(Text).mid(Words[I].Start, Words[I].Length);
        // Compared folded in place: most neighbours differ, and are not copied to tell.
        if (!First[0].isLetter() || First.compare(Second, Qt::CaseInsensitive) != 0)
            continue;
        const QString A = First.toString().toCaseFolded();
        // French reflexive verbs double their pronoun: "vous vous connectez".
        if (IsFrench(Code) && (A == u"nous" || A == u"vous"))
            continue;
        return A;
    }
    return QString();
}

std::optional<TFinding> CheckDoubledWords(const QString& Default, const QString& Translated,
                                          const std::string& Code) {
    const QString Word = DoubledWord(Translated, Code);
    if (Word.isEmpty() || DoubledWord(Default, "ENU") == Word)
        return std::nullopt;
    return Make(TFindingKind::DoubledWords,
                "doubled word \"" + (Word + u' ' + Word).toStdString() + "\"");
}

// A blank-separated token of a text, stripped of the punctuation around it, that a
// translator would not translate.
bool IsUntranslatableToken(QString Token) {
    Token.remove(u'&');
    static const QString Around =
        QStringLiteral("()[]{}\"'<>,;:!?\u00ab\u00bb\u201c\u201d\u2018\u2019");
    while (!Token.isEmpty() && (Around.contains(Token.back()) || Token.back() == u'.'))
        Token.chop(1);
    while (!Token.isEmpty() && (Around.contains(Token.front()) || Token.front() == u'*'))
        Token.remove(0, 1);
    int Letters = 0, Upper = 0;
    bool CapitalInside = false;
    for (qsizetype I = 0; I < Token.size(); ++I) {
        const QChar C = Token[I];
        if (C.isDigit() || C == u'_' || C == u'/' || C == u'\\' || C == u'@' || C == u'=' ||
            C == u'+' || C == u'#' || C == u'%' || C == u'$')
            return true; // a code, identifier, path, key combination or placeholder
        if (C == u'.' || C == u':')
            return true; // a file extension (.png), a file name or an address
        if (C.isLetter()) {
            ++Letters;
            Upper += C.isUpper();
            CapitalInside = CapitalInside || (I > 0 && C.isUpper() && Token[I - 1].isLower());
        }
    }
    if (Letters <= 1 || Upper == Letters || CapitalInside)
        return true; // a letter, an acronym (SVG) or a name written in camel case (PostScript)
    static const QSet<QString> Units{"px",  "pt",  "pc",  "mm",   "cm",   "km",  "kg",   "mg",
                                     "ms",  "ns",  "us",  "dpi",  "ppi",  "bps", "kbps", "fps",
                                     "rpm", "hz",  "khz", "mhz",  "ghz",  "kb",  "kib",  "mib",
                                     "gib", "tib", "em",  "mbps", "gbps", "db"};
    return Units.contains(Token.toCaseFolded());
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

bool HasWordsToTranslate(const QString& Text) {
    static const QRegularExpression Blanks(QStringLiteral("\\s+"));
    const QStringList Tokens = Text.split(Blanks, Qt::SkipEmptyParts);
    return std::any_of(Tokens.begin(), Tokens.end(),
                       [](const QString& T) { return !IsUntranslatableToken(T); });
}

bool IsDateTimeFormat(const QString& Text) {
    // The fields only strftime has; %d, %S, %p and the like are printf's too.
    static const QString DateOnly = QStringLiteral("YmHMBbyjTDRFkPVUWCG");
    for (qsizetype I = 0; I + 1 < Text.size(); ++I) {
        if (Text[I] != u'%')
            continue;
        qsizetype J = I + 1;
        if (Text[J] == u'%') {
            I = J;
            continue;
        }
        // glibc's flags (%-d, %_H, %^B) and the E and O modifiers (%Ey, %OH).
        while (J < Text.size() && QStringLiteral("-_0^#EO").contains(Text[J]))
            ++J;
        if (J < Text.size() && DateOnly.contains(Text[J]))
            return true;
    }
    return false;
}

std::vector<QString> NumbersOf(const QString& Text) {
    QString T = Text;
    // The digits of %1, %5.2f and %1$s are no numbers of the text.
    for (qsizetype I = 0; I < T.size(); ++I) {
        if (T[I] != u'%')
            continue;
        const qsizetype Length = SpecifierLength(T, I);
        for (qsizetype K = I; K < I + Length; ++K)
            T[K] = u' ';
        I += std::max<qsizetype>(Length, 1) - 1;
    }
    static const QString Marks = QStringLiteral(".,' \u00a0\u202f\u2019\u066b\u066c");
    std::vector<QString> Numbers;
    QString Current;
    for (qsizetype I = 0; I < T.size(); ++I) {
        const QChar C = T[I];
        if (C.isDigit() && C.digitValue() >= 0) {
            Current += QChar(u'0' + C.digitValue());
            continue;
        }
        const bool Between =
            !Current.isEmpty() && Marks.contains(C) && I + 1 < T.size() && T[I + 1].isDigit();
        if (Between)
            continue;
        if (!Current.isEmpty())
            Numbers.push_back(Current);
        Current.clear();
    }
    if (!Current.isEmpty())
        Numbers.push_back(Current);
    return Numbers;
}

std::vector<TWordSpan> WordsOf(const QString& Text) {
    const auto InWord = [](QChar C) { return C.isLetterOrNumber() || C.isMark() || C == u'_'; };
    std::vector<TWordSpan> Words;
    qsizetype I = 0;
    while (I < Text.size()) {
        if (!InWord(Text[I])) {
            ++I;
            continue;
        }
        const qsizetype Start = I;
        while (I < Text.size()) {
            if (InWord(Text[I])) {
                ++I;
                continue;
            }
            // An apostrophe or hyphen between letters belongs to the word (l'objet, e-mail).
            const bool Joins = (Text[I] == u'\'' || Text[I] == QChar(0x2019) || Text[I] == u'-') &&
                               I + 1 < Text.size() && Text[I + 1].isLetter();
            if (!Joins)
                break;
            ++I;
        }
        Words.push_back({Start, I - Start});
    }
    return Words;
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
        // Codes, key names, acronyms and the words the language keeps stay as they are.
        const bool Stays = !HasWordsToTranslate(Translated) ||
                           (Options.SameWords && Options.SameWords->Covers(Translated));
        if (Wanted(Options.Checks, TFindingKind::Untranslated) && !Stays)
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
    Add(TFindingKind::Numbers, CheckNumbers(Default, Translated));
    Add(TFindingKind::DoubledWords, CheckDoubledWords(Default, Translated, Options.LanguageCode));
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
    if (Measured <= Allowed && Percent < 90)
        return Findings; // most rows: nothing to say, and no message made for it
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
