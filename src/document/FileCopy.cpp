#include "document/FileCopy.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace kav {

namespace {

bool SameLetter(char A, char B) {
    return std::toupper(static_cast<unsigned char>(A)) ==
           std::toupper(static_cast<unsigned char>(B));
}

bool IsTemporary(const std::string& Name) {
    return Name.find(".kavtmp.") != std::string::npos;
}

} // namespace

bool MatchesMask(const std::string& Name, const std::string& Mask) {
    // "*.*" matches every name, with or without a dot, as on the platform the masks come from.
    if (Mask == "*.*" || Mask == "*")
        return true;
    size_t N = 0, M = 0, StarM = std::string::npos, StarN = 0;
    while (N < Name.size()) {
        if (M < Mask.size() && (Mask[M] == '?' || SameLetter(Mask[M], Name[N]))) {
            ++N;
            ++M;
        } else if (M < Mask.size() && Mask[M] == '*') {
            StarM = M++;
            StarN = N;
        } else if (StarM != std::string::npos) {
            M = StarM + 1;
            N = ++StarN;
        } else {
            return false;
        }
    }
    while (M < Mask.size() && Mask[M] == '*')
        ++M;
    return M == Mask.size();
}

bool EnsureFolder(const std::string& Dir) {
    std::error_code Ec;
    if (fs::is_directory(Dir, Ec))
        return true;
    return fs::create_directory(Dir, Ec) && !Ec;
}

std::string CopyMatchingFiles(const std::string& Mask, const std::string& SourceDir,
                              const std::string& TargetDir) {
    std::error_code Ec;
    fs::directory_iterator It(SourceDir, Ec);
    if (Ec)
        return "Cannot read the folder " + SourceDir + ": " + Ec.message();
    for (const fs::directory_entry& Entry : It) {
        std::string Name = Entry.path().filename().string();
        if (!Entry.is_regular_file(Ec) || IsTemporary(Name) || !MatchesMask(Name, Mask))
            continue;
        fs::path Target = fs::path(TargetDir) / Name;
        if (fs::equivalent(Entry.path(), Target, Ec))
            continue;
        fs::copy_file(Entry.path(), Target, fs::copy_options::overwrite_existing, Ec);
        if (Ec)
            return "Cannot copy " + Entry.path().string() + " to " + Target.string() + ": " +
                   Ec.message();
    }
    return {};
}

} // namespace kav
