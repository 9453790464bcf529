#include "document/FileCopy.h"

#include "document/StrFile.h"
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

std::string FolderOf(const std::string& Path) {
    const size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? std::string("./") : Path.substr(0, Slash + 1);
}

} // namespace

int CopyFileChecked(const std::string& Source, const std::string& Target,
                    const std::function<int(const std::string&)>& Check) {
    TFd In(::open(Source.c_str(), O_RDONLY | O_CLOEXEC));
    if (In.Fd < 0)
        return errno;
    struct stat Info {};
    if (::fstat(In.Fd, &Info) != 0)
        return errno;
    if (!S_ISREG(Info.st_mode))
        return ENOTSUP;
    const auto Fill = [&](int Out) {
        if (const int Problem = CopyBytes(In.Fd, Out); Problem != 0)
            return Problem;
        // A copy cut short without an error (the source shrank meanwhile, a device that lies)
        // is as incomplete as one cut short by a full disk. A file system that reports no size
        // for its files (a virtual one) is taken at its word.
        struct stat Written {};
        if (::fstat(Out, &Written) != 0)
            return errno;
        return Info.st_size == 0 || Written.st_size == Info.st_size ? 0 : EIO;
    };
    return WriteAtomically(Target, Info.st_mode & 07777, Fill, Check);
}

namespace {

std::string CopyMessage(const std::string& Source, const std::string& Target, int Problem) {
    return "Cannot copy " + Source + " to " + Target + ": " +
           std::error_code(Problem, std::generic_category()).message();
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
    if (!fs::create_directory(Dir, Ec) || Ec)
        return false;
    std::string Path = Dir;
    while (Path.size() > 1 && Path.back() == '/')
        Path.pop_back();
    SyncFolder(FolderOf(Path));
    return true;
}

int WriteAtomically(const std::string& Target, unsigned Mode, const std::function<int(int)>& Fill,
                    const std::function<int(const std::string&)>& Check) {
    std::string Temp = TempFilePrefix(Target) + "XXXXXX";
    std::vector<char> Name(Temp.begin(), Temp.end());
    Name.push_back('\0');
    TFd Out(::mkostemp(Name.data(), O_CLOEXEC));
    if (Out.Fd < 0)
        return errno;
    Temp.assign(Name.data());
    IStrWriteHook* Hook = StrWriteHook();
    const auto Step = [&](TWriteStep At) { return Hook ? Hook->AtStep(At, Temp, Target) : 0; };
    int Problem = ::fchmod(Out.Fd, static_cast<mode_t>(Mode & 07777)) == 0 ? 0 : errno;
    if (Problem == 0)
        Problem = Step(TWriteStep::Created);
    if (Problem == 0)
        Problem = Fill(Out.Fd);
    if (Problem == 0)
        Problem = Step(TWriteStep::Written);
    if (Problem == 0 && ::fsync(Out.Fd) != 0)
        Problem = errno;
    if (Problem == 0) {
        const int Closed = ::close(Out.Fd);
        Out.Fd = -1;
        Problem = Closed == 0 ? 0 : errno;
    }
    if (Problem == 0)
        Problem = Step(TWriteStep::Synced);
    if (Problem == 0 && Check)
        Problem = Check(Temp);
    if (Problem == 0 && Hook) {
        Hook->BeforeRename(Temp, Target);
        Problem = Step(TWriteStep::BeforeRename);
    }
    if (Problem == 0 && ::rename(Temp.c_str(), Target.c_str()) != 0)
        Problem = errno;
    if (Problem != 0) {
        ::unlink(Temp.c_str());
        return Problem;
    }
    if (Hook)
        Hook->AtStep(TWriteStep::Renamed, Temp, Target);
    return SyncFolder(FolderOf(Target));
}

std::string WriteFileAtomically(const std::string& Target, std::string_view Bytes) {
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    const auto Fill = [Bytes](int Fd) {
        for (std::string_view Rest = Bytes; !Rest.empty();) {
            const ssize_t Wrote = ::write(Fd, Rest.data(), Rest.size());
            if (Wrote < 0 && errno == EINTR)
                continue;
            if (Wrote <= 0)
                return Wrote < 0 ? errno : EIO;
            Rest.remove_prefix(static_cast<size_t>(Wrote));
        }
        return 0;
    };
    if (const int Problem = WriteAtomically(Target, 0666 & ~Mask, Fill); Problem != 0)
        return "Cannot write " + Target + ": " +
               std::error_code(Problem, std::generic_category()).message();
    return {};
}

namespace {

std::string CopyUnlessSame(const std::string& Source, const std::string& Target) {
    std::error_code Ec;
    if (fs::exists(Target, Ec) && fs::equivalent(Source, Target, Ec))
        return {};
    if (const int Problem = CopyFileChecked(Source, Target, {}); Problem != 0)
        return CopyMessage(Source, Target, Problem);
    return {};
}

} // namespace

std::string CopyOneFile(const std::string& Source, const std::string& Target) {
    // What a copy killed before its rename left behind.
    RemoveStaleTempFiles(FolderOf(Target));
    return CopyUnlessSame(Source, Target);
}

std::vector<std::string> CopyMatchingFiles(const std::string& Mask, const std::string& SourceDir,
                                           const std::string& TargetDir,
                                           const std::string& Except) {
    std::vector<std::string> Problems;
    std::error_code Ec;
    fs::directory_iterator It(SourceDir.empty() ? std::string(".") : SourceDir, Ec);
    if (Ec)
        return {"Cannot read the folder " + SourceDir + ": " + Ec.message()};
    RemoveStaleTempFiles(TargetDir);
    for (; It != fs::directory_iterator() && !Ec; It.increment(Ec)) {
        const fs::directory_entry& Entry = *It;
        std::string Name = Entry.path().filename().string();
        std::error_code Kind;
        if (!Entry.is_regular_file(Kind) || IsTemporary(Name) || !MatchesMask(Name, Mask) ||
            (!Except.empty() && Name == Except))
            continue;
        if (std::string Problem =
                CopyUnlessSame(Entry.path().string(), (fs::path(TargetDir) / Name).string());
            !Problem.empty())
            Problems.push_back(std::move(Problem));
    }
    if (Ec)
        Problems.push_back("Cannot read the folder " + SourceDir + ": " + Ec.message());
    return Problems;
}

} // namespace kav
