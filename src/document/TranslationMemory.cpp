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
#include <deque>
#include <filesystem>
#include <string_view>
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
template <class A_, class B_> int WordDistance(const A_& A, const B_& B) {
    const qsizetype N = qsizetype(A.size()), M = qsizetype(B.size());
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
template <class A_, class B_>
int ScoreOf(const QString& Text, const QString& Candidate, const A_& FoldedA, const B_& FoldedB) {
    if (Text == Candidate)
        return ExactScore;
    const qsizetype Longer = std::max(qsizetype(FoldedA.size()), qsizetype(FoldedB.size()));
    if (Longer == 0)
        return 0; // punctuation only, and not the same
    if (std::equal(FoldedA.begin(), FoldedA.end(), FoldedB.begin(), FoldedB.end())) {
        if (Text.toCaseFolded() == Candidate.toCaseFolded())
            return 99;
        return WordsOf(Text, false) == WordsOf(Candidate, false) ? 98 : 97;
    }
    const int D = WordDistance(FoldedA, FoldedB);
    return std::min(96, static_cast<int>(100 * (Longer - D) / Longer));
}

// A stored text's word ids as a range the scoring templates take.
struct TWordRange {
    const int* First;
    const int* Last;
    const int* begin() const { return First; }
    const int* end() const { return Last; }
    size_t size() const { return size_t(Last - First); }
    int operator[](size_t I) const { return First[I]; }
};

size_t KeyOf(const int* Words, size_t Count) {
    return qHashRange(Words, Words + Count);
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

void TTranslationMemory::Reserve(int More, size_t Characters) {
    const size_t Wanted = FStored.size() + size_t(std::max(More, 0));
    FStored.reserve(Wanted);
    FEntries.reserve(Wanted);
    FNextByWords.reserve(Wanted);
    FNextBySource.reserve(Wanted);
    FNextByPair.reserve(Wanted);
    for (TChains* Chains : {&FByWords, &FBySource, &FByPair})
        Chains->reserve(qsizetype(Wanted));
    FTexts.reserve(FTexts.size() + Characters);
}

QStringView TTranslationMemory::Source(int Index) const {
    const TStored& S = FStored[size_t(Index)];
    return QStringView(FTexts.data() + S.Source, qsizetype(S.SourceLength));
}

QStringView TTranslationMemory::Target(int Index) const {
    const TStored& S = FStored[size_t(Index)];
    return QStringView(FTexts.data() + S.Target, qsizetype(S.TargetLength));
}

const std::string& TTranslationMemory::Origin(int Index) const {
    return FOrigins[FStored[size_t(Index)].Origin];
}

TMemoryPair TTranslationMemory::Pair(int Index) const {
    const TStored& S = FStored[size_t(Index)];
    return {Source(Index).toString(), Target(Index).toString(), Origin(Index),
            FNames.substr(S.Name, S.NameLength)};
}

unsigned TTranslationMemory::OriginNumber(const std::string& Origin) {
    // The pairs of one file come one after another: the last origin is nearly always theirs.
    if (!FOrigins.empty() && FOrigins.back() == Origin)
        return unsigned(FOrigins.size() - 1);
    const auto Known = std::find(FOrigins.begin(), FOrigins.end(), Origin);
    if (Known != FOrigins.end())
        return unsigned(Known - FOrigins.begin());
    FOrigins.push_back(Origin);
    return unsigned(FOrigins.size() - 1);
}

unsigned TTranslationMemory::Append(const QString& Text) {
    const auto At = unsigned(FTexts.size());
    FTexts.append(reinterpret_cast<const char16_t*>(Text.utf16()), size_t(Text.size()));
    return At;
}

namespace {

// Text case-folded into Folded, which keeps its room from call to call; false, with Folded
// untouched, for a text beyond ASCII. Most English texts are ASCII, and folding them here
// spares Qt's general folding (a new string and a table lookup a character).
bool FoldedAscii(const QString& Text, std::u16string& Folded) {
    const char16_t* From = reinterpret_cast<const char16_t*>(Text.utf16());
    const size_t Size = size_t(Text.size());
    if (std::any_of(From, From + Size, [](char16_t C) { return C >= 0x80; }))
        return false;
    Folded.resize(Size);
    std::transform(From, From + Size, Folded.begin(),
                   [](char16_t C) { return C >= u'A' && C <= u'Z' ? char16_t(C + 32) : C; });
    return true;
}

// Calls Visit with each word of Text, case-folded, as a view. The text is folded once; a text
// whose folding changes its length (a rare special case) has each word folded on its own.
template <class F> void ForEachFoldedWord(const QString& Text, F Visit) {
    thread_local std::u16string Ascii;
    QString Folded;
    std::u16string_view All;
    if (FoldedAscii(Text, Ascii)) {
        All = Ascii;
    } else {
        Folded = Text.toCaseFolded();
        All = {reinterpret_cast<const char16_t*>(Folded.utf16()), size_t(Folded.size())};
    }
    const bool Aligned = All.size() == size_t(Text.size());
    for (const TTextSpan& Span : WordSpans(Text)) {
        if (Aligned) {
            Visit(All.substr(size_t(Span.Start), size_t(Span.Length)));
            continue;
        }
        const QString Own = Text.mid(Span.Start, Span.Length).toCaseFolded();
        Visit(std::u16string_view(reinterpret_cast<const char16_t*>(Own.utf16()),
                                  static_cast<size_t>(Own.size())));
    }
}

} // namespace

TTranslationMemory::TWords TTranslationMemory::IdsOf(const QString& Text) const {
    TWords Ids;
    ForEachFoldedWord(Text, [&](std::u16string_view Word) {
        const auto At = FWordIds.find(Word);
        Ids.push_back(At == FWordIds.end() ? NoWord : At->second);
    });
    return Ids;
}

void TTranslationMemory::Intern(const QString& Text, TEntry& Entry) {
    Entry.From = unsigned(FWordPool.size());
    ForEachFoldedWord(Text, [&](std::u16string_view Word) {
        auto At = FWordIds.find(Word);
        if (At == FWordIds.end()) {
            At = FWordIds.emplace(FWordTexts.emplace_back(Word), int(FByWord.size())).first;
            FByWord.emplace_back();
        }
        FWordPool.push_back(At->second);
    });
    Entry.Count = unsigned(FWordPool.size() - Entry.From);
}

bool TTranslationMemory::SameWords(const TEntry& Entry, const TWords& Words) const {
    return std::equal(WordsAt(Entry), WordsAt(Entry) + Entry.Count, Words.begin(), Words.end());
}

void TTranslationMemory::Chain(TChains& Chains, std::vector<int>& Next, size_t Key, int Index) {
    Next.push_back(-1);
    TChain& C = Chains[Key];
    if (C.First < 0)
        C.First = Index;
    else
        Next[size_t(C.Last)] = Index;
    C.Last = Index;
}

int TTranslationMemory::FirstWithSource(const QString& English) const {
    for (int I = FirstOf(FBySource, qHash(English)); I >= 0; I = FNextBySource[size_t(I)])
        if (Source(I) == English)
            return I;
    return -1;
}

void TTranslationMemory::Add(TMemoryPair Pair) {
    if (Pair.Source.isEmpty() || Pair.Target.isEmpty())
        return;
    const size_t PairKey = qHashMulti(0, Pair.Source, Pair.Target);
    for (int Same = FirstOf(FByPair, PairKey); Same >= 0; Same = FNextByPair[size_t(Same)])
        if (Source(Same) == Pair.Source && Target(Same) == Pair.Target)
            return;
    const int Index = Count();
    TEntry Entry;
    Intern(Pair.Source, Entry);
    Chain(FBySource, FNextBySource, qHash(Pair.Source), Index);
    Chain(FByWords, FNextByWords, KeyOf(WordsAt(Entry), Entry.Count), Index);
    Chain(FByPair, FNextByPair, PairKey, Index);
    std::vector<int> Distinct(WordsAt(Entry), WordsAt(Entry) + Entry.Count);
    std::sort(Distinct.begin(), Distinct.end());
    Distinct.erase(std::unique(Distinct.begin(), Distinct.end()), Distinct.end());
    for (const int Word : Distinct)
        FByWord[size_t(Word)].push_back(Index);
    TStored Stored;
    Stored.Source = Append(Pair.Source);
    Stored.SourceLength = unsigned(Pair.Source.size());
    Stored.Target = Append(Pair.Target);
    Stored.TargetLength = unsigned(Pair.Target.size());
    Stored.Name = unsigned(FNames.size());
    Stored.NameLength = unsigned(Pair.Name.size());
    FNames += Pair.Name;
    Stored.Origin = OriginNumber(Pair.Origin);
    FStored.push_back(Stored);
    FEntries.push_back(Entry);
}

// A pair reaching MinScore against n query words differs from them in at most
// max(n, m) * (100 - MinScore) / 100 words, so it holds at least t = n * MinScore / 100 of them
// (rounded up). It then holds one of any n - t + 1 of the query's words: the rarest ones are
// looked up, and the common words ("the", "file") never are unless the query is short.
std::vector<int> TTranslationMemory::Candidates(const TWords& Words, int MinScore) const {
    const qsizetype N = qsizetype(Words.size());
    const qsizetype Needed = (N * MinScore + 99) / 100;
    std::vector<std::pair<size_t, int>> ByRarity;
    for (const int Word : Words)
        ByRarity.emplace_back(Word == NoWord ? 0 : FByWord[size_t(Word)].size(), Word);
    std::sort(ByRarity.begin(), ByRarity.end());
    std::vector<int> Found;
    std::vector<int> Seen;
    for (qsizetype I = 0; I < N - Needed + 1 && I < N; ++I) {
        const int Word = ByRarity[size_t(I)].second;
        if (Word == NoWord || std::find(Seen.begin(), Seen.end(), Word) != Seen.end())
            continue;
        Seen.push_back(Word);
        const std::vector<int>& Hit = FByWord[size_t(Word)];
        Found.insert(Found.end(), Hit.begin(), Hit.end());
    }
    std::sort(Found.begin(), Found.end());
    Found.erase(std::unique(Found.begin(), Found.end()), Found.end());
    return Found;
}

std::vector<TMemoryMatch> TTranslationMemory::Lookup(const QString& English, int Limit,
                                                     int MinScore) const {
    const TWords Words = IdsOf(English);
    std::vector<int> Pairs;
    if (Words.empty()) { // nothing but the same text can match
        for (int I = FirstWithSource(English); I >= 0; I = FNextBySource[size_t(I)])
            if (Source(I) == English)
                Pairs.push_back(I);
    } else if (MinScore >= 97) {
        for (int I = FirstOf(FByWords, KeyOf(Words.data(), Words.size())); I >= 0;
             I = FNextByWords[size_t(I)])
            if (SameWords(FEntries[size_t(I)], Words))
                Pairs.push_back(I);
    } else {
        Pairs = Candidates(Words, MinScore);
    }
    std::vector<TMemoryMatch> Matches;
    for (int Index : Pairs) {
        const TEntry& Entry = FEntries[static_cast<size_t>(Index)];
        const qsizetype N = qsizetype(Words.size()), M = qsizetype(Entry.Count);
        // At least |n - m| words differ.
        if (100 * std::abs(N - M) > (100 - MinScore) * std::max(N, M))
            continue;
        const TWordRange Stored{WordsAt(Entry), WordsAt(Entry) + Entry.Count};
        // The stored English as a string that borrows the pool for the comparison.
        const QStringView Candidate = Source(Index);
        const int Score = ScoreOf(English, QString::fromRawData(Candidate.data(), Candidate.size()),
                                  Words, Stored);
        if (Score >= MinScore)
            Matches.push_back({Index, Score});
    }
    std::stable_sort(Matches.begin(), Matches.end(),
                     [](const TMemoryMatch& A, const TMemoryMatch& B) {
                         return A.Score != B.Score ? A.Score > B.Score : A.Pair < B.Pair;
                     });
    std::vector<TMemoryMatch> Best;
    std::vector<QStringView> Targets;
    for (const TMemoryMatch& Match : Matches) {
        if (static_cast<int>(Best.size()) >= Limit)
            break;
        const QStringView Translation = Target(Match.Pair);
        if (std::find(Targets.begin(), Targets.end(), Translation) != Targets.end())
            continue;
        Targets.push_back(Translation);
        Best.push_back(Match);
    }
    return Best;
}

QString TTranslationMemory::ExactTranslation(const QString& English) const {
    const int First = FirstWithSource(English);
    return First < 0 ? QString() : Target(First).toString();
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

// The item lines of an STR file, name and text in the order of the file, as views of its bytes
// (a line the reader could not keep in its buffer is copied aside): a 100 000-item file is not
// copied line by line.
struct TStrTexts {
    TFileBytes Bytes;
    std::deque<std::string> Copies;
    std::vector<std::pair<std::string_view, std::string_view>> Lines;
};

// False with a problem naming the file (and line) when it cannot be read whole; Texts then
// holds the lines read before.
bool ReadStrTexts(const std::string& Path, int CodePage, int Attributes, TStrTexts& Texts,
                  std::vector<std::string>& Problems) {
    StrLineReader Reader(CodePage);
    if (const int Status = Reader.OpenWhole(Path); Status != 0) {
        Problems.push_back(IoStatusMessage(Status, Path));
        return false;
    }
    const auto Keep = [&](std::string_view Text) {
        return Reader.Holds(Text) ? Text : std::string_view(Texts.Copies.emplace_back(Text));
    };
    std::string_view Line;
    while (Reader.NextLine(Line)) {
        if (!IsItemLine(Line, CodePage))
            continue;
        if (Texts.Lines.empty())
            Texts.Lines.reserve(Reader.LineEndsAhead() + 1);
        const StrItemView Item = ParseItemView(Line, Attributes, CodePage);
        Texts.Lines.emplace_back(Keep(Item.Name), Keep(Item.Text));
    }
    Texts.Bytes = Reader.TakeBuffer();
    if (std::string Failure = Reader.FailureMessage(Path); !Failure.empty()) {
        Problems.push_back(Failure);
        return false;
    }
    return true;
}

// A default file's texts by item name, the first line of a name winning.
struct TDefaultTexts {
    TStrTexts File;
    std::unordered_map<std::string_view, std::string_view> ByName;
};

void ReadDefaultTexts(const std::string& Path, TDefaultTexts& Defaults,
                      std::vector<std::string>& Problems) {
    ReadStrTexts(Path, SystemAnsiCodePage(), DefaultAttributeCount, Defaults.File, Problems);
    Defaults.ByName.reserve(Defaults.File.Lines.size());
    for (const auto& [Name, Text] : Defaults.File.Lines)
        Defaults.ByName.emplace(Name, Text);
}

void AddLanguageFile(const std::string& Path, const TDefaultTexts& Defaults, int CodePage,
                     const std::stop_token& Stop, TMemoryBuild& Build) {
    TStrTexts File;
    if (!ReadStrTexts(Path, CodePage, TranslatedAttributeCount, File, Build.Problems))
        return;
    ++Build.Files;
    // At most a character a byte of both files; room reserved and not used is never touched.
    Build.Memory.Reserve(static_cast<int>(File.Lines.size()),
                         File.Bytes.size() + Defaults.File.Bytes.size());
    const std::string Origin = FileNamePart(Path);
    const int AnsiCodePage = SystemAnsiCodePage();
    for (const auto& [Name, Text] : File.Lines) {
        if (Stop.stop_requested())
            return;
        const auto Default = Defaults.ByName.find(Name);
        // An untranslated item keeps the default text: it teaches nothing.
        if (Default == Defaults.ByName.end() || Text.empty() || Text == Default->second)
            continue;
        Build.Memory.Add({DecodeBytes(Default->second, AnsiCodePage), DecodeBytes(Text, CodePage),
                          Origin, std::string(Name)});
    }
}

void AddOpenFile(const TOpenFileTexts& Open, int CodePage, const std::stop_token& Stop,
                 TMemoryBuild& Build) {
    ++Build.Files;
    Build.Memory.Reserve(static_cast<int>(Open.Count()), Open.Bytes());
    const std::string Origin = FileNamePart(Open.Path());
    const int AnsiCodePage = SystemAnsiCodePage();
    for (size_t I = 0; I < Open.Count() && !Stop.stop_requested(); ++I) {
        const std::string_view Default = Open.Default(I), Text = Open.Translation(I);
        if (Default.empty() || Text.empty() || Text == Default)
            continue;
        Build.Memory.Add({DecodeBytes(Default, AnsiCodePage), DecodeBytes(Text, CodePage), Origin,
                          std::string(Open.Name(I))});
    }
}

bool IsFileOf(const TOpenFileTexts* Open, const std::string& Path) {
    std::error_code Error;
    return Open && fs::equivalent(Open->Path(), Path, Error);
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

void TOpenFileTexts::Reserve(size_t Items, size_t Bytes) {
    FEnds.reserve(3 * Items);
    FBytes.reserve(Bytes);
}

void TOpenFileTexts::Add(std::string_view Name, std::string_view Default,
                         std::string_view Translation) {
    for (const std::string_view Text : {Name, Default, Translation}) {
        FBytes += Text;
        FEnds.push_back(unsigned(FBytes.size()));
    }
}

std::string_view TOpenFileTexts::Field(size_t At) const {
    const size_t From = At == 0 ? 0 : FEnds[At - 1];
    return std::string_view(FBytes).substr(From, FEnds[At] - From);
}

TMemoryBuild BuildTranslationMemory(const std::string& ProgramDir, const std::string& LanguageCode,
                                    const TOpenFileTexts* Open, std::stop_token Stop) {
    TMemoryBuild Build;
    const std::string Code = UpperCase(LanguageCode);
    if (Code.empty())
        return Build;
    const int CodePage = CodePageForLanguageCharset(CharsetOfLanguage(Code), Code);
    // Default file texts by kind, read once each when a file of the kind is there.
    TDefaultTexts Defaults[2];
    bool DefaultsRead[2] = {false, false};
    const std::string LanguageDir = ProgramDir + "Language/";
    for (const std::string& Name : FilesIn(LanguageDir, IsLanguageFile, Code)) {
        if (Stop.stop_requested())
            return Build;
        if (IsFileOf(Open, LanguageDir + Name)) {
            AddOpenFile(*Open, CodePage, Stop, Build);
            continue;
        }
        const int Kind = ExamineFileName(Name).Kind == fkUser ? 1 : 0;
        if (!DefaultsRead[Kind]) {
            DefaultsRead[Kind] = true;
            ReadDefaultTexts(ProgramDir + "Default/" + (Kind ? UserDefaultName : MainDefaultName),
                             Defaults[Kind], Build.Problems);
        }
        if (!Defaults[Kind].ByName.empty())
            AddLanguageFile(LanguageDir + Name, Defaults[Kind], CodePage, Stop, Build);
    }
    const QStringList Tags = TmxLanguageTags(Code);
    if (Tags.isEmpty())
        return Build;
    const std::string MemoryDir = ProgramDir + "Memory/";
    for (const std::string& Name : FilesIn(MemoryDir, IsTmxFile, Code))
        if (!Stop.stop_requested())
            AddTmxFile(MemoryDir + Name, Tags, Build);
    return Build;
}

} // namespace kav
