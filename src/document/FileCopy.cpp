#include "document/FileCopy.h"

#include "text/StringUtils.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace kav {

namespace {

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
        if (M < Mask.size() && (Mask[M] == '?' || SameLetterIgnoringCase(Mask[M], Name[N]))) {
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

std::string CopyOneFile(const std::string& Source, const std::string& Target) {
    std::error_code Ec;
    if (fs::exists(Target, Ec) && fs::equivalent(Source, Target, Ec))
        return {};
    fs::copy_file(Source, Target, fs::copy_options::overwrite_existing, Ec);
    if (Ec)
        return "Cannot copy " + Source + " to " + Target + ": " + Ec.message();
    return {};
}

std::vector<std::string> CopyMatchingFiles(const std::string& Mask, const std::string& SourceDir,
                                           const std::string& TargetDir) {
    std::vector<std::string> Problems;
    std::error_code Ec;
    fs::directory_iterator It(SourceDir.empty() ? std::string(".") : SourceDir, Ec);
    if (Ec)
        return {"Cannot read the folder " + SourceDir + ": " + Ec.message()};
    for (; It != fs::directory_iterator() && !Ec; It.increment(Ec)) {
        const fs::directory_entry& Entry = *It;
        std::string Name = Entry.path().filename().string();
        std::error_code Kind;
        if (!Entry.is_regular_file(Kind) || IsTemporary(Name) || !MatchesMask(Name, Mask))
            continue;
        if (std::string Problem =
                CopyOneFile(Entry.path().string(), (fs::path(TargetDir) / Name).string());
            !Problem.empty())
            Problems.push_back(std::move(Problem));
    }
    if (Ec)
        Problems.push_back("Cannot read the folder " + SourceDir + ": " + Ec.message());
    return Problems;
}

} // namespace kav
