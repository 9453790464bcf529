#include "document/Speller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <hunspell.hxx>
#include <iconv.h>

#include <algorithm>
#include <map>
#include <optional>

namespace kav {

namespace {

// Windows language codes whose dictionary is not their first two letters' main country.
const std::map<std::string, const char*> Locales{
    {"DEU", "de_DE"},      {"DES", "de_CH"}, {"DEA", "de_AT"}, {"DEL", "de_LU"}, {"FRA", "fr_FR"},
    {"FRB", "fr_BE"},      {"FRC", "fr_CA"}, {"FRS", "fr_CH"}, {"FRL", "fr_LU"}, {"ESP", "es_ES"},
    {"ESN", "es_ES"},      {"ESM", "es_MX"}, {"ITA", "it_IT"}, {"ITS", "it_CH"}, {"PLK", "pl_PL"},
    {"RUS", "ru_RU"},      {"ELL", "el_GR"}, {"TRK", "tr_TR"}, {"HEB", "he_IL"}, {"NLD", "nl_NL"},
    {"NLB", "nl_BE"},      {"PTB", "pt_BR"}, {"PTG", "pt_PT"}, {"SVE", "sv_SE"}, {"DAN", "da_DK"},
    {"NOR", "nb_NO"},      {"NON", "nn_NO"}, {"FIN", "fi_FI"}, {"CSY", "cs_CZ"}, {"SKY", "sk_SK"},
    {"HUN", "hu_HU"},      {"ROM", "ro_RO"}, {"UKR", "uk_UA"}, {"BGR", "bg_BG"}, {"HRV", "hr_HR"},
    {"SLV", "sl_SI"},      {"ENU", "en_US"}, {"ENG", "en_GB"}, {"LTH", "lt_LT"}, {"LVI", "lv_LV"},
    {"ETI", "et_EE"},      {"CAT", "ca_ES"}, {"EUQ", "eu_ES"}, {"GLC", "gl_ES"}, {"ISL", "is_IS"},
    {"SRL", "sr_Latn_RS"}, {"SRB", "sr_RS"}, {"KOR", "ko_KR"}, {"ARA", "ar"},    {"VIT", "vi_VN"}};

std::string Convert(const std::string& Bytes, const char* From, const char* To) {
    iconv_t Cd = iconv_open(To, From);
    if (Cd == reinterpret_cast<iconv_t>(-1))
        return std::string();
    std::string In = Bytes;
    std::string Out(In.size() * 4 + 4, '\0');
    char* InP = In.data();
    size_t InLeft = In.size();
    char* OutP = Out.data();
    size_t OutLeft = Out.size();
    const size_t Done = iconv(Cd, &InP, &InLeft, &OutP, &OutLeft);
    iconv_close(Cd);
    if (Done == static_cast<size_t>(-1))
        return std::string(); // a character the dictionary's code page lacks
    Out.resize(Out.size() - OutLeft);
    return Out;
}

// The SET line of an .aff file; Hunspell reads it too, but only after loading the whole
// dictionary, and the conversion needs it by name.
std::string EncodingOf(const QString& AffPath) {
    QFile Aff(AffPath);
    if (!Aff.open(QIODevice::ReadOnly))
        return "UTF-8";
    while (!Aff.atEnd()) {
        const QByteArray Line = Aff.readLine().trimmed();
        if (Line.startsWith("SET "))
            return Line.mid(4).trimmed().toStdString();
    }
    return "ISO8859-1"; // Hunspell's own default
}

bool IsUtf8(const std::string& Encoding) {
    return Encoding == "UTF-8" || Encoding == "utf-8" || Encoding == "UTF8";
}

// A word of no language: an identifier, a code, an acronym, a name in camel case, a letter.
bool IsIdentifierLike(QStringView Word) {
    int Letters = 0, Upper = 0;
    for (qsizetype I = 0; I < Word.size(); ++I) {
        const QChar C = Word[I];
        if (C.isDigit() || C == u'_')
            return true;
        if (!C.isLetter())
            continue;
        ++Letters;
        Upper += C.isUpper();
        if (I > 0 && C.isUpper() && Word[I - 1].isLower())
            return true;
    }
    return Letters <= 1 || Upper == Letters;
}

// The text with its format specifiers blanked and its accelerator marks taken out ("Ouv&rir"
// reads "Ouvrir"), and for each of its characters the index of the same one in Text; a text
// with neither (most of them) is its own plain text, and At stays empty.
struct TPlain {
    QString Text;
    std::vector<qsizetype> At;
    qsizetype InOriginal(qsizetype I) const { return At.empty() ? I : At[size_t(I)]; }
};

TPlain Plain(const QString& Text) {
    if (!Text.contains(u'&') && !Text.contains(u'%'))
        return {Text, {}};
    QString T = Text;
    qsizetype From = 0;
    for (const QString& Specifier : FormatSpecifiers(Text)) {
        const qsizetype Found = T.indexOf(Specifier, From);
        if (Found < 0)
            continue;
        for (qsizetype K = Found; K < Found + Specifier.size(); ++K)
            T[K] = u' ';
        From = Found + Specifier.size();
    }
    TPlain P;
    P.Text.reserve(T.size());
    P.At.reserve(size_t(T.size()));
    for (qsizetype I = 0; I < T.size(); ++I) {
        if (T[I] == u'&' && I + 1 < T.size() && T[I + 1] == u'&') {
            P.Text += u' '; // && is a literal &, which parts words
            P.At.push_back(I++);
            continue;
        }
        if (T[I] == u'&')
            continue;
        P.Text += T[I];
        P.At.push_back(I);
    }
    return P;
}

QChar::Script ScriptOfLanguage(const std::string& LanguageCode) {
    const QString Key = QString::fromStdString(LanguageCode.substr(0, 2)).toUpper();
    if (Key == u"RU" || Key == u"UK" || Key == u"BG" || Key == u"BE" || Key == u"MK" ||
        LanguageCode == "SRB")
        return QChar::Script_Cyrillic;
    if (Key == u"EL")
        return QChar::Script_Greek;
    if (Key == u"HE")
        return QChar::Script_Hebrew;
    if (Key == u"AR" || Key == u"FA")
        return QChar::Script_Arabic;
    return QChar::Script_Latin;
}

bool HasLetterOf(QStringView Word, QChar::Script Script) {
    return std::any_of(Word.begin(), Word.end(),
                       [Script](QChar C) { return C.isLetter() && C.script() == Script; });
}

} // namespace

TSpeller::~TSpeller() = default;

QStringList TSpeller::DictionaryFolders() {
    const QString Path = qEnvironmentVariable("KAV_HUNSPELL_PATH");
    if (!Path.isEmpty())
        return Path.split(u':', Qt::SkipEmptyParts);
    return {QStringLiteral("/usr/share/hunspell")};
}

QStringList TSpeller::DictionaryNames(const std::string& LanguageCode) {
    QStringList Names;
    const std::string Upper = QString::fromStdString(LanguageCode).toUpper().toStdString();
    if (const auto It = Locales.find(Upper); It != Locales.end())
        Names << It->second;
    const QString Two = QString::fromStdString(LanguageCode.substr(0, 2)).toLower();
    if (!Two.isEmpty())
        Names << Two + u'_' + Two.toUpper() << Two;
    Names.removeDuplicates();
    return Names;
}

std::unique_ptr<TSpeller> TSpeller::ForLanguage(const std::string& LanguageCode,
                                                const std::string& ProgramDir) {
    if (LanguageCode.size() < 2)
        return nullptr;
    QString Found;
    for (const QString& Name : DictionaryNames(LanguageCode)) {
        for (const QString& Folder : DictionaryFolders()) {
            const QString Base = QDir(Folder).filePath(Name);
            if (QFileInfo::exists(Base + ".aff") && QFileInfo::exists(Base + ".dic")) {
                Found = Base;
                break;
            }
        }
        if (!Found.isEmpty())
            break;
    }
    // Any country's dictionary of the language (es_AR for a code the table lacks).
    const QString Two = QString::fromStdString(LanguageCode.substr(0, 2)).toLower();
    for (const QString& Folder : DictionaryFolders()) {
        if (!Found.isEmpty())
            break;
        const QStringList Affs = QDir(Folder).entryList({Two + "_*.aff"}, QDir::Files, QDir::Name);
        if (!Affs.isEmpty())
            Found = QDir(Folder).filePath(Affs.first().chopped(4));
    }
    if (Found.isEmpty())
        return nullptr;
    std::unique_ptr<TSpeller> S(new TSpeller);
    S->FDictionary = Found.toStdString();
    S->FEncoding = EncodingOf(Found + ".aff");
    S->FScript = ScriptOfLanguage(LanguageCode);
    S->FHunspell = std::make_unique<Hunspell>((S->FDictionary + ".aff").c_str(),
                                              (S->FDictionary + ".dic").c_str());
    if (!ProgramDir.empty()) {
        S->FProjectFile = ProjectDictionaryFile(ProgramDir, LanguageCode);
        QFile Project(QString::fromStdString(S->FProjectFile));
        if (Project.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> Lines = Project.readAll().split('\n');
            for (qsizetype I = 0; I < Lines.size(); ++I) {
                const QString Word = QString::fromUtf8(Lines[I]).trimmed();
                // Hunspell's .dic form starts with the count of words; a plain list does not.
                const bool Count =
                    I == 0 && !Word.isEmpty() &&
                    std::all_of(Word.begin(), Word.end(), [](QChar C) { return C.isDigit(); });
                if (!Word.isEmpty() && !Count)
                    S->FHunspell->add(S->ToDictionary(Word.section(u'/', 0, 0)));
            }
        }
    }
    return S;
}

std::string TSpeller::ToDictionary(const QString& Word) const {
    const std::string Utf8 = Word.toStdString();
    return IsUtf8(FEncoding) ? Utf8 : Convert(Utf8, "UTF-8", FEncoding.c_str());
}

QString TSpeller::FromDictionary(const std::string& Bytes) const {
    return QString::fromStdString(IsUtf8(FEncoding) ? Bytes
                                                    : Convert(Bytes, FEncoding.c_str(), "UTF-8"));
}

bool TSpeller::Correct(QStringView Word) {
    if (const auto It = FKnown.find(ViewOf(Word)); It != FKnown.end())
        return It->second;
    if (FScript != QChar::Script_Latin && !HasLetterOf(Word, FScript))
        return true; // a word in another script than the language's is not judged
    // The dictionaries write the apostrophe as ', translators often as ’.
    QString Plain = Word.toString();
    Plain.replace(QChar(0x2019), u'\'');
    const std::string Bytes = ToDictionary(Plain);
    bool Right = !Bytes.empty() && FHunspell->spell(Bytes);
    // A character the dictionary's code page cannot hold is no judgement on the word.
    if (Bytes.empty())
        Right = true;
    FKnown.emplace(ViewOf(Word), Right);
    return Right;
}

QStringList TSpeller::Suggestions(const QString& Word, int Max) {
    QStringList Out;
    QString Plain = Word;
    Plain.replace(QChar(0x2019), u'\'');
    const std::string Bytes = ToDictionary(Plain);
    if (Bytes.empty())
        return Out;
    for (const std::string& S : FHunspell->suggest(Bytes)) {
        if (Out.size() >= Max)
            break;
        Out << FromDictionary(S);
    }
    return Out;
}

bool TSpeller::AddToProject(const QString& Word, std::string& Error) {
    if (FProjectFile.empty()) {
        Error = "no program folder to keep the word list in";
        return false;
    }
    const QString Path = QString::fromStdString(FProjectFile);
    QDir().mkpath(QFileInfo(Path).path());
    QFile File(Path);
    if (!File.open(QIODevice::WriteOnly | QIODevice::Append)) {
        Error = "Cannot write " + FProjectFile + ": " + File.errorString().toStdString();
        return false;
    }
    const QByteArray Line = Word.toUtf8() + '\n';
    if (File.write(Line) != Line.size()) {
        Error = "Cannot write " + FProjectFile + ": " + File.errorString().toStdString();
        return false;
    }
    FHunspell->add(ToDictionary(Word));
    FKnown.insert_or_assign(std::u16string(ViewOf(Word)), true);
    return true;
}

namespace {

// The English words of a default, case-folded, with their stems: a translation that keeps one,
// or a loan the language conjugates or compounds ("ausgecheckt" from "checked out",
// "Cachegröße" from "cache"), borrows it, and a dictionary rarely lists that.
class TEnglishWords {
public:
    explicit TEnglishWords(const QString& Default) {
        const TPlain D = Plain(Default);
        for (const TWordSpan& W : WordsOf(D.Text)) {
            const QString Word = D.Text.mid(W.Start, W.Length).toCaseFolded();
            if (FWords.contains(Word))
                continue;
            FWords.insert(Word);
            QString Stem = Word;
            for (const char* Ending : {"ing", "ed", "es", "s"})
                if (Stem.endsWith(QLatin1StringView(Ending)) &&
                    Stem.size() - qstrlen(Ending) >= 4) {
                    Stem.chop(qstrlen(Ending));
                    break;
                }
            if (Stem.size() >= 4)
                FStems.push_back(Stem);
        }
    }
    bool Borrowed(const QString& Folded) const {
        return FWords.contains(Folded) ||
               std::any_of(FStems.begin(), FStems.end(),
                           [&](const QString& Stem) { return Folded.contains(Stem); });
    }

private:
    QSet<QString> FWords;
    std::vector<QString> FStems;
};

// Calls Consider(Start, Length) for each word of the plain text T that is prose: not glued to a
// path, an address or a file name, and a hyphenated compound part by part.
template <class F> void ForEachProseWord(const QString& T, F Consider) {
    for (const TWordSpan& W : WordsOf(T)) {
        // A word glued to a path, an address or a file name (readme.txt) is no prose.
        const qsizetype End = W.Start + W.Length;
        const auto Glued = [&](qsizetype I) {
            return I > 0 && I + 1 < T.size() && QStringLiteral("./\\@:=_").contains(T[I]) &&
                   T[I + 1].isLetterOrNumber() && T[I - 1].isLetterOrNumber();
        };
        if (Glued(W.Start - 1) || Glued(End))
            continue;
        // A hyphenated compound is judged part by part ("ZIP-Archiv": the acronym aside).
        qsizetype Part = W.Start;
        for (qsizetype I = W.Start; I <= End; ++I) {
            if (I < End && T[I] != u'-')
                continue;
            if (I > Part)
                Consider(Part, I - Part);
            Part = I + 1;
        }
    }
}

TSpellWord SpellWordAt(const TPlain& P, qsizetype Start, qsizetype Length, QString Word) {
    const qsizetype First = P.InOriginal(Start);
    const qsizetype Last = P.InOriginal(Start + Length - 1);
    return {{First, Last + 1 - First}, std::move(Word)};
}

} // namespace

// The dictionary is asked first: most words are right and known from an earlier row, and the
// default's words are gathered only for a row with a word the dictionary does not know.
std::vector<TSpellWord> MisspeltWords(TSpeller& Speller, const QString& Default,
                                      const QString& Translated) {
    std::optional<TEnglishWords> English;
    const TPlain P = Plain(Translated);
    std::vector<TSpellWord> Out;
    ForEachProseWord(P.Text, [&](qsizetype Start, qsizetype Length) {
        const QStringView View = QStringView(P.Text).mid(Start, Length);
        if (IsIdentifierLike(View) || Speller.Correct(View))
            return;
        QString Word = View.toString();
        if (!English)
            English.emplace(Default);
        if (English->Borrowed(Word.toCaseFolded()))
            return;
        TSpellWord W = SpellWordAt(P, Start, Length, std::move(Word));
        // An abbreviation the dictionary lists with its full stop ("Min.", "bzw.").
        const qsizetype After = W.Span.Start + W.Span.Length;
        if (After < Translated.size() && Translated[After] == u'.' &&
            Speller.Correct(W.Word + u'.'))
            return;
        Out.push_back(std::move(W));
    });
    return Out;
}

std::optional<TFinding> CheckSpelling(TSpeller& Speller, const QString& Default,
                                      const QString& Translated) {
    const std::vector<TSpellWord> Wrong = MisspeltWords(Speller, Default, Translated);
    if (Wrong.empty())
        return std::nullopt;
    QStringList Words;
    for (const TSpellWord& W : Wrong)
        Words << W.Word;
    Words.removeDuplicates();
    return TFinding{TFindingKind::Spelling, SeverityOf(TFindingKind::Spelling),
                    "not in the dictionary: " + Words.join(", ").toStdString()};
}

std::string ProjectDictionaryFile(const std::string& ProgramDir, const std::string& LanguageCode) {
    return ProgramDir + "Dictionary/" + LanguageCode + ".dic";
}

} // namespace kav
