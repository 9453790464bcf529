#pragma once
// The translation memory: pairs of an English default text and its translation, gathered from
// the translator's own files, with where each came from. It answers, for an English text, the
// pairs whose English is the same or close: exact and fuzzy matches scored by a normalised edit
// distance over words. No widgets: the window's suggestions and kavtool pretranslate share it.

#include <QHash>
#include <QString>
#include <QStringList>

#include <deque>
#include <stop_token>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kav {

// Matches below this score are not worth a translator's look.
constexpr int MinFuzzyScore = 75;
constexpr int ExactScore = 100;

struct TMemoryPair {
    QString Source;     // the English text
    QString Target;     // its translation
    std::string Origin; // the file it came from, by its name ("Kavr_FRA.str", "agency.tmx")
    std::string Name;   // the item's constant name, empty for a TMX unit
};

struct TMemoryMatch {
    int Pair = -1;
    int Score = 0; // 0 to 100; 100 only for the same English, byte for byte
};

// The words of a text as matching compares them: runs of letters and digits, case-folded;
// punctuation, blanks and accelerator marks are not words.
QStringList MatchWords(const QString& Text);

// How close Candidate is to Text, 0 to 100: 100 for the same text; 99 when only the letter case
// differs; 98 when the words are the same but punctuation or blanks differ (97 with case too);
// else 100 * (1 - d / max(n, m)) rounded down, at most 96, where d is the edit distance between
// the word sequences (a word inserted, deleted, changed, or swapped with its neighbour counts
// one) and n, m their word counts.
int MatchScore(const QString& Text, const QString& Candidate);

// A run of characters in a text: Start and Length in UTF-16 units.
struct TTextSpan {
    qsizetype Start = 0;
    qsizetype Length = 0;
    bool operator==(const TTextSpan&) const = default;
};

// The words of Candidate that the longest common word sequence with Text leaves out: where the
// memory's English differs from the item's, for the suggestion to show them.
std::vector<TTextSpan> ChangedWords(const QString& Text, const QString& Candidate);

class TTranslationMemory {
public:
    // The word index views the memory's own copies of the words: a copy would view the
    // original's, a move keeps them.
    TTranslationMemory() = default;
    TTranslationMemory(const TTranslationMemory&) = delete;
    TTranslationMemory& operator=(const TTranslationMemory&) = delete;
    TTranslationMemory(TTranslationMemory&&) = default;
    TTranslationMemory& operator=(TTranslationMemory&&) = default;

    // Adds a pair unless the memory holds the same English with the same translation already
    // (the first file that gave it stays its origin) or either text is empty.
    void Add(TMemoryPair Pair);
    int Count() const { return static_cast<int>(FStored.size()); }
    // The pair at Index, made from the memory's pools.
    TMemoryPair Pair(int Index) const;
    // Its parts without a copy, valid while the memory stands as it is.
    QStringView Source(int Index) const;
    QStringView Target(int Index) const;
    const std::string& Origin(int Index) const;

    // The pairs whose English scores at least MinScore against English, best first (ties in the
    // order the pairs were added), one per translation, at most Limit of them.
    std::vector<TMemoryMatch> Lookup(const QString& English, int Limit = 5,
                                     int MinScore = MinFuzzyScore) const;
    // The translation of a 100 % match, the first one added; null when there is none.
    QString ExactTranslation(const QString& English) const;

    // Room for More pairs with Characters of text in all, so a large file does not regrow the
    // memory while it is read.
    void Reserve(int More, size_t Characters);

private:
    // A text's words as ids of the words the memory has seen: one int each instead of a
    // string, so 100 000 pairs stay small and compare fast. A query word the memory never saw
    // is NoWord, which equals no stored word.
    using TWords = std::vector<int>;
    static constexpr int NoWord = -1;
    struct TEntry {
        unsigned From = 0; // in FWordPool
        unsigned Count = 0;
    };
    TWords IdsOf(const QString& Text) const;
    void Intern(const QString& Text, TEntry& Entry);
    const int* WordsAt(const TEntry& Entry) const { return FWordPool.data() + Entry.From; }
    bool SameWords(const TEntry& Entry, const TWords& Words) const;
    // The pairs that can reach MinScore: those sharing enough words with the query, found
    // through the rarest of its words.
    std::vector<int> Candidates(const TWords& Words, int MinScore) const;
    // Pairs sharing a key, in the order they were added: the first and the last of them by
    // key, then each pair's next one, -1 at the end. Keys are hashes: the pairs of a chain are
    // compared with what was looked for.
    struct TChain {
        int First = -1;
        int Last = -1;
    };
    using TChains = QHash<size_t, TChain>;
    static void Chain(TChains& Chains, std::vector<int>& Next, size_t Key, int Index);
    static int FirstOf(const TChains& Chains, size_t Key) { return Chains.value(Key).First; }
    // The pair added first whose English is English; -1 when there is none.
    int FirstWithSource(const QString& English) const;

    // A pair as the memory keeps it: its texts in one UTF-16 pool, its name in another and its
    // origin by number; 100 000 pairs take less than half of what four strings each would.
    struct TStored {
        unsigned Source = 0;
        unsigned SourceLength = 0;
        unsigned Target = 0;
        unsigned TargetLength = 0;
        unsigned Name = 0;
        unsigned NameLength = 0;
        unsigned Origin = 0;
    };
    unsigned OriginNumber(const std::string& Origin);
    unsigned Append(const QString& Text);

    std::vector<TStored> FStored;
    std::u16string FTexts;
    std::string FNames;
    std::vector<std::string> FOrigins;
    std::vector<TEntry> FEntries;
    std::vector<int> FWordPool;
    std::deque<std::u16string> FWordTexts;                 // each word seen once, case-folded
    std::unordered_map<std::u16string_view, int> FWordIds; // views of FWordTexts
    std::vector<std::vector<int>> FByWord; // by word id: each pair once per distinct word
    // Pairs with the same words (texts differing only in case and punctuation), with the same
    // English, and with the same English and translation.
    TChains FByWords;
    std::vector<int> FNextByWords;
    TChains FBySource;
    std::vector<int> FNextBySource;
    TChains FByPair;
    std::vector<int> FNextByPair;
};

// What building a memory met: files it could not read, each named with the line.
struct TMemoryBuild {
    TTranslationMemory Memory;
    std::vector<std::string> Problems;
    int Files = 0; // files that gave pairs or could have
};

// The items of a translated file as the window holds them, paired with their defaults already:
// the memory takes them instead of reading the file and its default file again. A copy, so
// that the memory may be built while the translator goes on editing.
class TOpenFileTexts {
public:
    explicit TOpenFileTexts(std::string Path) : FPath(std::move(Path)) {}
    const std::string& Path() const { return FPath; }
    void Reserve(size_t Items, size_t Bytes);
    void Add(std::string_view Name, std::string_view Default, std::string_view Translation);
    size_t Count() const { return FEnds.size() / 3; }
    size_t Bytes() const { return FBytes.size(); }
    std::string_view Name(size_t Item) const { return Field(3 * Item); }
    std::string_view Default(size_t Item) const { return Field(3 * Item + 1); }
    std::string_view Translation(size_t Item) const { return Field(3 * Item + 2); }

private:
    std::string_view Field(size_t At) const;
    std::string FPath;
    std::string FBytes;          // every item's three texts one after the other
    std::vector<unsigned> FEnds; // where each text ends in FBytes, three an item
};

// The memory for the language with that three-letter code ("FRA") from the program folder
// ProgramDir (with its trailing "/"): every translated file of that language in Language/, of
// both kinds, paired with its default file in Default/, then the TMX files in Memory/. The
// file Open is of gives its pairs from Open instead of from the disk. A build asked to Stop
// ends early with what it has, which nobody is to use.
TMemoryBuild BuildTranslationMemory(const std::string& ProgramDir, const std::string& LanguageCode,
                                    const TOpenFileTexts* Open = nullptr,
                                    std::stop_token Stop = {});

} // namespace kav
