#include "document/FileCopy.h"

#include "text/StringUtils.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kav {

namespace {

bool IsTemporary(const std::string& Name) {
    return Name.find(".kavtmp.") != std::string::npos;
}

// Closes a descriptor when its scope ends.
struct TFd {
    int Fd = -1;
    explicit TFd(int F) : Fd(F) {}
    ~TFd() {
        if (Fd >= 0)
            ::close(Fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
};

// Errors the kernel's copy calls give when they cannot copy between these two files at all
// (another file system on an older kernel, a file system without support): the next way is
// tried from where the copy stands.
bool CopyCallRefused(int Errno) {
    return Errno == EXDEV || Errno == EINVAL || Errno == ENOSYS || Errno == EOPNOTSUPP ||
           Errno == ENOTSUP || Errno == EBADF || Errno == EPERM;
}

// Copies with one of the kernel's copy calls until the end: 0 when done, an errno when it
// failed, -1 when the call cannot copy between these two files (the next way then goes on from
// where the copy stands). Started tells whether any bytes were copied yet.
template <class TCall> int CopyThrough(TCall Call, bool& Started) {
    for (;;) {
        const ssize_t Done = Call();
        if (Done > 0) {
            Started = true;
            continue;
        }
        // A file system that reports no size (a virtual one) gives 0 at once: read it instead.
        if (Done == 0 && Started)
            return 0;
        if (Done < 0 && errno == EINTR)
            continue;
        if (Done < 0 && !CopyCallRefused(errno))
            return errno;
        return -1;
    }
}

// Both descriptors at their present offsets; returns 0 or an errno. The backups copy files of
// many megabytes on every save: copy_file_range (or sendfile) keeps the bytes inside the
// kernel instead of passing them through our memory.
int CopyBytes(int In, int Out) {
    constexpr size_t Chunk = size_t(1) << 30;
    bool Started = false;
    int Result = CopyThrough([&] { return ::copy_file_range(In, nullptr, Out, nullptr, Chunk, 0); },
                             Started);
    if (Result < 0)
        Result = CopyThrough([&] { return ::sendfile(Out, In, nullptr, Chunk); }, Started);
    if (Result >= 0)
        return Result;
    std::vector<char> Buffer(size_t(1) << 20);
    for (;;) {
        const ssize_t Got = ::read(In, Buffer.data(), Buffer.size());
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got < 0)
            return errno;
        if (Got == 0)
            return 0;
        for (ssize_t Put = 0; Put < Got;) {
            const ssize_t Wrote = ::write(Out, Buffer.data() + Put, static_cast<size_t>(Got - Put));
            if (Wrote < 0 && errno == EINTR)
                continue;
            if (Wrote <= 0)
                return Wrote < 0 ? errno : EIO;
            Put += Wrote;
        }
    }
}

// Source's bytes into Target, created with Source's permissions or truncated; 0 or an errno.
int CopyFileBytes(const std::string& Source, const std::string& Target) {
    TFd In(::open(Source.c_str(), O_RDONLY | O_CLOEXEC));
    if (In.Fd < 0)
        return errno;
    struct stat Info {};
    if (::fstat(In.Fd, &Info) != 0)
        return errno;
    if (!S_ISREG(Info.st_mode))
        return ENOTSUP;
    TFd Out(::open(Target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, Info.st_mode & 07777));
    if (Out.Fd < 0)
        return errno;
    if (::fchmod(Out.Fd, Info.st_mode & 07777) != 0)
        return errno;
    if (const int Problem = CopyBytes(In.Fd, Out.Fd); Problem != 0)
        return Problem;
    const int Closed = ::close(Out.Fd);
    Out.Fd = -1;
    return Closed == 0 ? 0 : errno;
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
    if (const int Problem = CopyFileBytes(Source, Target); Problem != 0)
        return "Cannot copy " + Source + " to " + Target + ": " +
               std::error_code(Problem, std::generic_category()).message();
    return {};
}

std::vector<std::string> CopyMatchingFiles(const std::string& Mask, const std::string& SourceDir,
                                           const std::string& TargetDir,
                                           const std::string& Except) {
    std::vector<std::string> Problems;
    std::error_code Ec;
    fs::directory_iterator It(SourceDir.empty() ? std::string(".") : SourceDir, Ec);
    if (Ec)
        return {"Cannot read the folder " + SourceDir + ": " + Ec.message()};
    for (; It != fs::directory_iterator() && !Ec; It.increment(Ec)) {
        const fs::directory_entry& Entry = *It;
        std::string Name = Entry.path().filename().string();
        std::error_code Kind;
        if (!Entry.is_regular_file(Kind) || IsTemporary(Name) || !MatchesMask(Name, Mask) ||
            (!Except.empty() && Name == Except))
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
