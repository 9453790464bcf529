#include "document/IoStatus.h"

#include <cerrno>

namespace kav {

int IoStatusFromErrno(int Errno) {
    switch (Errno) {
    case 0:
        return ioOk;
    case ENOENT:
        return ioFileNotFound;
    case ENAMETOOLONG:
    case EINVAL:
    case ENOTDIR:
    case ELOOP:
        return ioInvalidFileName;
    case EMFILE:
    case ENFILE:
        return ioTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return ioAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ioDiskFull;
    default:
        return ioError;
    }
}

std::string_view IoStatusPrefix(int Code) {
    switch (Code) {
    case ioFileNotFound:
        return "File not found: ";
    case ioInvalidFileName:
        return "Invalid file name: ";
    case ioTooManyOpenFiles:
        return "Too many open files: ";
    case ioAccessDenied:
        return "File access denied: ";
    case ioEndOfFile:
        return "End of file : ";
    case ioDiskFull:
        return "Disk Full: ";
    case ioError:
        return "I/O Error: ";
    case ioInvalidInput:
        return "Invalid Input: ";
    default:
        return {};
    }
}

std::string IoStatusMessage(int Code, std::string_view Path) {
    std::string_view Prefix = IoStatusPrefix(Code);
    if (Prefix.empty())
        return {};
    return std::string(Prefix) + std::string(Path);
}

std::string FileAccessErrorMessage(std::string_view Path) {
    return "File access error: " + std::string(Path);
}

} // namespace kav
