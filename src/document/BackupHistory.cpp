#include "document/BackupHistory.h"

#include "document/FileCopy.h"
#include "document/StrFile.h"
#include "text/StringUtils.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

namespace kav {

namespace {

// A version kept before the history had a folder per document.
const std::regex& OlderVersionName() {
    static const std::regex Pattern(R"(^(.+)\.(\d{8}-\d{6})(-(\d{1,6}))?$)");
    return Pattern;
}

const std::regex& VersionName() {
    static const std::regex Pattern(R"(^(.+)\.v(\d{6,18})\.(\d{8}-\d{6})Z\.(\d{1,19})$)");
    return Pattern;
}

constexpr const char* FolderNoteName = "Folder.txt";

std::string UtcStamp() {
    const std::time_t Now = std::time(nullptr);
    std::tm Utc{};
    gmtime_r(&Now, &Utc);
    char Text[32];
    std::strftime(Text, sizeof Text, "%Y%m%d-%H%M%S", &Utc);
    return Text;
}

// The local time of a UTC stamp, in the same form.
std::string LocalStamp(const std::string& Utc) {
    std::tm Time{};
    Time.tm_year = std::stoi(Utc.substr(0, 4)) - 1900;
    Time.tm_mon = std::stoi(Utc.substr(4, 2)) - 1;
    Time.tm_mday = std::stoi(Utc.substr(6, 2));
    Time.tm_hour = std::stoi(Utc.substr(9, 2));
    Time.tm_min = std::stoi(Utc.substr(11, 2));
    Time.tm_sec = std::stoi(Utc.substr(13, 2));
    const std::time_t When = timegm(&Time);
    std::tm Local{};
    localtime_r(&When, &Local);
    char Text[32];
    std::strftime(Text, sizeof Text, "%Y%m%d-%H%M%S", &Local);
    return Text;
}

// The number of an older version within its second: 1 for the first, N for "-N".
long StampNumber(const std::string& Stamp) {
    return Stamp.size() > 16 ? std::stol(Stamp.substr(16)) : 1;
}

// Newer first: by sequence, so that every version of the present form comes before the older
// ones, and those by their stamp's time, then by their number within that second.
bool Newer(const THistoryEntry& A, const THistoryEntry& B) {
    if (A.Sequence != B.Sequence)
        return A.Sequence > B.Sequence;
    return std::make_pair(A.Stamp.substr(0, 15), StampNumber(A.Stamp)) >
           std::make_pair(B.Stamp.substr(0, 15), StampNumber(B.Stamp));
}

bool SameBytes(const std::string& A, const std::string& B) {
    std::error_code Ec, Other;
    const auto Size = fs::file_size(A, Ec);
    if (!Ec && Size != fs::file_size(B, Other) && !Other)
        return false;
    std::ifstream First(A, std::ios::binary), Second(B, std::ios::binary);
    if (!First || !Second)
        return false;
    // Block by block: a byte-wise walk over two files of many megabytes is slow.
    std::vector<char> X(1 << 20), Y(1 << 20);
    for (;;) {
        First.read(X.data(), static_cast<std::streamsize>(X.size()));
        Second.read(Y.data(), static_cast<std::streamsize>(Y.size()));
        const std::streamsize Got = First.gcount();
        if (Got != Second.gcount() || !std::equal(X.begin(), X.begin() + Got, Y.begin()))
            return false;
        if (Got < static_cast<std::streamsize>(X.size()))
            return First.eof() && Second.eof();
    }
}

// Name -> text of every item of a file, the first occurrence of a name winning.
bool ReadItems(const std::string& Path, int AttributeCount,
               std::vector<std::pair<std::string, std::string>>& Items) {
    StrLineReader Reader;
    if (Reader.Open(Path) != 0)
        return false;
    std::string Line;
    while (Reader.ReadLine(Line))
        if (IsItemLine(Line)) {
            StrItemLine Item = ParseItemLine(Line, AttributeCount);
            Items.emplace_back(std::move(Item.Name), std::move(Item.Text));
        }
    return Reader.Close() == 0;
}

// The older versions were copied in place: one cut short by a crash or a full disk ends
// inside a line, while every language file ends with a line end (or an end-of-file mark).
bool OlderVersionComplete(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary | std::ios::ate);
    if (!In || In.tellg() <= 0)
        return false;
    In.seekg(-1, std::ios::end);
    const int Last = In.get();
    return Last == '\n' || Last == 0x1A;
}

std::string ReadFolderNote(const std::string& Dir) {
    std::ifstream In(Dir + FolderNoteName, std::ios::binary);
    std::string Folder;
    std::getline(In, Folder);
    return Folder;
}

// The absolute folder of File, links in it resolved, without a final "/" (but for "/").
std::string AbsoluteFolder(const std::string& File) {
    std::error_code Ec;
    fs::path Folder = fs::path(File).parent_path();
    if (Folder.empty())
        Folder = ".";
    fs::path Absolute = fs::weakly_canonical(fs::absolute(Folder, Ec), Ec);
    if (Ec)
        Absolute = fs::absolute(Folder, Ec).lexically_normal();
    std::string Text = Absolute.string();
    while (Text.size() > 1 && Text.back() == '/')
        Text.pop_back();
    return Text;
}

// "<last part, letters, digits and ._- only>-<16 hex digits of the FNV-1a hash of Folder>":
// readable, and short whatever the depth of the folder.
std::string FolderKey(const std::string& Folder) {
    std::uint64_t Hash = 14695981039346656037ull;
    for (const char C : Folder) {
        Hash ^= static_cast<unsigned char>(C);
        Hash *= 1099511628211ull;
    }
    std::string Part = fs::path(Folder).filename().string();
    std::string Key;
    for (const char C : Part.substr(0, 40))
        Key += std::isalnum(static_cast<unsigned char>(C)) || C == '.' || C == '_' || C == '-'
                   ? C
                   : '_';
    if (Key.empty() || Key.front() == '.')
        Key.insert(0, "root");
    char Hex[17];
    std::snprintf(Hex, sizeof Hex, "%016llx", static_cast<unsigned long long>(Hash));
    return Key + "-" + Hex;
}

// The sub-folder holding Folder's versions: the first of "<key>", "<key>-2" ... that is
// missing, or names Folder in its note, or has no note yet (made by a save that died before
// writing it).
std::string FindDocumentFolder(const std::string& HistoryDir, const std::string& Folder) {
    const std::string Key = FolderKey(Folder);
    for (int Try = 1;; ++Try) {
        const std::string Dir = HistoryDir + Key + (Try > 1 ? "-" + std::to_string(Try) : "") + "/";
        std::error_code Ec;
        if (Try == 100 || !fs::exists(Dir, Ec))
            return Dir;
        const std::string Note = ReadFolderNote(Dir);
        if (Note.empty() || Note == Folder)
            return Dir;
    }
}

// The versions of FileName (all when empty) in one folder's sub-folder Dir; with Incomplete,
// those cut short too.
void ListVersionsIn(const std::string& Dir, const std::string& FileName, bool Incomplete,
                    std::vector<THistoryEntry>& Entries) {
    const std::string Folder = ReadFolderNote(Dir);
    std::error_code Ec;
    fs::directory_iterator It(Dir, Ec);
    for (; !Ec && It != fs::directory_iterator(); It.increment(Ec)) {
        const std::string Name = It->path().filename().string();
        std::smatch Match;
        std::error_code Kind;
        if (!It->is_regular_file(Kind) || !std::regex_match(Name, Match, VersionName()))
            continue;
        if (!FileName.empty() && Match[1].str() != FileName)
            continue;
        const std::uintmax_t Size = It->file_size(Kind);
        if (!Incomplete && (Kind || std::to_string(Size) != Match[4].str()))
            continue;
        Entries.push_back({It->path().string(), Match[1].str(), LocalStamp(Match[3].str()), Folder,
                           std::stoll(Match[2].str())});
    }
}

// The older versions of FileName (all when empty) directly in HistoryDir.
void ListOlderVersions(const std::string& HistoryDir, const std::string& FileName,
                       std::vector<THistoryEntry>& Entries) {
    std::error_code Ec;
    fs::directory_iterator It(HistoryDir, Ec);
    for (; !Ec && It != fs::directory_iterator(); It.increment(Ec)) {
        const std::string Name = It->path().filename().string();
        std::smatch Match;
        std::error_code Kind;
        if (!It->is_regular_file(Kind) || !std::regex_match(Name, Match, OlderVersionName()))
            continue;
        if ((!FileName.empty() && Match[1].str() != FileName) ||
            !OlderVersionComplete(It->path().string()))
            continue;
        Entries.push_back(
            {It->path().string(), Match[1].str(), Match[2].str() + Match[3].str(), {}, 0});
    }
}

std::vector<std::string> DocumentFolders(const std::string& HistoryDir) {
    std::vector<std::string> Dirs;
    std::error_code Ec;
    fs::directory_iterator It(HistoryDir, Ec);
    for (; !Ec && It != fs::directory_iterator(); It.increment(Ec)) {
        std::error_code Kind;
        if (It->is_directory(Kind))
            Dirs.push_back(It->path().string() + "/");
    }
    return Dirs;
}

// One past the highest sequence of the whole history, versions cut short included: a number
// once given is never given again while its version is there.
long long NextSequence(const std::string& HistoryDir) {
    long long Highest = 0;
    for (const std::string& Dir : DocumentFolders(HistoryDir)) {
        std::vector<THistoryEntry> All;
        ListVersionsIn(Dir, {}, true, All);
        for (const THistoryEntry& Entry : All)
            Highest = std::max(Highest, Entry.Sequence);
    }
    return Highest + 1;
}

std::string Padded(long long Number) {
    std::string Text = std::to_string(Number);
    return std::string(Text.size() < 6 ? 6 - Text.size() : 0, '0') + Text;
}

// Makes Dir the sub-folder of Folder: created, its note written (atomically, as everything
// the history writes).
std::string PrepareDocumentFolder(const std::string& Dir, const std::string& Folder) {
    if (!EnsureFolder(Dir))
        return "Cannot create " + Dir;
    if (ReadFolderNote(Dir) == Folder)
        return {};
    return WriteFileAtomically(Dir + FolderNoteName, Folder + "\n");
}

// Removes the versions of Name in Dir beyond the newest HistoryDepth complete ones, never
// Kept; versions cut short are not counted, and stay for whoever wants their bytes.
void Prune(const std::string& Dir, const std::string& Name, const std::string& Kept) {
    std::vector<THistoryEntry> Versions;
    ListVersionsIn(Dir, Name, false, Versions);
    std::sort(Versions.begin(), Versions.end(), Newer);
    std::error_code Ec;
    for (size_t i = HistoryDepth; i < Versions.size(); ++i)
        if (Versions[i].Path != Kept)
            fs::remove(Versions[i].Path, Ec);
}

} // namespace

std::string HistoryFolder(const std::string& BackupDir) {
    return BackupDir + "History/";
}

std::string DocumentHistoryFolder(const std::string& HistoryDir, const std::string& File) {
    return FindDocumentFolder(HistoryDir, AbsoluteFolder(File));
}

std::vector<THistoryEntry> ListHistory(const std::string& HistoryDir, const std::string& FileName) {
    std::vector<THistoryEntry> Entries;
    for (const std::string& Dir : DocumentFolders(HistoryDir))
        ListVersionsIn(Dir, FileName, false, Entries);
    ListOlderVersions(HistoryDir, FileName, Entries);
    std::sort(Entries.begin(), Entries.end(), Newer);
    return Entries;
}

std::vector<THistoryEntry> ListFileHistory(const std::string& HistoryDir, const std::string& File) {
    const std::string Name = fs::path(File).filename().string();
    std::vector<THistoryEntry> Entries;
    ListVersionsIn(DocumentHistoryFolder(HistoryDir, File), Name, false, Entries);
    ListOlderVersions(HistoryDir, Name, Entries);
    std::sort(Entries.begin(), Entries.end(), Newer);
    return Entries;
}

long long CountItemLines(const std::string& File) {
    StrLineReader Reader;
    if (Reader.Open(File) != 0)
        return -1;
    long long Count = 0;
    std::string_view Line;
    while (Reader.NextLine(Line))
        if (IsItemLine(Line))
            ++Count;
    const bool Whole = Reader.Problem() == StrReadProblem::None;
    return Reader.Close() == 0 && Whole ? Count : -1;
}

std::string KeepInHistory(const std::string& File, const std::string& HistoryDir) {
    if (!EnsureFolder(HistoryDir))
        return "Cannot create " + HistoryDir;
    const std::string Folder = AbsoluteFolder(File);
    const std::string Dir = FindDocumentFolder(HistoryDir, Folder);
    if (std::string Problem = PrepareDocumentFolder(Dir, Folder); !Problem.empty())
        return Problem;
    RemoveStaleTempFiles(Dir);
    const std::vector<THistoryEntry> Versions = ListFileHistory(HistoryDir, File);
    if (!Versions.empty() && SameBytes(Versions.front().Path, File))
        return {};
    std::error_code Ec;
    const std::uintmax_t Size = fs::file_size(File, Ec);
    if (Ec)
        return "Cannot copy " + File + " to " + Dir + ": " + Ec.message();
    const std::string Name = fs::path(File).filename().string();
    const std::string Target = Dir + Name + ".v" + Padded(NextSequence(HistoryDir)) + "." +
                               UtcStamp() + "Z." + std::to_string(Size);
    // The copy becomes a version only once it reads back as the file it copies.
    const long long Items = CountItemLines(File);
    bool Differs = false;
    const auto Check = [&](const std::string& Temp) {
        std::error_code Got;
        Differs = fs::file_size(Temp, Got) != Size || Got || CountItemLines(Temp) != Items;
        return Differs ? EIO : 0;
    };
    if (const int Problem = CopyFileChecked(File, Target, Check); Problem != 0)
        return Differs ? "The version of " + File + " copied to " + Target +
                             " did not read back whole; it was removed."
                       : "Cannot copy " + File + " to " + Target + ": " +
                             std::error_code(Problem, std::generic_category()).message();
    Prune(Dir, Name, Target);
    return {};
}

std::string ShownStamp(const std::string& Stamp) {
    if (Stamp.size() < 15)
        return Stamp;
    return Stamp.substr(0, 4) + "-" + Stamp.substr(4, 2) + "-" + Stamp.substr(6, 2) + " " +
           Stamp.substr(9, 2) + ":" + Stamp.substr(11, 2) + ":" + Stamp.substr(13, 2) +
           Stamp.substr(15);
}

int CountTranslated(const std::string& File, const std::string& DefaultFile) {
    std::vector<std::pair<std::string, std::string>> Defaults, Translated;
    if (!ReadItems(DefaultFile, DefaultAttributeCount, Defaults) ||
        !ReadItems(File, TranslatedAttributeCount, Translated))
        return -1;
    std::unordered_map<std::string, std::string> DefaultText;
    for (auto& [Name, Text] : Defaults)
        DefaultText.emplace(Name, Text);
    int Count = 0;
    for (const auto& [Name, Text] : Translated) {
        auto It = DefaultText.find(Name);
        if (It != DefaultText.end() && !TrimCharSet(Text, TrimChars()).empty() &&
            Text != It->second)
            ++Count;
    }
    return Count;
}

} // namespace kav
