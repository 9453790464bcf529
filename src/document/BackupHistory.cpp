#include "document/BackupHistory.h"

#include "document/FileCopy.h"
#include "document/StrFile.h"
#include "text/StringUtils.h"

#include <algorithm>
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

const std::regex& VersionName() {
    static const std::regex Pattern(R"(^(.+)\.(\d{8}-\d{6})(-(\d{1,6}))?$)");
    return Pattern;
}

std::string NowStamp() {
    const std::time_t Now = std::time(nullptr);
    std::tm Local{};
    localtime_r(&Now, &Local);
    char Text[32];
    std::strftime(Text, sizeof Text, "%Y%m%d-%H%M%S", &Local);
    return Text;
}

// The number of a version within its second: 1 for the first, N for "-N".
long StampNumber(const std::string& Stamp) {
    return Stamp.size() > 16 ? std::stol(Stamp.substr(16)) : 1;
}

// Newer first: by the stamp's time, then by its number within that second.
bool Newer(const THistoryEntry& A, const THistoryEntry& B) {
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

} // namespace

std::string HistoryFolder(const std::string& BackupDir) {
    return BackupDir + "History/";
}

std::vector<THistoryEntry> ListHistory(const std::string& HistoryDir, const std::string& FileName) {
    std::vector<THistoryEntry> Entries;
    std::error_code Ec;
    fs::directory_iterator It(HistoryDir, Ec);
    for (; !Ec && It != fs::directory_iterator(); It.increment(Ec)) {
        const std::string Name = It->path().filename().string();
        std::smatch Match;
        std::error_code Kind;
        if (!It->is_regular_file(Kind) || !std::regex_match(Name, Match, VersionName()))
            continue;
        if (!FileName.empty() && Match[1].str() != FileName)
            continue;
        Entries.push_back({It->path().string(), Match[1].str(), Match[2].str() + Match[3].str()});
    }
    std::sort(Entries.begin(), Entries.end(), Newer);
    return Entries;
}

std::string KeepInHistory(const std::string& File, const std::string& HistoryDir) {
    if (!EnsureFolder(HistoryDir))
        return "Cannot create " + HistoryDir;
    const std::string Name = fs::path(File).filename().string();
    std::vector<THistoryEntry> Versions = ListHistory(HistoryDir, Name);
    if (!Versions.empty() && SameBytes(Versions.front().Path, File))
        return {};
    // Another version of the same second is numbered after the newest one, even when older
    // ones of that second were already removed.
    const std::string Stamp = NowStamp();
    long Number = 0;
    for (const THistoryEntry& Version : Versions)
        if (Version.Stamp.compare(0, Stamp.size(), Stamp) == 0)
            Number = std::max(Number, StampNumber(Version.Stamp));
    std::string Target = HistoryDir + Name + "." + Stamp;
    if (Number > 0)
        Target += "-" + std::to_string(Number + 1);
    std::error_code Ec;
    if (std::string Problem = CopyOneFile(File, Target); !Problem.empty())
        return Problem;
    Versions = ListHistory(HistoryDir, Name);
    for (size_t i = HistoryDepth; i < Versions.size(); ++i)
        fs::remove(Versions[i].Path, Ec);
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
