#include "document/TranslationMemory.h"

#include "document/Document.h"
#include "document/IoStatus.h"
#include "document/Languages.h"
#include "document/StrFile.h"
#include "document/TmxReader.h"
#include "document/ToolError.h"
#include "text/StringUtils.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <unordered_map>

namespace kav {

namespace {

std::vector<TTextSpan> WordSpans(const QString& Text) {
    std::vector<TTextSpan> Spans;
    qsizetype Start = -1;
    for (qsizetype I = 0; I <= Text.size(); ++I) {
        const bool Letter = I < Text.size() && Text[I].isLetterOrNumber();
        if (Letter && Start < 0) {
            Start = I;
        } else if (!Letter && Start >= 0) {
            Spans.push_back({Start, I - Start});
            Start = -1;
        }
    }
    return Spans;
}

QStringList WordsOf(const QString& Text, bool Fold) {
    QStringList Words;
    for (const TTextSpan& Span : WordSpans(Text)) {
        const QString Word = Text.mid(Span.Start, Span.Length);
        Words << (Fold ? Word.toCaseFolded() : Word);
    }
    return Words;
}

// Edit distance over words where swapping two neighbours counts one edit (the optimal string
// alignment distance).
int WordDistance(const QStringList& A, const QStringList& B) {
    const qsizetype N = A.size(), M = B.size();
    std::vector<int> Before(M + 1), Previous(M + 1), Current(M + 1);
    for (qsizetype J = 0; J <= M; ++J)
        Previous[J] = static_cast<int>(J);
    for (qsizetype I = 1; I <= N; ++I) {
        Current[0] = static_cast<int>(I);
        for (qsizetype J = 1; J <= M; ++J) {
            const int Change = A[I - 1] == B[J - 1] ? 0 : 1;
            int D = std::min({Previous[J] + 1, Current[J - 1] + 1, Previous[J - 1] + Change});
            if (I > 1 && J > 1 && A[I - 1] == B[J - 2] && A[I - 2] == B[J - 1])
                D = std::min(D, Before[J - 2] + 1);
            Current[J] = D;
        }
        std::swap(Before, Previous);
        std::swap(Previous, Current);
    }
    return Previous[M];
}

// The score of two texts whose case-folded words are FoldedA and FoldedB.
int ScoreOf(const QString& Text, const QString& Candidate, const QStringList& FoldedA,
            const QStringList& FoldedB) {
    if (Text == Candidate)
        return ExactScore;
    const qsizetype Longer = std::max(FoldedA.size(), FoldedB.size());
    if (Longer == 0)
        return 0; // punctuation only, and not the same
    if (FoldedA == FoldedB) {
        if (Text.toCaseFolded() == Candidate.toCaseFolded())
            return 99;
        return WordsOf(Text, false) == WordsOf(Candidate, false) ? 98 : 97;
    }
    const int D = WordDistance(FoldedA, FoldedB);
    return std::min(96, static_cast<int>(100 * (Longer - D) / Longer));
}

QString KeyOf(const QStringList& Words) {
    return Words.join(u' ');
}

} // namespace

QStringList MatchWords(const QString& Text) {
    return WordsOf(Text, true);
}

int MatchScore(const QString& Text, const QString& Candidate) {
    return ScoreOf(Text, Candidate, MatchWords(Text), MatchWords(Candidate));
}

std::vector<TTextSpan> ChangedWords(const QString& Text, const QString& Candidate) {
    const QStringList A = MatchWords(Text);
    const std::vector<TTextSpan> Spans = WordSpans(Candidate);
    const QStringList B = MatchWords(Candidate);
    const size_t N = static_cast<size_t>(A.size()), M = static_cast<size_t>(B.size());
    // Common[i][j]: the longest common sequence of A from i and B from j.
    std::vector<std::vector<int>> Common(N + 1, std::vector<int>(M + 1, 0));
    for (size_t I = N; I-- > 0;)
        for (size_t J = M; J-- > 0;)
            Common[I][J] = A[qsizetype(I)] == B[qsizetype(J)]
                               ? Common[I + 1][J + 1] + 1
                               : std::max(Common[I + 1][J], Common[I][J + 1]);
    std::vector<TTextSpan> Changed;
    size_t I = 0, J = 0;
    while (J < M) {
        if (I < N && A[qsizetype(I)] == B[qsizetype(J)]) {
            ++I, ++J;
        } else if (I < N && Common[I + 1][J] >= Common[I][J + 1]) {
            ++I;
        } else {
            Changed.push_back(Spans[J++]);
        }
    }
    return Changed;
}

void TTranslationMemory::Add(TMemoryPair Pair) {
    if (Pair.Source.isEmpty() || Pair.Target.isEmpty())
        return;
    std::vector<int>& Same = FBySource[Pair.Source];
    for (int Index : Same)
        if (FPairs[static_cast<size_t>(Index)].Target == Pair.Target)
            return;
    const int Index = Count();
    Same.push_back(Index);
    TEntry Entry{MatchWords(Pair.Source), {}};
    Entry.Key = KeyOf(Entry.Words);
    if (!Entry.Words.isEmpty())
        FByKey[Entry.Key].push_back(Index);
    QStringList Distinct = Entry.Words;
    Distinct.removeDuplicates();
    for (const QString& Word : Distinct)
        FByWord[Word].push_back(Index);
    FPairs.push_back(std::move(Pair));
    FEntries.push_back(std::move(Entry));
}

// A pair reaching MinScore against n query words differs from them in at most
// max(n, m) * (100 - MinScore) / 100 words, so it holds at least t = n * MinScore / 100 of them
// (rounded up). It then holds one of any n - t + 1 of the query's words: the rarest ones are
// looked up, and the common words ("the", "file") never are unless the query is short.
std::vector<int> TTranslationMemory::Candidates(const QStringList& Words, int MinScore) const {
    const qsizetype N = Words.size();
    const qsizetype Needed = (N * MinScore + 99) / 100;
    std::vector<std::pair<qsizetype, QString>> ByRarity;
    for (const QString& Word : Words) {
        const auto Found = FByWord.constFind(Word);
        ByRarity.emplace_back(Found == FByWord.cend() ? 0 : Found->size(), Word);
    }
    std::sort(ByRarity.begin(), ByRarity.end());
    std::vector<int> Found;
    QStringList Seen;
    for (qsizetype I = 0; I < N - Needed + 1 && I < N; ++I) {
        const QString& Word = ByRarity[static_cast<size_t>(I)].second;
        if (Seen.contains(Word))
            continue;
        Seen << Word;
        if (const auto Hit = FByWord.constFind(Word); Hit != FByWord.cend())
            Found.insert(Found.end(), Hit->begin(), Hit->end());
    }
    std::sort(Found.begin(), Found.end());
    Found.erase(std::unique(Found.begin(), Found.end()), Found.end());
    return Found;
}

std::vector<TMemoryMatch> TTranslationMemory::Lookup(const QString& English, int Limit,
                                                     int MinScore) const {
    const QStringList Words = MatchWords(English);
    std::vector<int> Pairs;
    if (Words.isEmpty()) {
        Pairs = FBySource.value(English); // nothing but the same text can match
    } else if (MinScore >= 97) {
        Pairs = FByKey.value(KeyOf(Words));
    } else {
        Pairs = Candidates(Words, MinScore);
    }
    std::vector<TMemoryMatch> Matches;
    for (int Index : Pairs) {
        const TEntry& Entry = FEntries[static_cast<size_t>(Index)];
        const qsizetype N = Words.size(), M = Entry.Words.size();
        // At least |n - m| words differ.
        if (100 * std::abs(N - M) > (100 - MinScore) * std::max(N, M))
            continue;
        const int Score =
            ScoreOf(English, FPairs[static_cast<size_t>(Index)].Source, Words, Entry.Words);
        if (Score >= MinScore)
            Matches.push_back({Index, Score});
    }
    std::stable_sort(Matches.begin(), Matches.end(),
                     [](const TMemoryMatch& A, const TMemoryMatch& B) {
                         return A.Score != B.Score ? A.Score > B.Score : A.Pair < B.Pair;
                     });
    std::vector<TMemoryMatch> Best;
    QStringList Targets;
    for (const TMemoryMatch& Match : Matches) {
        if (static_cast<int>(Best.size()) >= Limit)
            break;
        const QString& Target = FPairs[static_cast<size_t>(Match.Pair)].Target;
        if (Targets.contains(Target))
            continue;
        Targets << Target;
        Best.push_back(Match);
    }
    return Best;
}

QString TTranslationMemory::ExactTranslation(const QString& English) const {
    const auto Found = FBySource.constFind(English);
    if (Found == FBySource.cend() || Found->empty())
        return {};
    return FPairs[static_cast<size_t>(Found->front())].Target;
}

// ---- building from the program folder ----------------------------------------------------

namespace {

namespace fs = std::filesystem;

// The files in Dir whose names Wanted accepts, sorted by name.
std::vector<std::string> FilesIn(const std::string& Dir,
                                 bool (*Wanted)(const std::string&, const std::string&),
                                 const std::string& Code) {
    std::vector<std::string> Names;
    std::error_code Error;
    for (const fs::directory_entry& Entry : fs::directory_iterator(Dir, Error)) {
        const std::string Name = Entry.path().filename().string();
        if (Entry.is_regular_file(Error) && Wanted(Name, Code))
            Names.push_back(Name);
    }
    std::sort(Names.begin(), Names.end());
    return Names;
}

bool IsLanguageFile(const std::string& Name, const std::string& Code) {
    const TFileNameInfo Info = ExamineFileName(Name);
    return Info.Accepted && Info.Code == Code;
}

bool IsTmxFile(const std::string& Name, const std::string&) {
    return Name.size() > 4 && UpperCase(Name.substr(Name.size() - 4)) == ".TMX";
}

// The item lines of an STR file: name -> text, the first line of a name winning. False with a
// problem naming the file (and line) when it cannot be read whole.
bool ReadStrTexts(const std::string& Path, int CodePage, int Attributes,
                  std::vector<std::pair<std::string, std::string>>& Texts,
                  std::vector<std::string>& Problems) {
    StrLineReader Reader(CodePage);
    if (const int Status = Reader.Open(Path); Status != 0) {
        Problems.push_back(IoStatusMessage(Status, Path));
        return false;
    }
    std::string Line;
    while (Reader.ReadLine(Line)) {
        if (!IsItemLine(Line, CodePage))
            continue;
        const StrItemView Item = ParseItemView(Line, Attributes, CodePage);
        Texts.emplace_back(std::string(Item.Name), std::string(Item.Text));
    }
    if (std::string Failure = Reader.FailureMessage(Path); !Failure.empty()) {
        Problems.push_back(Failure);
        return false;
    }
    return true;
}

void AddLanguageFile(const std::string& Path,
                     const std::unordered_map<std::string, std::string>& Defaults, int CodePage,
                     TMemoryBuild& Build) {
    std::vector<std::pair<std::string, std::string>> Lines;
    if (!ReadStrTexts(Path, CodePage, TranslatedAttributeCount, Lines, Build.Problems))
        return;
    ++Build.Files;
    const std::string Origin = FileNamePart(Path);
    const int AnsiCodePage = SystemAnsiCodePage();
    for (const auto& [Name, Text] : Lines) {
        const auto Default = Defaults.find(Name);
        // An untranslated item keeps the default text: it teaches nothing.
        if (Default == Defaults.end() || Text.empty() || Text == Default->second)
            continue;
        Build.Memory.Add({DecodeBytes(Default->second, AnsiCodePage), DecodeBytes(Text, CodePage),
                          Origin, Name});
    }
}

void AddTmxFile(const std::string& Path, const QStringList& Tags, TMemoryBuild& Build) {
    QFile File(QString::fromStdString(Path));
    if (!File.open(QIODevice::ReadOnly)) {
        Build.Problems.push_back(LocatedMessage(
            "Cannot read the translation memory: " + File.errorString().toStdString(), Path, 0));
        return;
    }
    const TTmxRead Read = ReadTmx(File.readAll(), Path, Tags);
    if (!Read.Error.empty()) {
        Build.Problems.push_back(Read.Error); // a damaged file gives nothing: it may be cut off
        return;
    }
    ++Build.Files;
    const std::string Origin = FileNamePart(Path);
    for (const TTmxUnit& Unit : Read.Units)
        Build.Memory.Add({Unit.Source, Unit.Target, Origin, {}});
}

} // namespace

TMemoryBuild BuildTranslationMemory(const std::string& ProgramDir,
                                    const std::string& LanguageCode) {
    TMemoryBuild Build;
    const std::string Code = UpperCase(LanguageCode);
    if (Code.empty())
        return Build;
    const int CodePage = CodePageForLanguageCharset(CharsetOfLanguage(Code), Code);
    // Default file texts by kind, read once each when a file of the kind is there.
    std::unordered_map<std::string, std::string> Defaults[2];
    bool DefaultsRead[2] = {false, false};
    const std::string LanguageDir = ProgramDir + "Language/";
    for (const std::string& Name : FilesIn(LanguageDir, IsLanguageFile, Code)) {
        const int Kind = ExamineFileName(Name).Kind == fkUser ? 1 : 0;
        if (!DefaultsRead[Kind]) {
            DefaultsRead[Kind] = true;
            std::vector<std::pair<std::string, std::string>> Lines;
            ReadStrTexts(ProgramDir + "Default/" + (Kind ? UserDefaultName : MainDefaultName),
                         SystemAnsiCodePage(), DefaultAttributeCount, Lines, Build.Problems);
            for (auto& [ItemName, Text] : Lines)
                Defaults[Kind].emplace(std::move(ItemName), std::move(Text));
        }
        if (!Defaults[Kind].empty())
            AddLanguageFile(LanguageDir + Name, Defaults[Kind], CodePage, Build);
    }
    const QStringList Tags = TmxLanguageTags(Code);
    if (Tags.isEmpty())
        return Build;
    const std::string MemoryDir = ProgramDir + "Memory/";
    for (const std::string& Name : FilesIn(MemoryDir, IsTmxFile, Code))
        AddTmxFile(MemoryDir + Name, Tags, Build);
    return Build;
}

} // namespace kav
