#include "document/FileIdentity.h"

#include <QFile>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/stat.h>

namespace kav {

namespace {

// Two 64-bit lanes over the bytes, eight at a time: the hash only tells whether a file whose
// time changed still holds the same bytes (no one forges these files), so it needs to be quick
// on a file of many megabytes, not cryptographic.
class TContentHash {
public:
    void Add(const char* Data, std::size_t Size) {
        std::size_t At = 0;
        for (; At + 8 <= Size; At += 8) {
            std::uint64_t Word;
            std::memcpy(&Word, Data + At, 8);
            Mix(Word);
        }
        std::uint64_t Tail = 0;
        std::memcpy(&Tail, Data + At, Size - At);
        Mix(Tail ^ (static_cast<std::uint64_t>(Size - At) << 56));
        FLength += Size;
    }
    std::string Hex() const {
        char Text[40];
        std::snprintf(Text, sizeof Text, "%016llx%016llx",
                      static_cast<unsigned long long>(Final(FA ^ FLength)),
                      static_cast<unsigned long long>(Final(FB + FLength)));
        return Text;
    }

private:
    void Mix(std::uint64_t Word) {
        FA = (FA ^ Word) * 0x9E3779B97F4A7C15ull;
        FA ^= FA >> 29;
        FB = (FB + Word) * 0xC2B2AE3D27D4EB4Full;
        FB ^= FB >> 31;
    }
    static std::uint64_t Final(std::uint64_t X) {
        X ^= X >> 33;
        X *= 0xFF51AFD7ED558CCDull;
        X ^= X >> 33;
        X *= 0xC4CEB9FE1A85EC53ull;
        return X ^ (X >> 33);
    }
    std::uint64_t FA = 0x243F6A8885A308D3ull;
    std::uint64_t FB = 0x13198A2E03707344ull;
    std::uint64_t FLength = 0;
};

// Empty when the file cannot be read to its end.
std::string HashOf(const std::string& Path) {
    QFile File(QString::fromStdString(Path));
    if (!File.open(QIODevice::ReadOnly))
        return {};
    TContentHash Hash;
    std::vector<char> Buffer(1 << 20);
    for (;;) {
        const qint64 Read = File.read(Buffer.data(), static_cast<qint64>(Buffer.size()));
        if (Read < 0)
            return {};
        if (Read == 0)
            break;
        Hash.Add(Buffer.data(), static_cast<std::size_t>(Read));
    }
    return File.atEnd() ? Hash.Hex() : std::string();
}

bool StatFile(const std::string& Path, struct stat& Info) {
    return ::stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

TFileIdentity FromStat(const struct stat& Info) {
    TFileIdentity Id;
    Id.Exists = true;
    Id.Size = static_cast<std::uint64_t>(Info.st_size);
    Id.ModifiedNs =
        static_cast<std::int64_t>(Info.st_mtim.tv_sec) * 1000000000 + Info.st_mtim.tv_nsec;
    return Id;
}

} // namespace

TFileIdentity IdentifyFile(const std::string& Path) {
    struct stat Info {};
    if (!StatFile(Path, Info))
        return {};
    TFileIdentity Id = FromStat(Info);
    Id.Hash = HashOf(Path);
    return Id;
}

TFileChange CompareFile(const TFileIdentity& Known, const std::string& Path) {
    struct stat Info {};
    if (!StatFile(Path, Info))
        return Known.Exists ? TFileChange::Deleted : TFileChange::Unchanged;
    if (!Known.Exists)
        return TFileChange::Changed;
    const TFileIdentity Now = FromStat(Info);
    if (Now.Size == Known.Size && Now.ModifiedNs == Known.ModifiedNs)
        return TFileChange::Unchanged;
    if (Now.Size != Known.Size || Known.Hash.empty())
        return TFileChange::Changed;
    return HashOf(Path) == Known.Hash ? TFileChange::Unchanged : TFileChange::Changed;
}

} // namespace kav
