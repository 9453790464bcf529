#include "document/FileIdentity.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>

namespace kav {

namespace {

// Empty when the file cannot be read to its end.
std::string HashOf(const std::string& Path) {
    QFile File(QString::fromStdString(Path));
    if (!File.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash Hash(QCryptographicHash::Sha256);
    if (!Hash.addData(&File) || !File.atEnd())
        return {};
    return Hash.result().toHex().toStdString();
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
